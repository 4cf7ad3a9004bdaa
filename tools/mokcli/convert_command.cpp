// mokcli convert IN OUT
#include <cstdio>
#include <memory>
#include <string>

#include "core/mesh_names.h"
#include "image/image_codecs.h"
#include "tools/mokcli/cli_support.h"
#include "tools/mokcli/commands.h"

namespace mokcli {
namespace {

// Any accepted mesh name in, the three mesh files out.
int ConvertMesh(const std::string& in, const std::string& out) {
  auto doc = std::make_unique<mok::MeshDocument>();
  if (!LoadMeshForCli(*doc, in)) return 1;
  return SaveMeshForCli(*doc, out) ? 0 : 1;
}

bool IsMeshName(const std::string& name) { return mok::IdentifyMeshName(name).has_value(); }

// Any readable image in; a 24-bit BMP or 32-bit TGA out, by OUT's ending.
int ConvertImage(const std::string& in, const std::string& out) {
  mok::Status converted = mok::ConvertImageFile(in, out);
  if (!converted) {
    std::fprintf(stderr, "%s\n", converted.error().message.c_str());
    return 1;
  }
  return 0;
}

// Whatever no other converter takes is tried as an image; the image reader
// names the file and says why when it is none.
bool IsAnythingElse(const std::string&) { return true; }

// The kinds of input convert understands, tried in order; the first whose
// test accepts the input name converts it.
struct Converter {
  bool (*accepts)(const std::string& in);
  int (*convert)(const std::string& in, const std::string& out);
};

constexpr Converter kConverters[] = {
    {IsMeshName, ConvertMesh},
    {IsMd2File, ConvertMd2},
    {IsAnythingElse, ConvertImage},  // keep last
};

}  // namespace

int RunConvert(const Arguments& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: mokcli convert IN OUT\n");
    return 1;
  }
  for (const Converter& converter : kConverters)
    if (converter.accepts(args[0])) return converter.convert(args[0], args[1]);
  std::fprintf(stderr, "%s: %s\n", args[0].c_str(), "not a file mokcli can convert");
  return 1;
}

}  // namespace mokcli
