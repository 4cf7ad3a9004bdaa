// The textured 3D frame against Mesa's software OpenGL (OSMesa, llvmpipe on
// one thread) and against a plain clear of the colour, depth and id buffers,
// all three in one run, taking turns, each the fastest of its five batches
// of 30 frames: the bundled sample mesh at 1920 x 1080 with the camera of
// the start view (centred on the scene, identity orientation, field of view
// 33) at distance 75 and 30, nearest sampling, 16-bit depth, 256 x 256
// skins, as /work/shared/tools/glbench.c draws it. Our frame is the quick kind
// `mokcli bench` times. Built only where OSMesa is installed.
//
// Counters: milliseconds per frame of each, the share of covered pixels and
// the two ratios (ours over llvmpipe, ours over the clear), in wall-clock
// time and, prefixed "cpu_", in the thread's CPU time. llvmpipe runs on the
// calling thread, so the CPU-time ratios hold on a busy machine as well,
// where preemption inflates the wall-clock ones.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/scripted_prompter.h"
#include "core/application.h"
#include "core/mesh_files.h"
#include "core/settings.h"
#include "render/frame_pipeline.h"
#include "render/render_state.h"
#include "render/view_commands.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTextureSize = 256;
constexpr int kFrames = 30;   // frames per timed batch
constexpr int kBatches = 5;   // the fastest batch counts
const std::string kSample = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d";

std::vector<std::uint32_t> Texels() {
  std::vector<std::uint32_t> texels(kTextureSize * kTextureSize);
  for (std::uint32_t i = 0; i < texels.size(); ++i) texels[i] = (i * 2654435761u >> 8) & 0xFFFFFF;
  return texels;
}

double ThreadCpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

// The fastest batch of kFrames frames so far, in wall-clock and thread CPU
// time: other processes only ever add time.
struct FrameTimes {
  double wallMs = 1e300;
  double cpuMs = 1e300;

  // One batch after a warm-up frame.
  template <class Draw>
  void TimeBatch(Draw draw) {
    draw();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuMilliseconds();
    for (int i = 0; i < kFrames; ++i) draw();
    const double batchCpuMs = ThreadCpuMilliseconds() - cpuStart;
    const double batchWallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    wallMs = std::min(wallMs, batchWallMs / kFrames);
    cpuMs = std::min(cpuMs, batchCpuMs / kFrames);
  }
};

// Our side: the sample in the start render mode ("Textured").
struct OurFrame {
  mok::MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  mok::NullRefreshSink refresh;
  mok::Application app{settings, prompter, prompter, refresh};
  mok::ViewRecord view;
  bool loaded = false;

  explicit OurFrame(float distance) {
    mok::MeshDocument& doc = app.doc();
    loaded = mok::LoadMesh(doc, kSample, prompter).ok();
    if (!loaded) return;
    const std::vector<std::uint32_t> texels = Texels();
    for (int channel = 0; channel < doc.slotCount(); ++channel) {
      mok::SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(channel)];
      mok::AllocateSkin(slot, kTextureSize, kTextureSize);
      slot.isEmpty = 0;
      std::copy(texels.begin(), texels.end(), slot.pixels.begin());
    }
    doc.RebuildUvVertices(true);
    doc.activeSkin = doc.slotFor(0);
    mok::ResizeFrameBuffer(view.frame, kWidth, kHeight, false);
    mok::CenterOnScene(view.camera, doc);
    view.camera.distance = distance;
    view.camera.filtered = 0;
    mok::RenderStateOf(app).currentMode = mok::kModeTextured;
  }

  void Draw() {
    mok::RenderJob job = mok::MakeRenderJob(app, view);
    mok::RenderStateOf(app).current().render(job, mok::kRefreshQuick, 15);
  }
};

