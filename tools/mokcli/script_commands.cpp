// mokcli skins MESH and mokcli script MESH OUT.uc: the package scripts of a
// mesh, read and written.
#include <cstdio>
#include <memory>
#include <string>

#include "app/script_skins.h"
#include "core/script_export.h"
#include "tools/mokcli/cli_support.h"
#include "tools/mokcli/commands.h"

namespace mokcli {
namespace {

// The length of the valid UTF-8 sequence at text[at], or 0.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  return length;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD.
std::string Json(const std::string& text) {
  std::string json = "\"";
  for (std::size_t at = 0; at < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    std::size_t length = Utf8Length(text, at);
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else if (length == 0) {
      json += "\\ufffd";
      length = 1;
    } else {
      json += text.substr(at, length);
    }
    at += length == 0 ? 1 : length;
  }
  return json + "\"";
}

std::string Json(const std::optional<std::string>& text) { return text ? Json(*text) : "null"; }

std::string SkinsJson(const std::optional<mok::ScriptSkins>& found) {
  auto field = [&](const std::string mok::ScriptSkins::*member) {
    return found ? Json(*found.*member) : std::string("null");
  };
  std::string json = "{\"package\": " + field(&mok::ScriptSkins::package) + ", \"uc\": " + field(&mok::ScriptSkins::uc) +
                     ", \"meshName\": " + field(&mok::ScriptSkins::meshName) + ", \"skins\": [";
  const char* separator = "";
  for (const mok::ScriptSkin& skin : found ? found->skins : std::vector<mok::ScriptSkin>{}) {
    json += separator + ("{\"num\": " + std::to_string(skin.num)) + ", \"texture\": " + Json(skin.texture) +
            ", \"file\": " + Json(skin.file) + ", \"declaredFile\": " + Json(skin.declaredFile) + "}";
    separator = ", ";
  }
  json += "], \"missing\": [";
  separator = "";
  for (const std::string& name : found ? found->Missing() : std::vector<std::string>{}) {
    json += separator + Json(name);
    separator = ", ";
  }
  return json + "]}";
}

}  // namespace

int RunSkins(const Arguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: mokcli skins MESH\n");
    return 1;
  }
  std::optional<mok::ScriptSkins> found = mok::FindScriptSkins(args[0]);
  if (!found) std::fprintf(stderr, "%s: %s\n", args[0].c_str(), mok::kNoImportingScriptMessage);
  for (const mok::ScriptSkin& skin : found ? found->skins : std::vector<mok::ScriptSkin>{})
    if (!skin.file) std::fprintf(stderr, "channel %d: %s (%s)\n", skin.num, skin.texture.c_str(), skin.problem.c_str());
  if (found) PrintWarnings(found->notes);
  std::printf("%s\n", SkinsJson(found).c_str());
  return 0;
}

int RunScript(const Arguments& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: mokcli script MESH OUT.uc\n");
    return 1;
  }
  auto doc = std::make_unique<mok::MeshDocument>();
  CliPrompter prompter;
  mok::Result<mok::MeshFileReport> loaded = mok::LoadMeshWithScriptSkins(*doc, args[0], prompter, true);
  if (!loaded) {
    std::fprintf(stderr, "%s: %s\n", args[0].c_str(), loaded.error().message.c_str());
    return 1;
  }
  PrintWarnings(loaded->warnings);
  mok::Result<std::vector<std::string>> written = mok::ExportImportLines(*doc, args[0], args[1]);
  if (!written) {
    std::fprintf(stderr, "%s: %s\n", args[1].c_str(), written.error().message.c_str());
    return 1;
  }
  PrintWarnings(*written);
  return 0;
}

}  // namespace mokcli
