// The companion info file (_k.3d), applied to a small mesh when its face
// count matches; the result must save and load back.
#include "core/info_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mok;
  static auto doc = fuzz::SmallDocument();
  static auto scratch = std::make_unique<MeshDocument>();
  Result<ParsedInfoFile> parsed = ParseInfoFile({data, size});
  if (!parsed) return 0;
  fuzz::YesPrompter prompter;
  ApplyInfoFile(*doc, parsed->data, DecideInfoFileUse(*parsed, doc->triangleCount, prompter));
  fuzz::CheckInvariants(*doc);
  fuzz::CheckSaveLoadsBack(*doc, *scratch);
  return 0;
}
