// The raw mesh pair: input = uint32 geometry length (little-endian), the
// geometry file, then the animation file. A loaded mesh must keep the
// document invariants and load back from what a save writes.
//
// Inputs that declare more than kMaxFuzzedFrames frames are skipped: every
// frame runs the same decode, and the frame-count limits have their own tests,
// but a few 65 535-frame inputs would otherwise take most of the run.
#include <cstring>

#include "fuzz/fuzz_support.h"

namespace {

constexpr unsigned kMaxFuzzedFrames = 4096;

// The animation file's frame count: its first 16-bit little-endian word.
unsigned DeclaredFrameCount(std::span<const std::uint8_t> animation) {
  return animation.size() < 2 ? 0 : animation[0] | unsigned{animation[1]} << 8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mok;
  static auto doc = std::make_unique<MeshDocument>();
  static auto scratch = std::make_unique<MeshDocument>();
  if (size < 4) return 0;
  std::uint32_t geometryLength;
  std::memcpy(&geometryLength, data, 4);
  std::span<const std::uint8_t> rest(data + 4, size - 4);
  if (geometryLength > rest.size()) return 0;
  if (DeclaredFrameCount(rest.subspan(geometryLength)) > kMaxFuzzedFrames) return 0;
  fuzz::YesPrompter prompter;
  MeshFileBytes files{rest.first(geometryLength), rest.subspan(geometryLength), std::nullopt};
  if (!LoadMeshFromBytes(*doc, files, prompter)) return 0;
  fuzz::CheckInvariants(*doc);
  fuzz::CheckSaveLoadsBack(*doc, *scratch);
  return 0;
}
