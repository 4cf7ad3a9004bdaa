#pragma once
// Helpers for the skin and map command tests: an application with a small
// mesh on the scripted prompter.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/prompter.h"
#include "core/settings.h"
#include "app/skin_dialogs.h"
#include "tests/core/mesh_test_support.h"

namespace mok::test {

// An application whose document holds the faces added with AddFace, with the
// 16 placeholder slots of a fresh load (32 x 32, cells of 4 texels).
class SkinFixture : public ::testing::Test {
 protected:
  MeshDocument& doc() { return app.doc(); }

  // A face on the channel with the three corners in texels.
  void AddFace(int channel, UvPair a, UvPair b, UvPair c) {
    MeshTriangle& face = doc().triangles[static_cast<std::size_t>(doc().triangleCount++)];
    face = MeshTriangle{};
    face.vertex[0] = 0;
    face.vertex[1] = 1;
    face.vertex[2] = 2;
    face.uv[0] = a;
    face.uv[1] = b;
    face.uv[2] = c;
    face.textureNum = static_cast<std::uint8_t>(channel);
  }
  // The slots a mesh load leaves, and the shared UV table of the faces.
  void LoadSlots() {
    doc().ResetSkinSlots();
    doc().RebuildUvVertices(false);
    doc().meshLoaded = 1;
  }
  SkinSlot& slot(int channel) { return *doc().skinSlots[static_cast<std::size_t>(channel)]; }
  void ClearRecords() {
    prompter.messages.clear();
    prompter.dialogs.clear();
    refresh.Clear();
  }

  TempDir dir;
  MemorySettings settings;
  ScriptedPrompter prompter;
  RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
};

// Every texel of the image, row-major.
inline std::uint32_t Texel(const SkinSlot& skin, int x, int y) {
  return skin.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(skin.width) + static_cast<std::size_t>(x)];
}

// An image of the size whose texel (x, y) is y * 0x100 + x, 0x00RRGGBB.
inline SkinSlot NumberedImage(int width, int height) {
  SkinSlot image;
  AllocateSkin(image, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint32_t>(y * 0x100 + x);
  image.storedPixels = image.pixels;
  image.format = kFormatBmp;
  return image;
}

// Writes images with Pillow: each spec is "name:WIDTHxHEIGHT:MODE" with MODE
// P (8-bit palette), RGB or L; the format follows the name's ending. False
// when Pillow is not available.
bool MakeImagesWithPillow(const std::string& folder, const std::vector<std::string>& specs);

// The shared real files, or empty when they are not there.
std::string RealFile(const std::string& relative);

}  // namespace mok::test
