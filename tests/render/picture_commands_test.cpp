#include "render/picture_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "core/byte_reader.h"
#include "tests/core/mesh_test_support.h"
#include "tests/render/mode_test_support.h"

namespace mok {
namespace {

using test::ModeScene;

// A mode that records what it was asked to draw.
class RecordingMode final : public RenderMode {
 public:
  RecordingMode() : RenderMode(kModeWireframe) {}
  struct Call {
    int kind;
    int flags;
    int width;
    int height;
    int filtered;
  };
  std::vector<Call> calls;
  void render(RenderJob& job, int kind, int flags) override {
    calls.push_back({kind, flags, job.view.frame.width, job.view.frame.height, job.view.camera.filtered});
    job.view.frame.colour.assign(job.view.frame.pixelCount(), 0);
    job.view.frame.colour[0] = 0x112233;  // bottom-left pixel
  }
};

// ---- Benchmark ----

TEST(BenchmarkSentence, WholeMillisecondsAndTheRateFromThem) {
  EXPECT_EQ(BenchmarkSentence(1234567), "100 frames in 1234 milliseconds = 81.037277 fps");
  EXPECT_EQ(BenchmarkSentence(2000000), "100 frames in 2000 milliseconds = 50.000000 fps");
}

TEST(BenchmarkSentence, UnderOneMillisecondTheRateComesFromMicroseconds) {
  EXPECT_EQ(BenchmarkSentence(500), "100 frames in 0 milliseconds = 200000.000000 fps");
  EXPECT_EQ(BenchmarkSentence(0), "100 frames in 0 milliseconds = 100000000.000000 fps");
}

TEST(RunRenderBenchmark, RendersAHundredQuickFramesAndRepaintsEach) {
  ModeScene scene;
  RecordingMode mode;
  int repaints = 0;
  std::vector<std::int64_t> times = {1000, 2501000};
  std::size_t next = 0;
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  const std::string sentence = RunRenderBenchmark(mode, job, [&] { ++repaints; }, [&] { return times[next++]; });
  EXPECT_EQ(sentence, "100 frames in 2500 milliseconds = 40.000000 fps");
  ASSERT_EQ(mode.calls.size(), 100u);
  for (const RecordingMode::Call& call : mode.calls) {
    EXPECT_EQ(call.kind, 1);
    EXPECT_EQ(call.flags, 15);
  }
  EXPECT_EQ(repaints, 100);
}

TEST(BenchmarkCommand, ShowsTheSentence) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModeFlatShaded);
  BenchmarkCommand(scene.app, scene.view, {});
  ASSERT_EQ(scene.prompter.messages.size(), 1u);
  EXPECT_EQ(scene.prompter.messages[0].rfind("100 frames in ", 0), 0u);
}

// ---- Snapshot ----

TEST(SnapshotPath, AppendsBmpUnlessItIsAnywhereInThePath) {
  EXPECT_EQ(SnapshotPath("/tmp/shot"), "/tmp/shot.bmp");
  EXPECT_EQ(SnapshotPath("/tmp/shot.bmp"), "/tmp/shot.bmp");
  EXPECT_EQ(SnapshotPath("/tmp/a.bmp.old"), "/tmp/a.bmp.old");
  EXPECT_EQ(SnapshotPath("/tmp/x.BMP"), "/tmp/x.BMP.bmp");
}

