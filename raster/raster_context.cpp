#include "raster/raster_context.h"

#include <algorithm>

namespace mok {

void resetEdges(RasterContext& ctx) {
  const int rows = std::clamp(ctx.height, 0, kRasterMaxRows);
  std::fill_n(ctx.leftX.begin(), rows, kEdgeIdleLeft);
  std::fill_n(ctx.rightX.begin(), rows, kEdgeIdleRight);
  ctx.minRow = kEdgeIdleLeft;
  ctx.maxRow = kEdgeIdleRight;
}

}  // namespace mok
