#include "core/channel_units.h"

namespace mok {

void WithChannelUnits(MeshDocument& doc, const std::function<void()>& change) {
  doc.RebuildUvVertices(true);
  doc.ToChannelUnits();
  change();
  doc.RebuildUvVertices(true);
  doc.FromChannelUnits();
  doc.RebuildUvVertices(true);
}

}  // namespace mok
