// A package script (.uc): its `#exec` lines and the skins they give the
// sample's mesh. Whatever the text, the lines kept stay within their caps and
// in order, and no path a script declares leaves the package.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "core/package_scripts.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace mok;

bool UpperCase(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); });
}

void CheckLines(const std::vector<ExecLine>& lines, std::string_view text) {
  if (lines.size() > package_limits::kMaxExecLines) fuzz::Finding("more lines kept than the cap");
  const long textLines = 1 + std::count(text.begin(), text.end(), '\n');
  int previous = 0;
  for (const ExecLine& line : lines) {
    if (line.line <= previous || line.line > textLines) fuzz::Finding("line numbers out of order or beyond the text");
    previous = line.line;
    if (!UpperCase(line.command)) fuzz::Finding("a command that is not upper case");
    for (const auto& [name, value] : line.params) {
      if (!UpperCase(name)) fuzz::Finding("a parameter name that is not upper case");
      auto parts = PackageRelativeParts(value);
      if (parts && std::any_of(parts->begin(), parts->end(), [](const std::string& part) {
            return part.empty() || part == "." || part == ".." || part.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos;
          }))
        fuzz::Finding("a declared path leaves the package: " + value);
    }
  }
}

// Every declared file "exists" below the package, so the skin search runs to
// its end; each channel appears once and within its range.
void CheckSkins(std::vector<ExecLine> lines) {
  std::vector<PackageScript> scripts{{"Classes/Fuzz.uc", std::move(lines)}};
  ScriptMeshFiles mesh{{"Models/Sampler_d.3d", "Models/Sampler.3d"}, {"Models/Sampler_a.3d"}};
  auto located = [](const std::string& declared) {
    auto parts = PackageRelativeParts(declared);
    if (!parts || parts->empty()) return LocatedFile{std::nullopt, "outside the package"};
    return LocatedFile{declared, ""};
  };
  std::optional<ScriptSkins> skins = FindSkinsInScripts(scripts, "Sampler", mesh, located);
  if (!skins) return;
  int previous = -1;
  for (const ScriptSkin& skin : skins->skins) {
    if (skin.num <= previous || skin.num > package_limits::kMaxChannel) fuzz::Finding("skin channels out of order");
    previous = skin.num;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ExecLine> lines = ReadExecLines(text);
  CheckLines(lines, text);
  CheckSkins(std::move(lines));
  return 0;
}
