// Replays mouse drags on a mesh at full capacity and times each mouse-move
// step the way the program runs it: the event goes to the pane, then every
// refresh it asked for is rendered, one after the other, as the main window
// answers "MOK-Refresh".
//
// The mesh: 4096 faces over 4096 vertices (a torus facing the start camera,
// its rows of faces alternating between two copies of the vertex grid), every
// face with its own UV triangle in a 16 x 16 cell of a 1024 x 1024 skin, so
// the 12288 corners are 12288 distinct UV vertices (for the vertex drag two
// corners share one, leaving the one spare entry the drag needs). Both views
// are 960 x 1080; the skin view shows the skin at zoom 1, the 3D view draws
// in the start render mode ("Textured") or, for the /shaded runs,
// "Textured, G-Shade" (with its shade buffer in paint mode).
//
// The splitter drag moves the gradient strip between the views, as the main
// window does: the layout follows the mouse, and the skin view, the strip and
// the 3D view render quick frames at their new sizes.
//
// Each step's time is the thread's CPU time, so helpers sharing the machine
// count little, and each drag is replayed three times on a fresh program,
// each step counting with the fastest of its three times. Counters: median_ms
// and p95_ms of those, and faults, the minor page faults per step (first
// touches of fresh memory); the Time column is the mean of all steps. The
// release that ends each drag is timed as one more benchmark per kind family
// (RebuildUvVertices and the final frames) and for the splitter (the final
// frames at the new sizes).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <sys/resource.h>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scripted_prompter.h"
#include "app/pane_layout.h"
#include "app/refresh_dispatch.h"
#include "core/application.h"
#include "core/settings.h"
// The render headers come first: a pane header declares a function named
// like one of their types.
#include "render/render_state.h"
#include "panes/corner_button.h"
#include "panes/gradient_box.h"
#include "panes/iso_view.h"
#include "panes/paint_handoff.h"
#include "panes/skin_view.h"
#include "bench/no_window.h"

namespace {

using namespace mok;

constexpr int kViewWidth = 960;
constexpr int kViewHeight = 1080;
constexpr int kSkinSize = 1024;
constexpr int kSteps = 60;
constexpr int kReplays = 3;  // of each drag; a step counts with its fastest time
// The main window's client area around the two views, the strip between
// them and the palette strip below.
constexpr int kClientWidth = 2 * kViewWidth + kGradientStripWidth;
constexpr int kClientHeight = kViewHeight + kPaletteStripHeight;

// Minor page faults of this thread so far: first touches of fresh memory.
long ThreadMinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt;
}

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The posted refresh requests, rendered after each event.
class QueuedRefresh final : public RefreshSink {
 public:
  std::deque<RefreshRequest> pending;
  void Refresh(const RefreshRequest& request) override { pending.push_back(request); }
  void RefillLists() override {}
};

// The 3D view's renderer as the shell wires it.
class ModeRenderer final : public IsoRenderer, public CameraLink {
 public:
  ModeRenderer(Application& app, Painter& painter) : app_(app), painter_(painter) {}
  void RenderMode(ViewRecord& view, int kind, int flags) override {
    RenderJob job = MakeRenderJob(app_, view);
    job.strokeMarks = &painter_.StrokeMask();
    RenderStateOf(app_).current().render(job, kind, flags);
  }
  bool ModeUsesSkins() const override { return RenderStateOf(app_).current().facts().needsSkins; }
  bool ModeUsesShade() const override { return RenderStateOf(app_).current().facts().keepsShade; }
  void DrawCornerButton(FrameBuffer& frame, bool pressed) override {
    mok::DrawCornerButton(frame.colour.data(), frame.width, frame.height, pressed, ButtonColours{}, 1);
  }
  void SendCameraToWatcher(const CameraState&) override {}

 private:
  Application& app_;
  Painter& painter_;
};

