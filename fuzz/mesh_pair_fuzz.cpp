// The raw mesh pair: input = uint32 geometry length (little-endian), the
// geometry file, then the animation file. A loaded mesh must keep the
// document invariants and load back from what a save writes.
#include <cstring>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mok;
  static auto doc = std::make_unique<MeshDocument>();
  static auto scratch = std::make_unique<MeshDocument>();
  if (size < 4) return 0;
  std::uint32_t geometryLength;
  std::memcpy(&geometryLength, data, 4);
  std::span<const std::uint8_t> rest(data + 4, size - 4);
  if (geometryLength > rest.size()) return 0;
  fuzz::YesPrompter prompter;
  MeshFileBytes files{rest.first(geometryLength), rest.subspan(geometryLength), std::nullopt};
  if (!LoadMeshFromBytes(*doc, files, prompter)) return 0;
  fuzz::CheckInvariants(*doc);
  fuzz::CheckSaveLoadsBack(*doc, *scratch);
  return 0;
}