// The same faces through OSMesa: camera-space corners (X, Y, Z) become GL's
// (-X, Y, -Z) in a frustum of the same field of view; texture coordinates
// are the corners' texels over the skin size.
class LlvmpipeFrame {
 public:
  explicit LlvmpipeFrame(OurFrame& ours) : buffer_(static_cast<std::size_t>(kWidth) * kHeight) {
    const mok::MeshDocument& doc = ours.app.doc();
    mok::TransformFrame(ours.view, doc);
    for (int i = 0; i < doc.triangleCount; ++i) {
      const mok::MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
      for (int k = 0; k < 3; ++k) {
        const mok::Vec3& p = ours.view.cameraVertices[static_cast<std::size_t>(face.vertex[k])];
        positions_.insert(positions_.end(), {-p.x, p.y, -p.z});
        const mok::UvPair& uv = doc.uvVertices[static_cast<std::size_t>(face.uvIndex[k])];
        uvs_.insert(uvs_.end(), {uv.u / kTextureSize, uv.v / kTextureSize});
      }
    }
    context_ = OSMesaCreateContextExt(OSMESA_BGRA, 16, 0, 0, nullptr);
    ok_ = context_ && OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, kWidth, kHeight);
    if (ok_) SetUp(ours.view.camera.fovDegrees);
  }
  ~LlvmpipeFrame() {
    if (context_) OSMesaDestroyContext(context_);
  }
  LlvmpipeFrame(const LlvmpipeFrame&) = delete;
  LlvmpipeFrame& operator=(const LlvmpipeFrame&) = delete;

  bool ok() const { return ok_; }
  void Draw() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(positions_.size() / 3));
    glFinish();
  }
  double Coverage() const {
    const auto covered = std::count_if(buffer_.begin(), buffer_.end(), [](std::uint32_t c) { return (c & 0xFFFFFF) != 0; });
    return static_cast<double>(covered) / static_cast<double>(buffer_.size());
  }

 private:
  void SetUp(float fovDegrees) {
    const std::vector<std::uint32_t> texels = Texels();
    std::vector<std::uint32_t> opaque(texels.size());
    std::transform(texels.begin(), texels.end(), opaque.begin(), [](std::uint32_t t) { return t | 0xFF000000u; });
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSize, kTextureSize, 0, GL_BGRA, GL_UNSIGNED_BYTE, opaque.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double half = std::tan(fovDegrees * 0.5 * 3.14159265358979 / 180.0);
    const double shorter = std::min(kWidth, kHeight);
    glFrustum(-half * kWidth / shorter, half * kWidth / shorter, -half * kHeight / shorter, half * kHeight / shorter,
              1.0, 400.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions_.data());
    glTexCoordPointer(2, GL_FLOAT, 0, uvs_.data());
    glClearColor(0, 0, 0, 1);
  }

  std::vector<std::uint32_t> buffer_;
  std::vector<float> positions_;
  std::vector<float> uvs_;
  OSMesaContext context_ = nullptr;
  bool ok_ = false;
};

// The plain clear of the three buffers a frame keeps.
struct PlainClear {
  std::vector<std::uint32_t> colour = std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight);
  std::vector<std::uint16_t> depth = std::vector<std::uint16_t>(colour.size());
  std::vector<std::int32_t> ids = std::vector<std::int32_t>(colour.size());
  void Draw() {
    std::fill(colour.begin(), colour.end(), 0x123456u);
    std::memset(depth.data(), 0xFF, depth.size() * sizeof depth[0]);
    std::memset(ids.data(), 0xFF, ids.size() * sizeof ids[0]);
    benchmark::DoNotOptimize(colour.data());
  }
};

void BM_TexturedFrameAgainstLlvmpipe(benchmark::State& state) {
  setenv("LP_NUM_THREADS", "0", 0);  // llvmpipe on one thread, as our renderer runs
  auto ours = std::make_unique<OurFrame>(static_cast<float>(state.range(0)));
  if (!ours->loaded) {
    state.SkipWithError("sample mesh did not load");
    return;
  }
  LlvmpipeFrame gl(*ours);
  if (!gl.ok()) {
    state.SkipWithError("OSMesa context failed");
    return;
  }
  PlainClear clear;
  FrameTimes oursMs, glMs, clearMs;
  for (auto _ : state) {
    // The three take turns batch by batch, so a slow spell of the host
    // falls on all three alike instead of on whichever ran through it. The
    // clear never follows llvmpipe: measured after it, the clear ran up to
    // half as slow again, which flattered the ratio.
    for (int batch = 0; batch < kBatches; ++batch) {
      glMs.TimeBatch([&] { gl.Draw(); });
      oursMs.TimeBatch([&] { ours->Draw(); });
      clearMs.TimeBatch([&] { clear.Draw(); });
    }
  }
  state.counters["mok_ms"] = oursMs.wallMs;
  state.counters["llvmpipe_ms"] = glMs.wallMs;
  state.counters["clear_ms"] = clearMs.wallMs;
  state.counters["covered_pct"] = 100 * gl.Coverage();
  state.counters["vs_llvmpipe"] = oursMs.wallMs / glMs.wallMs;
  state.counters["vs_clear"] = oursMs.wallMs / clearMs.wallMs;
  state.counters["cpu_mok_ms"] = oursMs.cpuMs;
  state.counters["cpu_vs_llvmpipe"] = oursMs.cpuMs / glMs.cpuMs;
  state.counters["cpu_vs_clear"] = oursMs.cpuMs / clearMs.cpuMs;
}
BENCHMARK(BM_TexturedFrameAgainstLlvmpipe)->Arg(75)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond);

// Our frame alone, frame by frame in thread CPU time: the fastest and the
// median of 300 frames. On a busy machine the fastest single frame moves far
// less than a batch average, so it is the figure to compare changes by.
void BM_SampleFrameAlone(benchmark::State& state) {
  auto ours = std::make_unique<OurFrame>(static_cast<float>(state.range(0)));
  if (!ours->loaded) {
    state.SkipWithError("sample mesh did not load");
    return;
  }
  std::vector<double> frameMs(300);
  for (auto _ : state) {
    ours->Draw();  // warm up
    for (double& ms : frameMs) {
      const double start = ThreadCpuMilliseconds();
      ours->Draw();
      ms = ThreadCpuMilliseconds() - start;
    }
  }
  std::sort(frameMs.begin(), frameMs.end());
  state.counters["cpu_min_ms"] = frameMs.front();
  state.counters["cpu_median_ms"] = frameMs[frameMs.size() / 2];
}
BENCHMARK(BM_SampleFrameAlone)->Arg(75)->Arg(30)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