// Torus point for grid column i (around the axis) and row j (around the tube),
// the axis along model x so the ring faces the start camera.
Vec3 TorusPoint(int i, int j) {
  constexpr double kPi = 3.14159265358979323846;
  const double theta = 2 * kPi * i / 64, phi = 2 * kPi * j / 32;
  const double ring = 12 + 5 * std::cos(phi);
  return {static_cast<float>(5 * std::sin(phi)), static_cast<float>(ring * std::cos(theta)),
          static_cast<float>(ring * std::sin(theta))};
}

Vec3 Minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Away from the tube's centre line at grid point (i, j).
Vec3 Outward(int i, int j) {
  const Vec3 centre = TorusPoint(i, 8);  // phi = 90 degrees: on the centre circle's plane, x = 5
  return Minus(TorusPoint(i, j), {0, centre.y, centre.z});
}

void FillCapacityMesh(MeshDocument& doc, bool shareOneUv) {
  auto frame = std::make_unique<AnimFrame>();
  frame->name = "0";
  frame->positions.resize(kMaxVertices);
  for (int copy = 0; copy < 2; ++copy)
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 64; ++i) frame->positions[static_cast<std::size_t>(copy * 2048 + j * 64 + i)] = TorusPoint(i, j);
  const mok::FramePositions& p = frame->positions;
  doc.frames.clear();
  doc.frames.push_back(std::move(frame));
  doc.vertexCount = kMaxVertices;
  doc.triangleCount = kMaxTriangles;
  for (int q = 0; q < 2048; ++q) {
    const int i = q % 64, j = q / 64, base = (j % 2) * 2048;
    auto at = [&](int di, int dj) { return static_cast<std::int16_t>(base + (j + dj) % 32 * 64 + (i + di) % 64); };
    const std::int16_t quad[2][3] = {{at(0, 0), at(1, 0), at(1, 1)}, {at(0, 0), at(1, 1), at(0, 1)}};
    for (int half = 0; half < 2; ++half) {
      const int index = q * 2 + half;
      MeshTriangle& face = doc.triangles[static_cast<std::size_t>(index)];
      face = MeshTriangle{};
      for (int k = 0; k < 3; ++k) face.vertex[k] = quad[half][k];
      // Outside faces wind so that the normal (b - a) x (c - a) points inward.
      const Vec3 a = p[static_cast<std::size_t>(face.vertex[0])], b = p[static_cast<std::size_t>(face.vertex[1])],
                 c = p[static_cast<std::size_t>(face.vertex[2])];
      const Vec3 ab = Minus(b, a), ac = Minus(c, a);
      const Vec3 n{ab.y * ac.z - ab.z * ac.y, ab.z * ac.x - ab.x * ac.z, ab.x * ac.y - ab.y * ac.x};
      const Vec3 out = Outward(i, j);
      if (n.x * out.x + n.y * out.y + n.z * out.z > 0) std::swap(face.vertex[1], face.vertex[2]);
      const float cu = static_cast<float>(index % 64 * 16), cv = static_cast<float>(index / 64 * 16);
      face.uv[0] = {cu + 2, cv + 2};
      face.uv[1] = {cu + 13, cv + 2};
      face.uv[2] = {cu + 2, cv + 13};
    }
  }
  if (shareOneUv) doc.triangles[1].uv[0] = doc.triangles[0].uv[0];
}

void LoadSkin(MeshDocument& doc) {
  doc.ResetSkinSlots();
  SkinSlot& skin = *doc.skinSlots[0];
  AllocateSkin(skin, kSkinSize, kSkinSize);
  skin.isEmpty = 0;
  std::uint32_t x = 2463534242u;
  for (std::uint32_t& texel : skin.pixels) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    texel = x & 0xFFFFFF;
  }
  skin.storedPixels = skin.pixels;
  doc.activeChannel = 0;
  doc.activeSkin = &skin;
}

// The main window's side of the gradient strip: the splitter drag.
class Splitter final : public SplitterShell {
 public:
  bool dragging = false;
  void BeginSplitterDrag() override { dragging = true; }
  void ApplySplitFraction(double) override {}
  void SwapDisplays() override {}
  double SplitFraction() const override { return 0.5; }
  int RenderModeIndex() const override { return 0; }
};

