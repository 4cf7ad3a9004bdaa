// Quake 2 MD2 import: an accepted model installs into a document that keeps
// its invariants and saves as a mesh that loads back.
#include "core/md2_import.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace mok;
  static auto doc = std::make_unique<MeshDocument>();
  static auto scratch = std::make_unique<MeshDocument>();
  Result<Md2Model> model = ReadMd2({data, size});
  if (!model) return 0;
  InstallMd2(*doc, std::move(*model));
  fuzz::CheckInvariants(*doc);
  fuzz::CheckSaveLoadsBack(*doc, *scratch);
  return 0;
}