TEST(RenderSnapshotImage, RoundsTheWidthUpAndLeavesTheViewAsItWas) {
  ModeScene scene;
  scene.view.frame.colour.assign(scene.view.frame.colour.size(), 0xABCDEF);
  scene.view.camera.filtered = 1;
  RecordingMode mode;
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  SkinSlot image = RenderSnapshotImage(job, mode, {101, 20, SnapshotRendering::Normal});
  EXPECT_EQ(image.width, 104);
  EXPECT_EQ(image.height, 20);
  ASSERT_EQ(mode.calls.size(), 1u);
  EXPECT_EQ(mode.calls[0].kind, 0);
  EXPECT_EQ(mode.calls[0].flags, 15);
  EXPECT_EQ(mode.calls[0].width, 104);
  EXPECT_EQ(mode.calls[0].filtered, 0);  // "Normal"
  EXPECT_EQ(image.pixels[19 * 104], 0x112233u);  // the bottom row comes last
  EXPECT_EQ(scene.view.frame.width, 100);
  EXPECT_EQ(scene.view.frame.height, 100);
  EXPECT_EQ(scene.view.frame.colour[4321], 0xABCDEFu);
  EXPECT_EQ(scene.view.camera.filtered, 1);
}

TEST(RenderSnapshotImage, FilteredTurnsFilteringOnForTheSnapshotOnly) {
  ModeScene scene;
  RecordingMode mode;
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  RenderSnapshotImage(job, mode, {16, 16, SnapshotRendering::Filtered});
  EXPECT_EQ(mode.calls.at(0).filtered, 1);
  EXPECT_EQ(scene.view.camera.filtered, 0);
}

TEST(RenderSnapshotImage, ShadedTexturedModesGetTheirShadeBufferAtTheNewSize) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  scene.UseMode(kModeTexturedFlat);
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  SkinSlot image = RenderSnapshotImage(job, scene.state().current(), {200, 200, SnapshotRendering::Normal});
  EXPECT_NE(image.pixels[(199 - 110) * 200 + 90], test::kSceneBackground);  // inside the face
  EXPECT_EQ(scene.view.frame.shade.size(), 100u * 100u);
}

TEST(WriteSnapshot, HeaderBytesOfA24BitBitmap) {
  ModeScene scene;
  RecordingMode mode;
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  SkinSlot image = RenderSnapshotImage(job, mode, {101, 20, SnapshotRendering::Normal});
  test::TempDir dir;
  ASSERT_TRUE(WriteSnapshot(image, dir / "shot.bmp"));
  const std::vector<std::uint8_t> file = test::ReadBytes(dir / "shot.bmp");
  ASSERT_EQ(file.size(), 104u * 20u * 3u + 54u);
  ByteReader in(file);
  EXPECT_EQ(in.u8(), 'B');
  EXPECT_EQ(in.u8(), 'M');
  EXPECT_EQ(in.u32(), 104u * 20u * 3u + 54u);  // file size
  EXPECT_EQ(in.u32(), 0u);                     // reserved
  EXPECT_EQ(in.u32(), 54u);                    // pixel data offset
  EXPECT_EQ(in.u32(), 40u);                    // info header size
  EXPECT_EQ(in.u32(), 104u);                   // width
  EXPECT_EQ(in.u32(), 20u);                    // height: bottom row first
  EXPECT_EQ(in.u16(), 1u);                     // planes
  EXPECT_EQ(in.u16(), 24u);                    // bits
  EXPECT_EQ(in.u32(), 0u);                     // no compression
  in.u32();                                    // image size
  EXPECT_EQ(in.u32(), 100u);                   // pixels per metre
  EXPECT_EQ(in.u32(), 100u);
  // The first stored pixel is the bottom-left one: blue, green, red.
  EXPECT_EQ(file[54], 0x33);
  EXPECT_EQ(file[55], 0x22);
  EXPECT_EQ(file[56], 0x11);
}

TEST(WriteSnapshot, PillowReadsTheBitmapWithItsPixels) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModeFlatShaded);
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  SkinSlot image = RenderSnapshotImage(job, scene.state().current(), {101, 100, SnapshotRendering::Normal});
  test::TempDir dir;
  ASSERT_TRUE(WriteSnapshot(image, dir / "shot.bmp"));
  const std::string script = dir / "read.py";
  std::ofstream(script) << "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1]).convert('RGB')\n"
                           "print(im.size[0], im.size[1], '%02X%02X%02X' % im.getpixel((45, 99 - 55)))\n";
  const std::string command = std::string(MOK_SYSTEM_PYTHON) + " " + script + " " + (dir / "shot.bmp") + " > " + (dir / "out.txt");
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::vector<std::uint8_t> out = test::ReadBytes(dir / "out.txt");
  char expected[32];
  std::snprintf(expected, sizeof expected, "104 100 %06X\n", image.pixels[static_cast<std::size_t>((99 - 55) * 104 + 45)]);
  EXPECT_EQ(std::string(out.begin(), out.end()), expected);
}