// The program around the panes, rendering them as the main window's boxes
// do: each box takes the size of its place in the layout first.
struct Program final : RefreshTargets {
  MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  QueuedRefresh refresh;
  Application app{settings, prompter, prompter, refresh};
  mok::bench::NoWindow skinHost, isoHost;
  Painter painter{app};
  PainterHandoff handoff{painter};
  ModeRenderer renderer{app, painter};
  std::unique_ptr<SkinView> skinView;
  std::unique_ptr<IsoView> isoView;
  mok::bench::NoWindow gradientHost;
  Splitter splitter;
  std::unique_ptr<GradientBox> gradient;
  PaneLayout layout;

  Program(int mode, bool shareOneUv) {
    MeshDocument& doc = app.doc();
    FillCapacityMesh(doc, shareOneUv);
    LoadSkin(doc);
    doc.SetCurrentFrame(0);
    doc.RebuildUvVertices(false);
    doc.StoreMapping();
    doc.meshLoaded = 1;
    RenderState& render = RenderStateOf(app);
    if (!SelectRenderMode(app, nullptr, mode)) render.currentMode = kStartRenderMode;
    skinView = std::make_unique<SkinView>(app, render.raster, skinHost);
    skinView->SetPainter(&handoff);
    skinView->viewCenter = {kSkinSize / 2.0f, kSkinSize / 2.0f};
    skinView->zoom = 1;
    isoView = std::make_unique<IsoView>(IsoViewLinks{app, render.light, renderer, isoHost, painter, renderer});
    gradient = std::make_unique<GradientBox>(app, render.shading, gradientHost, splitter);
    layout.splitFraction = 0.5;
    layout.Relayout(kClientWidth, kClientHeight);
    skinView->Resize(layout.skinRect().width, layout.skinRect().height);
    isoView->Resize(layout.isoRect().width, layout.isoRect().height);
    refresh.pending.clear();
  }

  void RenderBox(mok::Pane box, int kind, int flags) override {
    switch (box) {
      case mok::Pane::Skin:
        skinView->ResizeBuffers(layout.skinRect().width, layout.skinRect().height);
        skinView->RenderView(kind);
        break;
      case mok::Pane::Iso:
        if (layout.isoRect().width != isoView->clientWidth() || layout.isoRect().height != isoView->clientHeight())
          isoView->ResizeBuffers(layout.isoRect().width, layout.isoRect().height);
        isoView->RenderFrame(kind, flags);
        break;
      case mok::Pane::Gradient:
        gradient->Resize(layout.gradientRect.width, layout.gradientRect.height);
        gradient->Render();
        break;
      case mok::Pane::Palette: break;
    }
  }
  void RedrawBox(mok::Pane) override {}

  void RenderPending() {
    while (!refresh.pending.empty()) {
      const RefreshRequest request = refresh.pending.front();
      refresh.pending.pop_front();
      DispatchRefresh(*this, request);
    }
  }

  // The main window during a splitter drag: the split follows client x, and
  // the boxes render quick frames at their new places.
  void MoveSplitter(int x) {
    layout.splitFraction = SplitFractionAt(x, kClientWidth);
    layout.Relayout(kClientWidth, kClientHeight);
    DispatchRefresh(*this, {mok::Pane::Skin | mok::Pane::Iso | mok::Pane::Gradient, kRefreshQuick});
  }

  void EndSplitterDrag() {
    gradient->SetSplitterDrag(false);
    DispatchRefresh(*this, {mok::Pane::Skin | mok::Pane::Iso | mok::Pane::Gradient, kRefreshFinal});
  }

  // Both panes as a full refresh draws them, after the mode or flags changed.
  void RenderAll() {
    DispatchRefresh(*this, {PaneSet::All(), kRefreshFinal});
    refresh.pending.clear();
  }

  void SelectAll() {
    for (int i = 0; i < app.doc().triangleCount; ++i) app.doc().triangles[static_cast<std::size_t>(i)].state = kFaceSelected;
  }

