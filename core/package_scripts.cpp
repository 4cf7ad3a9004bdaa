#include "core/package_scripts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <map>
#include <system_error>

#include "core/mesh_names.h"

namespace mok {
namespace fs = std::filesystem;
namespace {

using namespace package_limits;

constexpr std::array<std::string_view, 6> kUsedCommands = {"MESH IMPORT",   "MESH ORIGIN",        "MESHMAP NEW",
                                                           "MESHMAP SCALE", "MESHMAP SETTEXTURE", "TEXTURE IMPORT"};

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == '\0'; }

std::string ToLower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Lower);
  return out;
}

std::string ToUpper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Upper);
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessNoCase(const std::string& a, const std::string& b) {
  std::string la = ToLower(a), lb = ToLower(b);
  return la != lb ? la < lb : a < b;
}

// ---- Comments and lines ---------------------------------------------------

bool StartsExec(std::string_view code) {
  std::size_t at = 0;
  while (at < code.size() && IsSpace(code[at])) ++at;
  std::string_view rest = code.substr(at);
  return rest.size() >= 5 && EqualNoCase(rest.substr(0, 5), "#exec") && (rest.size() == 5 || IsSpace(rest[5]));
}

// One line without its comments; inBlock carries an open `/* */` block from
// line to line. Quoted text ends at its quote or the line's end; in code
// lines apostrophes quote too (name literals), in #exec lines they are
// ordinary characters.
std::string StripComments(std::string_view raw, bool& inBlock) {
  std::string code;
  bool exec = !inBlock && StartsExec(raw);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    char next = i + 1 < raw.size() ? raw[i + 1] : '\0';
    if (inBlock) {
      if (c == '*' && next == '/') {
        inBlock = false;
        code += ' ';
        ++i;
      }
    } else if (c == '"' || (c == '\'' && !exec)) {
      std::size_t close = raw.find(c, i + 1);
      if (close == std::string_view::npos) close = raw.size() - 1;
      code.append(raw.substr(i, close - i + 1));
      i = close;
    } else if (c == '/' && next == '/') {
      break;
    } else if (c == '/' && next == '*') {
      inBlock = true;
      ++i;
    } else {
      code += c;
    }
  }
  return code;
}

// ---- #exec lines ---------------------------------------------------------

class LineScanner {
 public:
  explicit LineScanner(std::string_view text) : text_(text) {}
  bool done() {
    skipSpace();
    return at_ >= text_.size();
  }
  bool take(char c) {
    skipSpace();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  // A quoted value up to its quote (or the end), else a word up to a space or '='.
  std::string word() {
    skipSpace();
    if (at_ < text_.size() && text_[at_] == '"') {
      std::size_t close = text_.find('"', at_ + 1);
      std::size_t end = close == std::string_view::npos ? text_.size() : close;
      std::string value(text_.substr(at_ + 1, end - at_ - 1));
      at_ = close == std::string_view::npos ? end : close + 1;
      return value;
    }
    std::size_t start = at_;
    while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '=') ++at_;
    return std::string(text_.substr(start, at_ - start));
  }

 private:
  void skipSpace() {
    while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
  }
  std::string_view text_;
  std::size_t at_ = 0;
};

// Words before the first parameter make the command; "NAME=VALUE" (spaces
// around '=' allowed) makes a parameter.
std::optional<ExecLine> ParseExecLine(std::string_view code, int lineNumber) {
  if (!StartsExec(code)) return std::nullopt;
  LineScanner scan(code.substr(code.find('#') + 5));
  ExecLine line;
  line.line = lineNumber;
  std::vector<std::string> words;
  while (!scan.done()) {
    std::string word = scan.word();
    if (scan.take('=')) {
      std::string value = scan.word();
      if (!word.empty()) line.params.emplace_back(ToUpper(word), std::move(value));
    } else if (word.empty()) {
      scan.take('"');  // a lone quote: step over it
    } else if (line.params.empty()) {
      words.push_back(ToUpper(word));
    }
  }
  if (words.size() < 2) return std::nullopt;
  line.command = words[0] + " " + words[1];
  if (std::find(kUsedCommands.begin(), kUsedCommands.end(), line.command) == kUsedCommands.end()) return std::nullopt;
  return line;
}

// ---- Finding a mesh's lines ----------------------------------------------

struct Located {
  const PackageScript* script;
  const ExecLine* line;
};

