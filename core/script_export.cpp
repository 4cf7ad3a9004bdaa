#include "core/script_export.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <system_error>

#include "core/file_io.h"
#include "core/mesh_names.h"

namespace mok {
namespace fs = std::filesystem;
namespace {

const ScriptParams kDefaultOrigin = {{"X", "0"}, {"Y", "0"}, {"Z", "0"}};
const ScriptParams kDefaultScale = {{"X", "0.1"}, {"Y", "0.1"}, {"Z", "0.2"}};

// A name the script compiler accepts: letters, digits and '_', not starting
// with a digit.
std::string Identifier(const std::string& text) {
  std::string name;
  for (char c : text) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) name = "T" + name;
  return name;
}

// A value as the reader takes it back: quoted when it is empty or holds a
// space or a comment opener.
std::string Quoted(const std::string& value) {
  bool plain = !value.empty() && value.find_first_of(" \t") == std::string::npos &&
               value.find("//") == std::string::npos && value.find("/*") == std::string::npos;
  return plain ? value : "\"" + value + "\"";
}

std::string ParamText(const ScriptParams& params) {
  std::string text;
  for (const auto& [name, value] : params) text += " " + name + "=" + Quoted(value);
  return text;
}

// The file's path below the package with '\' separators, or nothing when it
// lies outside.
std::optional<std::string> ScriptPath(const fs::path& file, const fs::path& package) {
  std::error_code fileError, packageError;
  fs::path realFile = fs::weakly_canonical(file, fileError);
  fs::path relative = realFile.lexically_relative(fs::weakly_canonical(package, packageError));
  std::string text = relative.generic_string();
  if (fileError || packageError || text.empty() || text == ".." || text.starts_with("../")) return std::nullopt;
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

std::string StemOf(const std::string& path) {
  std::string name = FileNamePart(path);
  return name.substr(0, name.rfind('.'));
}

std::string MeshNameOf(const std::string& meshPath, const ScriptSkins* source) {
  if (source) return source->meshName;
  return Identifier(FileNamePart(MeshBaseName(meshPath).value_or(meshPath)));
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

// The name the scripts gave the channel's texture when it is still the same
// file; the texture part of a "Package.Group.Name".
std::optional<std::string> SourceTextureName(const ScriptSkins* source, int channel, const std::string& file) {
  if (!source) return std::nullopt;
  for (const ScriptSkin& skin : source->skins)
    if (skin.num == channel && skin.file && SameFile(*skin.file, file))
      return skin.texture.substr(skin.texture.rfind('.') + 1);
  return std::nullopt;
}

// Texture names for the skin files: one name per file, no name for two files.
class TextureNames {
 public:
  // Returns the name and whether its TEXTURE IMPORT is still to be written.
  std::pair<std::string, bool> NameFor(const std::string& relativeFile, std::string wanted, int channel) {
    if (auto known = byFile_.find(relativeFile); known != byFile_.end()) return {known->second, false};
    std::string key = Lower(wanted);
    if (taken_.count(key)) wanted += "_" + std::to_string(channel);
    taken_.insert(Lower(wanted));
    byFile_[relativeFile] = wanted;
    return {wanted, true};
  }

 private:
  static std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  }
  std::map<std::string, std::string> byFile_;
  std::set<std::string> taken_;
};

void AddSkinLines(const MeshDocument& doc, const fs::path& package, const ScriptSkins* source, ImportLines& out) {
  TextureNames names;
  std::vector<std::string> setLines;
  int channels = std::min(doc.slotCount(), package_limits::kMaxChannel + 1);
  for (int channel = 0; channel < channels; ++channel) {
    const SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(channel)];
    if (slot.isEmpty || !slot.hasFile || slot.filePath.empty()) continue;
    std::optional<std::string> file = ScriptPath(slot.filePath, package);
    if (!file) {
      out.warnings.push_back("channel " + std::to_string(channel) + ": " + slot.filePath +
                             " lies outside the package folder and was left out.");
      continue;
    }
    std::string wanted = SourceTextureName(source, channel, slot.filePath).value_or(Identifier(StemOf(*file)));
    auto [texture, isNew] = names.NameFor(*file, wanted, channel);
    if (isNew) out.lines.push_back("#exec TEXTURE IMPORT NAME=" + Quoted(texture) + " FILE=" + Quoted(*file) + " GROUP=Skins");
    setLines.push_back("#exec MESHMAP SETTEXTURE MESHMAP=" + Quoted(out.meshName) + " NUM=" + std::to_string(channel) +
                       " TEXTURE=" + Quoted(texture));
  }
  out.lines.insert(out.lines.end(), setLines.begin(), setLines.end());
}

fs::path PackageFor(const std::string& meshPath, const std::string& out) {
  fs::path folder = AbsolutePath(out).parent_path();
  std::string name = folder.filename().string();
  if (name.size() == 7 && EndsWithNoCase(name, "classes")) return folder.parent_path();
  return FindPackageFolder(meshPath).value_or(fs::path());
}

// The position right after the line that ends the class declaration, or 0.
std::size_t AfterClassDeclaration(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t start = text.find_first_not_of(" \t", at);
    std::size_t end = std::min(text.find('\n', at), text.size());
    if (start < end && end - start > 6 && EndsWithNoCase(text.substr(start, 6), "class ")) {
      std::size_t semicolon = text.find(';', start);
      if (semicolon == std::string::npos) return 0;
      return std::min(text.find('\n', semicolon), text.size() - 1) + 1;
    }
    at = end + 1;
  }
  return 0;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string ClassFileText(const std::string& out, const std::string& lines) {
  std::string name = Identifier(StemOf(out));
  std::string rule(77, '=');
  return "//" + rule + "\n// " + name + ".\n//" + rule + "\nclass " + name + " extends Decoration;\n\n" + lines;
}

}  // namespace