  // A client point of the 3D view that shows the mesh near the ring's right side.
  std::pair<int, int> PointOnMesh() const {
    const int y = kViewHeight / 2;
    for (int x = kViewWidth * 3 / 4; x < kViewWidth; ++x)
      if (isoView->IdAt(x, y) >= 0) return {x + 20, y};
    return {kViewWidth * 3 / 4, y};
  }
};

enum class Pane { Skin, Iso, Splitter };

struct DragKind {
  const char* name;
  Pane pane;
  PaneButton button;
  unsigned modifiers = 0;
  unsigned held = 0;  // buttons held during the moves
  EditMode editMode = EditMode::Mapping;
  bool cameraActive = false;
  BrushKind brushKind = BrushKind::Point;
  bool warp = false;
  bool selectAll = false;
  bool vertexDrag = false;
  bool sweep = false;
};

PaneEvent Event(PaneEventType type, PaneButton button, int x, int y, unsigned modifiers, unsigned held) {
  return MouseEvent(type, button, x, y, held, modifiers);
}

unsigned HeldMask(PaneButton button) {
  switch (button) {
    case PaneButton::Left: return kHeldLeft;
    case PaneButton::Right: return kHeldRight;
    case PaneButton::Middle: return kHeldMiddle;
    case PaneButton::None: break;
  }
  return 0;
}

// Where the drag starts: a UV vertex for the vertex drag, the mesh for
// painting through the 3D view, the grip of the gradient strip (in client
// coordinates) for the splitter, the middle of the pane otherwise.
std::pair<int, int> PressPoint(Program& program, const DragKind& kind) {
  if (kind.pane == Pane::Splitter) {
    const Rect& strip = program.layout.gradientRect;
    return {strip.x + strip.width / 2, strip.y + strip.height - 20};
  }
  if (kind.vertexDrag) {
    const RasterPoint2 at = program.skinView->viewport().VertexInWindow(program.app.doc().triangles[0].uv[0]);
    return {static_cast<int>(at.x), static_cast<int>(at.y)};
  }
  if (kind.pane == Pane::Iso && !kind.cameraActive) return program.PointOnMesh();
  if (kind.sweep) return {100, 100};
  return {kViewWidth / 2, kViewHeight / 2};
}

// Step i of the replay: a point on a circle of 40 pixels around the press
// point for painting and sweeps (sweeps walk on across the skin), a small
// relative step for the drags that measure motion from the press point.
// The splitter goes 12 pixels a step to the right for 15 steps, then left
// past its start and back, so each view in turn grows beyond its first size.
std::pair<int, int> StepPoint(const DragKind& kind, std::pair<int, int> press, int i) {
  if (kind.sweep) return {press.first + 12 * i, press.second + 15 * i};
  if (kind.pane == Pane::Splitter) {
    const int phase = i % 60;
    const int offset = phase <= 15 ? phase : phase <= 45 ? 30 - phase : phase - 60;
    return {press.first + 12 * offset, press.second};
  }
  const double angle = i * 0.35;
  const double radius = kind.pane == Pane::Iso && kind.cameraActive ? 6 : 40;
  return {press.first + static_cast<int>(std::lround(radius * std::cos(angle))),
          press.second + static_cast<int>(std::lround(radius * std::sin(angle)))};
}

// The splitter's press goes to the gradient strip, which asks the main
// window to start the drag; the moves and the release go to the main window.
void SendToSplitter(Program& program, const PaneEvent& event) {
  const Rect& strip = program.layout.gradientRect;
  switch (event.type) {
    case PaneEventType::Press: {
      PaneEvent local = event;
      local.x -= strip.x;
      local.y -= strip.y;
      program.gradient->HandleEvent(local);
      if (program.splitter.dragging) program.gradient->SetSplitterDrag(true);
      break;
    }
    case PaneEventType::Move:
      if (program.splitter.dragging) program.MoveSplitter(event.x);
      break;
    case PaneEventType::Release:
      if (program.splitter.dragging) program.EndSplitterDrag();
      program.splitter.dragging = false;
      break;
    default: break;
  }
}

