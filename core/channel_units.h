#pragma once
// Work on texture coordinates in channel units (4096 = the whole skin), the
// bracket every size or channel change and the mapping file go through.

#include <functional>

#include "core/mesh_document.h"

namespace mok {

// Runs `change` with the UV table in channel units, the sizes and channels
// before it converting in and those after it converting back:
//   RebuildUvVertices(true); ToChannelUnits(); change();
//   RebuildUvVertices(true); FromChannelUnits(); RebuildUvVertices(true);
// The faces' own coordinates follow the table only after the change.
void WithChannelUnits(MeshDocument& doc, const std::function<void()>& change);

}  // namespace mok
