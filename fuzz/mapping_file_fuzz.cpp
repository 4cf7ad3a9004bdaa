// The mapping exchange file (.mkmp) applied to a small mesh; the first byte
// chooses the import options. An accepted file must leave a document whose
// own mapping file is accepted again.
#include "core/mapping_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mok;
  static auto doc = fuzz::SmallDocument();
  if (size < 1) return 0;
  MkmpImportOptions options;
  options.importUvs = data[0] & 1;
  options.importTypeFlags = data[0] & 2;
  options.importChannels = data[0] & 4;
  options.selectedOnly = data[0] & 8;
  doc->triangles[3].state = kFaceSelected;
  if (!ApplyMappingFile(*doc, {data + 1, size - 1}, options)) return 0;
  fuzz::CheckInvariants(*doc);
  std::vector<std::uint8_t> again = BuildMappingFile(*doc);
  if (!ApplyMappingFile(*doc, again, MkmpImportOptions{})) fuzz::Finding("an exported mapping is refused");
  fuzz::CheckInvariants(*doc);
  return 0;
}