Result<ImportLines> BuildImportLines(const MeshDocument& doc, const std::string& meshPath, const fs::path& package,
                                     const ScriptSkins* source) {
  auto names = IdentifyMeshName(meshPath);
  if (!names) return Error{kIdentifyMessage, meshPath};
  auto data = ScriptPath(names->geometry, package);
  auto animation = ScriptPath(names->animation, package);
  if (!data || !animation) return Error{kMeshOutsidePackageMessage, meshPath};
  ImportLines out;
  out.meshName = MeshNameOf(meshPath, source);
  std::string mesh = Quoted(out.meshName);
  out.lines.push_back("#exec MESH IMPORT MESH=" + mesh + " ANIVFILE=" + Quoted(*animation) + " DATAFILE=" + Quoted(*data) +
                      " X=0 Y=0 Z=0");
  const ScriptParams& origin = source && !source->origin.empty() ? source->origin : kDefaultOrigin;
  const ScriptParams& scale = source && !source->scale.empty() ? source->scale : kDefaultScale;
  out.lines.push_back("#exec MESH ORIGIN MESH=" + mesh + ParamText(origin));
  out.lines.push_back("#exec MESHMAP NEW MESHMAP=" + mesh + " MESH=" + mesh);
  out.lines.push_back("#exec MESHMAP SCALE MESHMAP=" + mesh + ParamText(scale));
  AddSkinLines(doc, package, source, out);
  return out;
}

Result<std::vector<std::string>> ExportImportLines(const MeshDocument& doc, const std::string& meshPath,
                                                   const std::string& out) {
  fs::path package = PackageFor(meshPath, out);
  if (package.empty()) return Error{kNoPackageMessage, out};
  std::optional<ScriptSkins> source = FindScriptSkins(meshPath);
  Result<ImportLines> built = BuildImportLines(doc, meshPath, package, source ? &*source : nullptr);
  if (!built) return built.error();
  std::string lines = JoinLines(built->lines);
  std::string text;
  if (CanOpenForReading(out)) {
    FileReadResult existing = ReadWholeFile(out, package_limits::kMaxScriptBytes);
    if (!existing.ok()) return Error{kScriptWriteFailedMessage, out};
    text.assign(existing.bytes.begin(), existing.bytes.end());
    std::size_t at = AfterClassDeclaration(text);
    text.insert(at, (at ? "\n" : "") + lines + "\n");
  } else {
    text = ClassFileText(out, lines);
  }
  std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  if (WriteFileAtomically(out, bytes) != FileErrorCause::None) return Error{kScriptWriteFailedMessage, out};
  return built->warnings;
}

}  // namespace mok