std::vector<Located> LinesOf(const std::vector<PackageScript>& scripts, std::string_view command) {
  std::vector<Located> found;
  for (const PackageScript& script : scripts)
    for (const ExecLine& line : script.lines)
      if (line.command == command) found.push_back({&script, &line});
  return found;
}

std::string ParamOr(const ExecLine& line, std::string_view name) {
  const std::string* value = line.Param(name);
  return value ? *value : std::string();
}

// A path's comparison key: its parts below the package, lower-cased, '/' joined.
std::optional<std::string> PathKey(std::string_view path) {
  auto parts = PackageRelativeParts(path);
  if (!parts || parts->empty()) return std::nullopt;
  std::string key;
  for (const std::string& part : *parts) key += (key.empty() ? "" : "/") + ToLower(part);
  return key;
}

bool NamesFile(const ExecLine& import, std::string_view param, const std::vector<std::string>& files) {
  const std::string* declared = import.Param(param);
  if (!declared) return false;
  auto key = PathKey(*declared);
  return key && std::any_of(files.begin(), files.end(), [&](const std::string& f) { return PathKey(f) == key; });
}

bool ImportsMesh(const ExecLine& import, const ScriptMeshFiles& mesh) {
  return NamesFile(import, "DATAFILE", mesh.dataFiles) || NamesFile(import, "ANIVFILE", mesh.animationFiles);
}

// The mesh's own name and every meshmap a MESHMAP NEW points at it.
std::vector<std::string> MeshmapsOf(const std::vector<PackageScript>& scripts, const std::string& meshName) {
  std::vector<std::string> maps{meshName};
  for (const Located& found : LinesOf(scripts, "MESHMAP NEW"))
    if (EqualNoCase(ParamOr(*found.line, "MESH"), meshName)) maps.push_back(ParamOr(*found.line, "MESHMAP"));
  return maps;
}

bool IsOneOf(const std::string& name, const std::vector<std::string>& names) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return EqualNoCase(n, name); });
}

std::optional<int> ChannelNumber(const std::string& text) {
  if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int num = std::stoi(text);
  if (num > kMaxChannel) return std::nullopt;
  return num;
}

// The file name of a path without folders and extension: the name of a
// TEXTURE IMPORT that gives none.
std::string BaseName(const std::string& path) {
  std::string name = FileNamePart(path);
  std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// Name -> first TEXTURE IMPORT of it (lower-cased keys).
std::map<std::string, const ExecLine*> TextureImports(const std::vector<PackageScript>& scripts) {
  std::map<std::string, const ExecLine*> imports;
  for (const Located& found : LinesOf(scripts, "TEXTURE IMPORT")) {
    const std::string* name = found.line->Param("NAME");
    std::string key = ToLower(name ? *name : BaseName(ParamOr(*found.line, "FILE")));
    if (!key.empty()) imports.emplace(key, found.line);
  }
  return imports;
}

// The texture's name inside this package, or the reason it is not one of ours.
std::pair<std::string, std::string> LocalTextureName(const std::string& texture, std::string_view packageName) {
  std::size_t dot = texture.find('.');
  if (dot == std::string::npos) return {texture, ""};
  std::string package = texture.substr(0, dot);
  if (!EqualNoCase(package, packageName)) return {"", "a texture of the package " + package};
  return {texture.substr(texture.rfind('.') + 1), ""};
}

ScriptSkin ResolveSkin(int num, const std::string& texture, const std::map<std::string, const ExecLine*>& imports,
                       std::string_view packageName, const ScriptFileLocator& locate) {
  ScriptSkin skin;
  skin.num = num;
  skin.texture = texture;
  auto [name, foreign] = LocalTextureName(texture, packageName);
  if (!foreign.empty()) {
    skin.problem = foreign;
    return skin;
  }
  auto import = imports.find(ToLower(name));
  if (import == imports.end()) {
    skin.problem = "no TEXTURE IMPORT in this package";
    return skin;
  }
  skin.declaredFile = ParamOr(*import->second, "FILE");
  LocatedFile located = locate(*skin.declaredFile);
  skin.file = located.path;
  skin.problem = located.path ? "" : located.problem;
  return skin;
}

ScriptParams WithoutParam(const ScriptParams& params, std::string_view name) {
  ScriptParams rest;
  for (const auto& param : params)
    if (param.first != name) rest.push_back(param);
  return rest;
}

// Fills the channels, origin and scale of the mesh named in found.
void CollectMeshLines(const std::vector<PackageScript>& scripts, std::string_view packageName,
                      const ScriptFileLocator& locate, ScriptSkins& found) {
  std::vector<std::string> maps = MeshmapsOf(scripts, found.meshName);
  std::map<int, std::string> textures;  // the first SETTEXTURE of each channel
  for (const Located& set : LinesOf(scripts, "MESHMAP SETTEXTURE")) {
    auto num = ChannelNumber(ParamOr(*set.line, "NUM"));
    const std::string* texture = set.line->Param("TEXTURE");
    if (num && texture && !texture->empty() && IsOneOf(ParamOr(*set.line, "MESHMAP"), maps))
      textures.emplace(*num, *texture);
  }
  auto imports = TextureImports(scripts);
  for (const auto& [num, texture] : textures) found.skins.push_back(ResolveSkin(num, texture, imports, packageName, locate));

  for (const Located& origin : LinesOf(scripts, "MESH ORIGIN"))
    if (found.origin.empty() && EqualNoCase(ParamOr(*origin.line, "MESH"), found.meshName))
      found.origin = WithoutParam(origin.line->params, "MESH");
  for (const Located& scale : LinesOf(scripts, "MESHMAP SCALE"))
    if (found.scale.empty() && IsOneOf(ParamOr(*scale.line, "MESHMAP"), maps))
      found.scale = WithoutParam(scale.line->params, "MESHMAP");
}

// ---- Files on disk ---------------------------------------------------------

bool IsDirectory(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The entry of folder whose name equals name ignoring case: the exact name
// when it exists, else the first such entry in name order.
std::optional<fs::path> EntryNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(folder / name, ec)) return folder / name;
  std::optional<std::string> best;
  fs::directory_iterator it(folder, ec), end;
  for (std::size_t seen = 0; !ec && it != end && seen < kMaxFolderEntries; it.increment(ec), ++seen) {
    std::string entry = it->path().filename().string();
    if (EqualNoCase(entry, name) && (!best || entry < *best)) best = entry;
  }
  if (!best) return std::nullopt;
  return folder / *best;
}

