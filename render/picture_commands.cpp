#include "render/picture_commands.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "render/ray_tracer.h"
#include "render/render_state.h"
#include "image/image_codecs.h"

namespace mok {

namespace {

// The flags a render gets outside a refresh message.
constexpr int kAllPanes = PaneSet::All().bits();

// Sets the view to a snapshot's size and filter and puts everything back
// when it goes out of scope.
class ViewSwap {
 public:
  ViewSwap(ViewRecord& view, const SnapshotDialog& dialog)
      : view_(view), saved_(std::move(view.frame)), filtered_(view.camera.filtered), scale_(view.projectionScale) {
    if (dialog.rendering == SnapshotRendering::Normal) view.camera.filtered = 0;
    if (dialog.rendering == SnapshotRendering::Filtered) view.camera.filtered = 1;
    ResizeFrameBuffer(view.frame, dialog.width, dialog.height, saved_.hasShade());
  }
  ~ViewSwap() {
    view_.frame = std::move(saved_);
    view_.camera.filtered = filtered_;
    view_.projectionScale = scale_;
  }
  ViewSwap(const ViewSwap&) = delete;
  ViewSwap& operator=(const ViewSwap&) = delete;

 private:
  ViewRecord& view_;
  FrameBuffer saved_;
  std::int32_t filtered_;
  float scale_;
};

SkinSlot TopRowFirst(const FrameBuffer& frame) {
  SkinSlot image;
  image.name = "snapshot";
  AllocateSkin(image, frame.width, frame.height);
  const std::size_t width = static_cast<std::size_t>(frame.width);
  for (std::size_t row = 0; row < static_cast<std::size_t>(frame.height); ++row) {
    const std::size_t from = (static_cast<std::size_t>(frame.height) - 1 - row) * width;
    std::copy_n(frame.colour.begin() + static_cast<std::ptrdiff_t>(from), width,
                image.pixels.begin() + static_cast<std::ptrdiff_t>(row * width));
  }
  return image;
}

bool ValidSnapshotSide(int side) { return side >= kSnapshotMinSide && side <= kSnapshotMaxSide; }

}  // namespace

std::int64_t SteadyMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string BenchmarkSentence(std::int64_t elapsedMicroseconds) {
  const std::int64_t ms = elapsedMicroseconds / 1000;
  const double fps = ms >= 1 ? kBenchmarkFrames / (static_cast<double>(ms) * 0.001)
                             : kBenchmarkFrames / (static_cast<double>(std::max<std::int64_t>(elapsedMicroseconds, 1)) * 1e-6);
  char text[96];
  std::snprintf(text, sizeof text, "100 frames in %d milliseconds = %f fps", static_cast<int>(ms), fps);
  return text;
}

std::string RunRenderBenchmark(RenderMode& mode, RenderJob& job, const std::function<void()>& repaint,
                               const MicrosecondClock& clock) {
  const std::int64_t start = clock();
  for (int i = 0; i < kBenchmarkFrames; ++i) {
    mode.render(job, kRefreshQuick, kAllPanes);
    if (repaint) repaint();
  }
  return BenchmarkSentence(clock() - start);
}

void BenchmarkCommand(Application& app, ViewRecord& view, const std::function<void()>& repaint) {
  RenderJob job = MakeRenderJob(app, view);
  app.prompter.Message(RunRenderBenchmark(RenderStateOf(app).current(), job, repaint));
}

std::string SnapshotPath(const std::string& chosen) {
  return chosen.find(".bmp") == std::string::npos ? chosen + ".bmp" : chosen;
}

SkinSlot RenderSnapshotImage(RenderJob& job, RenderMode& mode, const SnapshotDialog& dialog) {
  ViewSwap swap(job.view, dialog);
  if (dialog.rendering == SnapshotRendering::Raytraced) {
    RayTraceJob trace{job.view, job.doc, job.colours[kColourBackground], job.priority, {}};
    RayTrace(trace);
  } else {
    mode.render(job, kRefreshFinal, kAllPanes);
  }
  return TopRowFirst(job.view.frame);
}

Status WriteSnapshot(SkinSlot& image, const std::string& path) { return WriteBmp(image, path); }

void SnapshotCommand(Application& app, ViewRecord& view) {
  SnapshotDialog dialog{view.frame.width, view.frame.height,
                        view.camera.filtered ? SnapshotRendering::Filtered : SnapshotRendering::Normal};
  if (!app.dialogs.ChooseSnapshot(dialog)) return;
  if (!ValidSnapshotSide(dialog.width) || !ValidSnapshotSide(dialog.height)) {
    app.prompter.Message(kSnapshotSizeMessage, MessageIcon::Warning);
    return;
  }
  FileDialogSpec spec;
  spec.save = true;
  spec.filter = kSnapshotFilter;
  spec.initialName = kSnapshotPattern;
  spec.initialDir = app.loadDir;
  std::optional<std::string> chosen = app.prompter.ChooseFile(spec);
  if (!chosen) return;
  RenderJob job = MakeRenderJob(app, view);
  SkinSlot image = RenderSnapshotImage(job, RenderStateOf(app).current(), dialog);
  if (Status written = WriteSnapshot(image, SnapshotPath(*chosen)); !written)
    app.prompter.Message(written.error().message, MessageIcon::Error);
}

void QuickRenderCommand(Application& app, ViewRecord& view) {
  RenderState& state = RenderStateOf(app);
  const int height = view.frame.height;
  RayTraceJob trace{view, app.document.get(), app.customColors[kColourBackground], state.priority,
                    [&](int row) {
                      state.traceProgress = static_cast<double>(row) / height;
                      Notify(app, Change::TraceProgress);
                      Notify(app, Change::Gradient);
                    }};
  RayTrace(trace);
  state.traceProgress.reset();
  Notify(app, Change::Gradient);
}

}  // namespace mok