void Send(Program& program, const DragKind& kind, const PaneEvent& event) {
  switch (kind.pane) {
    case Pane::Skin: program.skinView->HandleEvent(event); break;
    case Pane::Iso: program.isoView->HandleEvent(event); break;
    case Pane::Splitter: SendToSplitter(program, event); break;
  }
}

Program& Prepare(std::unique_ptr<Program>& program, const DragKind& kind, int mode) {
  program = std::make_unique<Program>(mode, kind.vertexDrag);
  Application& app = program->app;
  app.flags.editMode = kind.editMode;
  app.flags.cameraActive = kind.cameraActive;
  app.flags.brushKind = kind.brushKind;
  app.flags.warpTexture = kind.warp ? 1 : 0;
  if (kind.selectAll) program->SelectAll();
  program->RenderAll();
  return *program;
}

void RecordPercentiles(benchmark::State& state, std::vector<double>& ms) {
  if (ms.empty()) return;
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p95_ms"] = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
}

struct ReplayTimes {
  std::vector<double> stepMs;
  long faults = 0;
};

// One replay of the drag on a fresh program: the time of each step.
ReplayTimes ReplayOnce(const DragKind& kind, int mode) {
  std::unique_ptr<Program> owner;
  Program& program = Prepare(owner, kind, mode);
  const std::pair<int, int> press = PressPoint(program, kind);
  const unsigned held = HeldMask(kind.button) | kind.held;
  Send(program, kind, Event(PaneEventType::Press, kind.button, press.first, press.second, kind.modifiers, HeldMask(kind.button)));
  if (kind.held) {
    const PaneButton second = kind.held == kHeldLeft ? PaneButton::Left : PaneButton::Right;
    Send(program, kind, Event(PaneEventType::Press, second, press.first, press.second, kind.modifiers, held));
  }
  program.RenderPending();
  ReplayTimes times;
  const long faultsBefore = ThreadMinorFaults();
  for (int i = 1; i <= kSteps; ++i) {
    const auto [x, y] = StepPoint(kind, press, i);
    const double start = ThreadSeconds();
    Send(program, kind, Event(PaneEventType::Move, PaneButton::None, x, y, kind.modifiers, held));
    program.RenderPending();
    times.stepMs.push_back((ThreadSeconds() - start) * 1e3);
  }
  times.faults = ThreadMinorFaults() - faultsBefore;
  return times;
}

// Every replay runs the same steps from the same state, so a step our code
// makes slow is slow in each of them; the fastest of a step's times leaves
// out what other processes on the machine added to it.
void ReplayDrag(benchmark::State& state, DragKind kind, int mode) {
  std::vector<double> fastest(kSteps, 1e300);
  long faults = 0;
  for (auto _ : state) {
    const ReplayTimes times = ReplayOnce(kind, mode);
    double total = 0;
    for (std::size_t i = 0; i < fastest.size(); ++i) {
      fastest[i] = std::min(fastest[i], times.stepMs[i]);
      total += times.stepMs[i];
    }
    state.SetIterationTime(total / kSteps * 1e-3);
    faults += times.faults;
  }
  state.counters["faults"] = static_cast<double>(faults) / static_cast<double>(kSteps * state.iterations());
  RecordPercentiles(state, fastest);
}

// The release that ends a drag: the final frames (and, for mapping drags,
// the rebuild of the UV table).
void ReplayRelease(benchmark::State& state, DragKind kind, int mode) {
  std::vector<double> ms;
  for (auto _ : state) {
    std::unique_ptr<Program> owner;
    Program& program = Prepare(owner, kind, mode);
    const std::pair<int, int> press = PressPoint(program, kind);
    Send(program, kind, Event(PaneEventType::Press, kind.button, press.first, press.second, kind.modifiers, HeldMask(kind.button)));
    const auto [x, y] = StepPoint(kind, press, 1);
    Send(program, kind, Event(PaneEventType::Move, PaneButton::None, x, y, kind.modifiers, HeldMask(kind.button)));
    program.RenderPending();
    const double start = ThreadSeconds();
    Send(program, kind, Event(PaneEventType::Release, kind.button, x, y, kind.modifiers, 0));
    program.RenderPending();
    const double seconds = ThreadSeconds() - start;
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1e3);
  }
  RecordPercentiles(state, ms);
}

