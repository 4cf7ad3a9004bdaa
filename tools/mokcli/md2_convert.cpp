// mokcli convert with an MD2 model as IN: imported, then saved as the three
// Unreal mesh files named by OUT.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/md2_import.h"
#include "core/mesh_names.h"
#include "tools/mokcli/cli_support.h"
#include "tools/mokcli/commands.h"

namespace mokcli {

// An MD2 by its magic, or by its name: a file called .md2 that the MD2 reader
// refuses is best explained by that reader.
bool IsMd2File(const std::string& path) {
  if (mok::EndsWithNoCase(path, mok::md2_text::kExtension)) return true;
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;  // a FIFO would block the open
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  in.read(magic, sizeof magic);
  return in.gcount() == sizeof magic && std::equal(magic, magic + 4, mok::md2_layout::kMagic);
}

int ConvertMd2(const std::string& in, const std::string& out) {
  auto doc = std::make_unique<mok::MeshDocument>();
  mok::Status imported = mok::ImportMd2(*doc, in);
  if (!imported) {
    std::fprintf(stderr, "%s: %s\n", in.c_str(), imported.error().message.c_str());
    return 1;
  }
  return SaveMeshForCli(*doc, out) ? 0 : 1;
}

}  // namespace mokcli
