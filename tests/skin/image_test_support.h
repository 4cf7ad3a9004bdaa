#pragma once
// Helpers for the image codec tests: Pillow as the reference decoder, temp
// folders, and texel comparisons.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/skin_slot.h"

namespace mok::test {

inline constexpr const char* kSkinList =
    "skins must be 8-bit or 24-bit PCX, 8/24/32-bit BMP or 16/24/32-bit TGA";
inline constexpr const char* kPhongList = "phong maps must be 8-bit PCX or 8-bit BMP";

// Pillow's decoding of one file, as written by pillow_images.py.
struct PillowDump {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;     // top row first
  std::vector<std::uint8_t> indices;  // empty when the file has none
};

// A fresh folder under the system temp folder, removed at exit.
std::string ScratchFolder();

// The folder with every image pillow_images.py generates, with their dumps;
// made once per test run. Empty when /usr/bin/python3 with Pillow is absent.
const std::string& GeneratedImages();

// Runs pillow_images.py dump on the files into folder; false on failure.
// Each dump is named DumpNameOf(its path).
bool DumpWithPillow(const std::string& folder, const std::vector<std::string>& files);
std::string DumpNameOf(const std::string& path);

// The dump called name (a generated image's file name, or DumpNameOf).
std::optional<PillowDump> ReadPillowDump(const std::string& folder, const std::string& name);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Every texel's red, green and blue equal the dump's; X equals the dump's
// alpha when withAlpha, else 0.
::testing::AssertionResult TexelsMatch(const SkinSlot& image, const PillowDump& dump, bool withAlpha);

// The first width*height bytes of an indexed image equal the indices.
::testing::AssertionResult IndicesMatch(const SkinSlot& image, const std::vector<std::uint8_t>& indices);

}  // namespace mok::test