bool StaysInside(const fs::path& file, const fs::path& folder) {
  std::error_code ec;
  fs::path realFile = fs::weakly_canonical(file, ec);
  if (ec) return false;
  fs::path realFolder = fs::weakly_canonical(folder, ec);
  if (ec) return false;
  auto [folderEnd, fileAt] = std::mismatch(realFolder.begin(), realFolder.end(), realFile.begin(), realFile.end());
  return folderEnd == realFolder.end();
}

std::string ReadPrefix(const fs::path& path, std::size_t maxBytes) {
  std::error_code ec;
  std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return {};
  maxBytes = static_cast<std::size_t>(std::min<std::uintmax_t>(size, maxBytes));
  std::ifstream in(path, std::ios::binary);
  std::string text(maxBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(maxBytes));
  text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
  return text;
}

std::vector<fs::path> ScriptFiles(const fs::path& classes) {
  std::vector<fs::path> files;
  std::error_code ec;
  fs::directory_iterator it(classes, ec), end;
  for (std::size_t seen = 0; !ec && it != end && seen < kMaxFolderEntries; it.increment(ec), ++seen) {
    if (EndsWithNoCase(it->path().filename().string(), ".uc") && IsRegularFile(it->path())) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return LessNoCase(a.filename().string(), b.filename().string()); });
  if (files.size() > kMaxScriptFiles) files.resize(kMaxScriptFiles);
  return files;
}

// The mesh's files relative to the package folder, '/' separated.
std::optional<ScriptMeshFiles> MeshFilesBelow(const fs::path& package, const std::string& meshPath) {
  auto names = IdentifyMeshName(meshPath);
  if (!names) return std::nullopt;
  auto relative = [&](const std::string& file) {
    return AbsolutePath(file).lexically_relative(package).generic_string();
  };
  return ScriptMeshFiles{{relative(names->geometry), relative(names->plainGeometry)}, {relative(names->animation)}};
}

}  // namespace

const std::string* ExecLine::Param(std::string_view name) const {
  for (const auto& [key, value] : params)
    if (key == name) return &value;
  return nullptr;
}

std::vector<std::string> ScriptSkins::Missing() const {
  std::vector<std::string> names;
  for (const ScriptSkin& skin : skins)
    if (!skin.file && !IsOneOf(skin.texture, names)) names.push_back(skin.texture);
  return names;
}

