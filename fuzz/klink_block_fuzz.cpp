// The K-Link shared section as a watcher reads it. The input fills the
// section's first bytes (the rest stays zero); it is also read at its own
// length, which must be refused unless it is the section's. A block that is
// accepted holds only what a 3D view or mapping can take, and written again
// it reads back to the same values.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "app/klink.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace mok;

template <std::size_t N>
KLinkBlock ReadBack(const std::array<std::uint8_t, N>& block) {
  std::array<std::uint8_t, klink::kSectionSize> section{};
  std::memcpy(section.data(), block.data(), N);
  Result<KLinkBlock> read = ReadKLinkBlock(section);
  if (!read) fuzz::Finding("a written block is refused: " + read.error().message);
  return *read;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void CheckMapping(const KLinkMapping& mapping) {
  for (const UvPair& corner : mapping.corners)
    if (!std::isfinite(corner.u) || !std::isfinite(corner.v)) fuzz::Finding("a corner that is not finite");
  KLinkBlock block = ReadBack(WriteMappingBlock(mapping));
  const auto* again = std::get_if<KLinkMapping>(&block);
  if (!again || again->skinWidth != mapping.skinWidth || again->skinHeight != mapping.skinHeight)
    fuzz::Finding("a mapping block does not read back");
  for (std::size_t k = 0; k < 3; ++k)
    if (!SameBits(again->corners[k].u, mapping.corners[k].u) || !SameBits(again->corners[k].v, mapping.corners[k].v))
      fuzz::Finding("a mapping corner does not read back");
}

void CheckCamera(const CameraState& camera) {
  for (float value : camera.values)
    if (!std::isfinite(value)) fuzz::Finding("a camera value that is not finite");
  KLinkBlock block = ReadBack(WriteCameraBlock(camera));
  const auto* again = std::get_if<CameraState>(&block);
  if (!again) fuzz::Finding("a camera block reads back as another kind");
  for (std::size_t i = 0; i < camera.values.size(); ++i)
    if (!SameBits(again->values[i], camera.values[i])) fuzz::Finding("a camera value does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size != klink::kSectionSize && ReadKLinkBlock({data, size})) fuzz::Finding("a section of another size is read");
  std::array<std::uint8_t, klink::kSectionSize> section{};
  std::memcpy(section.data(), data, std::min(size, section.size()));
  Result<KLinkBlock> block = ReadKLinkBlock(section);
  if (!block) return 0;
  if (const auto* mapping = std::get_if<KLinkMapping>(&*block)) {
    CheckMapping(*mapping);
  } else {
    CheckCamera(std::get<CameraState>(*block));
  }
  return 0;
}