TEST(SnapshotCommand, DialogStartsFromTheViewAndCancelEndsIt) {
  ModeScene scene;
  scene.view.camera.filtered = 1;
  SnapshotCommand(scene.app, scene.view);
  ASSERT_EQ(scene.prompter.snapshot.shown.size(), 1u);
  EXPECT_EQ(scene.prompter.snapshot.shown[0].width, 100);
  EXPECT_EQ(scene.prompter.snapshot.shown[0].height, 100);
  EXPECT_EQ(scene.prompter.snapshot.shown[0].rendering, SnapshotRendering::Filtered);
  EXPECT_TRUE(scene.prompter.dialogs.empty());
}

TEST(SnapshotCommand, RefusesSizesOutsideTheRange) {
  ModeScene scene;
  scene.prompter.snapshot.answer = SnapshotDialog{15, 100, SnapshotRendering::Normal};
  SnapshotCommand(scene.app, scene.view);
  EXPECT_EQ(scene.prompter.messages, std::vector<std::string>{"Please enter an integer between 16 and 2048."});
  EXPECT_TRUE(scene.prompter.dialogs.empty());
}

TEST(SnapshotCommand, SavesInLoadDirWithBmpAppended) {
  ModeScene scene;
  test::TempDir dir;
  scene.app.loadDir = dir.path().string();
  scene.prompter.snapshot.answer = SnapshotDialog{101, 16, SnapshotRendering::Normal};
  scene.prompter.files.push_back(dir / "picture");
  SnapshotCommand(scene.app, scene.view);
  ASSERT_EQ(scene.prompter.dialogs.size(), 1u);
  const FileDialogSpec& spec = scene.prompter.dialogs[0];
  EXPECT_TRUE(spec.save);
  EXPECT_EQ(spec.filter, "Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*||");
  EXPECT_EQ(spec.initialName, "*.bmp");
  EXPECT_EQ(spec.initialDir, dir.path().string());
  EXPECT_EQ(test::ReadBytes(dir / "picture.bmp").size(), 104u * 16u * 3u + 54u);
  EXPECT_TRUE(scene.prompter.messages.empty());
  EXPECT_EQ(scene.view.frame.width, 100);
}

TEST(SnapshotCommand, AFileThatCannotBeWrittenIsReportedAndTheViewRestored) {
  ModeScene scene;
  scene.prompter.snapshot.answer = SnapshotDialog{64, 64, SnapshotRendering::Normal};
  scene.prompter.files.push_back("/nonexistent-folder/picture.bmp");
  SnapshotCommand(scene.app, scene.view);
  ASSERT_EQ(scene.prompter.messages.size(), 1u);
  EXPECT_EQ(scene.prompter.messages[0].rfind("Error Saving: ", 0), 0u);
  EXPECT_EQ(scene.view.frame.width, 100);
}

// ---- Quick Render ----

TEST(QuickRenderCommand, RepaintsRowByRowAndClearsTheProgress) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  ResizeFrameBuffer(scene.view.frame, 8, 3, false);
  QuickRenderCommand(scene.app, scene.view);
  const test::RefreshCall repaint{0x22, 0}, gradient{0x04, 0};
  const std::vector<test::RefreshCall> expected = {repaint, gradient, repaint, gradient, repaint, gradient, gradient};
  EXPECT_EQ(scene.refresh.requests, expected);
  EXPECT_FALSE(scene.state().traceProgress);
}

}  // namespace
}  // namespace mok
