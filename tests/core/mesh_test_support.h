#pragma once
// Helpers for the mesh file tests: temporary folders, hand-built geometry and
// animation files, and the scripted prompter.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_writer.h"
#include "core/file_io.h"
#include "core/mesh_document.h"
#include "core/prompter.h"
#include "core/refresh.h"
#include "tests/support/refresh_recorder.h"
#include "tests/support/scripted_prompter.h"

namespace mok::test {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mok-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) { return ReadWholeFile(path).bytes; }

struct TestFace {
  std::uint16_t vertex[3] = {0, 1, 2};
  std::uint8_t type = 0;
  std::uint8_t color = 0;
  std::uint8_t uv[6] = {0, 0, 0, 0, 0, 0};
  std::uint8_t textureNum = 0;
  std::uint8_t flags = 0;
};

inline std::vector<std::uint8_t> GeometryFile(int faceCount, int vertexCount, const std::vector<TestFace>& faces) {
  ByteWriter out;
  out.u16(static_cast<std::uint16_t>(faceCount));
  out.u16(static_cast<std::uint16_t>(vertexCount));
  out.zeros(44);
  for (const TestFace& f : faces) {
    for (std::uint16_t v : f.vertex) out.u16(v);
    out.u8(f.type);
    out.u8(f.color);
    out.raw(f.uv, 6);
    out.u8(f.textureNum);
    out.u8(f.flags);
  }
  return out.bytes();
}

// An animation file with the given header and 32-bit words after it.
inline std::vector<std::uint8_t> AnimationFile(int frameCount, int frameSize, const std::vector<std::uint32_t>& words) {
  ByteWriter out;
  out.u16(static_cast<std::uint16_t>(frameCount));
  out.u16(static_cast<std::uint16_t>(frameSize));
  for (std::uint32_t w : words) out.u32(w);
  return out.bytes();
}

}  // namespace mok::test