std::vector<DragKind> DragKinds() {
  using B = PaneButton;
  std::vector<DragKind> kinds;
  auto add = [&](DragKind k) { kinds.push_back(k); };
  add({.name = "SkinSelectionMove", .pane = Pane::Skin, .button = B::Right, .selectAll = true});
  add({.name = "SkinSelectionRotate", .pane = Pane::Skin, .button = B::Right, .modifiers = kModShift, .selectAll = true});
  add({.name = "SkinSelectionScale", .pane = Pane::Skin, .button = B::Right, .modifiers = kModCtrl, .selectAll = true});
  add({.name = "SkinVertexDrag", .pane = Pane::Skin, .button = B::Left, .vertexDrag = true});
  add({.name = "SkinWarp", .pane = Pane::Skin, .button = B::Right, .warp = true, .selectAll = true});
  add({.name = "SkinSweepSelect", .pane = Pane::Skin, .button = B::Left, .modifiers = kModShift, .sweep = true});
  add({.name = "SkinPaintPoint", .pane = Pane::Skin, .button = B::Left, .editMode = EditMode::Paint, .brushKind = BrushKind::Point});
  add({.name = "SkinPaintPencil", .pane = Pane::Skin, .button = B::Left, .editMode = EditMode::Paint, .brushKind = BrushKind::Pencil});
  add({.name = "SkinPaintLine", .pane = Pane::Skin, .button = B::Left, .editMode = EditMode::Paint, .brushKind = BrushKind::Line});
  add({.name = "IsoPaintPoint", .pane = Pane::Iso, .button = B::Left, .editMode = EditMode::Paint, .brushKind = BrushKind::Point});
  add({.name = "IsoPaintPencil", .pane = Pane::Iso, .button = B::Left, .editMode = EditMode::Paint, .brushKind = BrushKind::Pencil});
  add({.name = "IsoPaintLine", .pane = Pane::Iso, .button = B::Left, .editMode = EditMode::Paint, .brushKind = BrushKind::Line});
  add({.name = "IsoTrackball", .pane = Pane::Iso, .button = B::Left, .cameraActive = true});
  add({.name = "IsoPan", .pane = Pane::Iso, .button = B::Right, .cameraActive = true});
  add({.name = "IsoZoom", .pane = Pane::Iso, .button = B::Middle, .cameraActive = true});
  add({.name = "IsoDolly", .pane = Pane::Iso, .button = B::Right, .held = kHeldLeft, .cameraActive = true});
  add({.name = "Splitter", .pane = Pane::Splitter, .button = B::Left});
  return kinds;
}

const int kRegistered = [] {
  const std::pair<const char*, int> modes[] = {{"textured", kModeTextured}, {"shaded", kModeTexturedGouraud}};
  for (const DragKind& kind : DragKinds()) {
    for (const auto& [modeName, mode] : modes) {
      const std::string name = std::string("BM_Replay") + kind.name + "/" + modeName;
      benchmark::RegisterBenchmark(name.c_str(), ReplayDrag, kind, mode)
          ->Iterations(kReplays)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
  }
  for (const DragKind& kind : DragKinds()) {
    const bool mappingDrag = kind.pane == Pane::Skin && kind.editMode == EditMode::Mapping && !kind.sweep;
    if (!mappingDrag && kind.pane != Pane::Splitter) continue;
    const std::string name = std::string("BM_Release") + kind.name + "/textured";
    benchmark::RegisterBenchmark(name.c_str(), ReplayRelease, kind, kModeTextured)
        ->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  return 0;
}();

}  // namespace