std::vector<ExecLine> ReadExecLines(std::string_view text) {
  text = text.substr(0, std::min(text.size(), kMaxScriptBytes));
  std::vector<ExecLine> lines;
  bool inBlock = false;
  int lineNumber = 1;
  for (std::size_t at = 0; at < text.size() && lines.size() < kMaxExecLines; ++lineNumber) {
    std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view raw = text.substr(at, end - at);
    at = end + 1;
    // Without a slash no comment starts or ends here, so a line that does not
    // begin with #exec stays a plain code line: skip the copy.
    if (!inBlock && raw.find('/') == std::string_view::npos && !StartsExec(raw)) continue;
    std::string code = StripComments(raw, inBlock);
    if (auto line = ParseExecLine(code, lineNumber)) lines.push_back(std::move(*line));
  }
  return lines;
}

std::optional<std::vector<std::string>> PackageRelativeParts(std::string_view declared) {
  std::string path(declared);
  std::replace(path.begin(), path.end(), '\\', '/');
  bool drive = path.size() >= 2 && path[1] == ':';
  if (path.empty() || path[0] == '/' || drive || path.find('\0') != std::string::npos) return std::nullopt;
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = std::min(path.find('/', at), path.size());
    std::string part = path.substr(at, end - at);
    at = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (parts.empty()) return std::nullopt;
      parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

std::optional<ScriptSkins> FindSkinsInScripts(const std::vector<PackageScript>& scripts, std::string_view packageName,
                                              const ScriptMeshFiles& mesh, const ScriptFileLocator& locate) {
  std::optional<ScriptSkins> found;
  for (const Located& import : LinesOf(scripts, "MESH IMPORT")) {
    std::string name = ParamOr(*import.line, "MESH");
    if (name.empty() || !ImportsMesh(*import.line, mesh)) continue;
    if (!found) {
      found.emplace();
      found->uc = import.script->path;
      found->meshName = name;
    } else if (!EqualNoCase(name, found->meshName)) {
      found->notes.push_back("The same files are also imported as " + name + " in " +
                             FileNamePart(import.script->path) + " (line " + std::to_string(import.line->line) + ").");
    }
  }
  if (found) CollectMeshLines(scripts, packageName, locate, *found);
  return found;
}

fs::path AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(fs::path(path), ec);
  return (ec ? fs::path(path) : absolute).lexically_normal();
}

std::optional<fs::path> FindPackageFolder(const fs::path& file) {
  fs::path folder = AbsolutePath(file.string()).parent_path();
  for (int level = 0; level < kMaxPackageLevels; ++level) {
    if (auto classes = EntryNoCase(folder, "Classes"); classes && IsDirectory(*classes)) return folder;
    if (!folder.has_relative_path()) break;
    folder = folder.parent_path();
  }
  return std::nullopt;
}

std::vector<PackageScript> ReadPackageScripts(const fs::path& package) {
  std::vector<PackageScript> scripts;
  auto classes = EntryNoCase(package, "Classes");
  if (!classes) return scripts;
  std::size_t budget = kMaxPackageBytes;
  for (const fs::path& file : ScriptFiles(*classes)) {
    if (budget == 0) break;
    std::string text = ReadPrefix(file, std::min(budget, kMaxScriptBytes));
    budget -= text.size();
    scripts.push_back({file.string(), ReadExecLines(text)});
  }
  return scripts;
}

std::optional<fs::path> FindFileNoCase(const fs::path& folder, const std::vector<std::string>& parts) {
  fs::path at = folder;
  for (const std::string& part : parts) {
    auto entry = EntryNoCase(at, part);
    if (!entry) return std::nullopt;
    at = *entry;
  }
  if (parts.empty() || !IsRegularFile(at) || !StaysInside(at, folder)) return std::nullopt;
  return at;
}

LocatedFile LocateInPackage(const fs::path& package, const std::string& declared) {
  auto parts = PackageRelativeParts(declared);
  if (!parts) return {std::nullopt, "the path " + declared + " leaves the package"};
  auto file = FindFileNoCase(package, *parts);
  if (!file) return {std::nullopt, "the file " + declared + " is not in the package"};
  return {file->string(), ""};
}

std::optional<ScriptSkins> FindScriptSkins(const std::string& meshPath) {
  auto package = FindPackageFolder(meshPath);
  if (!package) return std::nullopt;
  auto mesh = MeshFilesBelow(*package, meshPath);
  if (!mesh) return std::nullopt;
  auto locate = [&](const std::string& declared) { return LocateInPackage(*package, declared); };
  auto found = FindSkinsInScripts(ReadPackageScripts(*package), package->filename().string(), *mesh, locate);
  if (found) found->package = package->string();
  return found;
}

}  // namespace mok
