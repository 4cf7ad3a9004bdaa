#include "tests/skin/image_test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace mok::test {
namespace {

namespace fs = std::filesystem;

std::string ScriptPath() { return std::string(MOK_SOURCE_DIR) + "/tests/skin/pillow_images.py"; }

bool RunScript(const std::string& arguments) {
  std::string command = std::string(MOK_SYSTEM_PYTHON) + " " + ScriptPath() + " " + arguments;
  return std::system(command.c_str()) == 0;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

bool PillowAvailable() {
  static const bool available =
      std::system((std::string(MOK_SYSTEM_PYTHON) + " -c 'import PIL' 2>/dev/null").c_str()) == 0;
  return available;
}

// Removes every scratch folder when the test binary ends.
struct ScratchFolders {
  std::vector<fs::path> made;
  ~ScratchFolders() {
    std::error_code ignored;
    for (const fs::path& folder : made) fs::remove_all(folder, ignored);
  }
};

}  // namespace

std::string ScratchFolder() {
  static ScratchFolders folders;
  fs::path folder = fs::temp_directory_path() /
                    ("mok_codecs_" + std::to_string(::getpid()) + "_" + std::to_string(folders.made.size()));
  fs::create_directories(folder);
  folders.made.push_back(folder);
  return folder.string();
}

const std::string& GeneratedImages() {
  static const std::string folder = [] {
    if (!PillowAvailable()) return std::string();
    std::string made = ScratchFolder();
    return RunScript("generate " + Quoted(made)) ? made : std::string();
  }();
  return folder;
}

bool DumpWithPillow(const std::string& folder, const std::vector<std::string>& files) {
  if (!PillowAvailable()) return false;
  std::string arguments = "dump " + Quoted(folder);
  for (const std::string& file : files) arguments += " " + Quoted(file);
  return RunScript(arguments);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string DumpNameOf(const std::string& path) {
  std::string name = path;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

std::optional<PillowDump> ReadPillowDump(const std::string& folder, const std::string& name) {
  std::string base = folder + "/" + name;
  std::vector<std::uint8_t> rgba = ReadBytes(base + ".rgba");
  if (rgba.size() < 8) return std::nullopt;
  PillowDump dump;
  auto u32 = [&](std::size_t at) {
    return int(rgba[at] | rgba[at + 1] << 8 | rgba[at + 2] << 16 | rgba[at + 3] << 24);
  };
  dump.width = u32(0);
  dump.height = u32(4);
  dump.rgba.assign(rgba.begin() + 8, rgba.end());
  if (fs::exists(base + ".idx")) dump.indices = ReadBytes(base + ".idx");
  return dump;
}

::testing::AssertionResult TexelsMatch(const SkinSlot& image, const PillowDump& dump, bool withAlpha) {
  if (image.width != dump.width || image.height != dump.height) {
    return ::testing::AssertionFailure() << "size " << image.width << "x" << image.height << ", Pillow "
                                         << dump.width << "x" << dump.height;
  }
  std::size_t count = std::size_t(dump.width) * std::size_t(dump.height);
  if (image.pixels.size() != count || dump.rgba.size() != count * 4) {
    return ::testing::AssertionFailure() << "buffer sizes differ";
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = &dump.rgba[i * 4];
    std::uint32_t expected = std::uint32_t(withAlpha ? p[3] : 0) << 24 | p[0] << 16 | p[1] << 8 | p[2];
    if (image.pixels[i] != expected) {
      return ::testing::AssertionFailure() << "texel " << i % dump.width << "," << i / dump.width << " is "
                                           << std::hex << image.pixels[i] << ", expected " << expected;
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult IndicesMatch(const SkinSlot& image, const std::vector<std::uint8_t>& indices) {
  std::size_t count = std::size_t(image.width) * std::size_t(image.height);
  if (indices.size() != count) {
    return ::testing::AssertionFailure() << count << " texels, " << indices.size() << " indices";
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (image.indexed()[i] != indices[i]) {
      return ::testing::AssertionFailure() << "index " << i << " is " << int(image.indexed()[i])
                                           << ", expected " << int(indices[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace mok::test
