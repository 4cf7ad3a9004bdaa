#pragma once
// Pictures of the 3D view outside the normal repaint: "&Benchmark" times the
// current mode over 100 quick frames, "Snapshot..." renders the view at a
// chosen size into a 24-bit BMP file, and "Quick Render" replaces the view's
// picture by a ray-traced one, row by row.

#include <cstdint>
#include <functional>
#include <string>

#include "core/application.h"
#include "core/result.h"
#include "core/skin_slot.h"
#include "render/render_dialogs.h"
#include "render/render_mode.h"

namespace mok {

// ---- Benchmark ----

inline constexpr int kBenchmarkFrames = 100;

// A clock in microseconds; the steady clock unless a test supplies one.
using MicrosecondClock = std::function<std::int64_t()>;
std::int64_t SteadyMicroseconds();

// "100 frames in %d milliseconds = %f fps". The milliseconds are whole; the
// rate is 100 / (ms * 0.001), and for a run shorter than one millisecond it
// comes from the microseconds instead (at least one), so it never divides by
// zero.
std::string BenchmarkSentence(std::int64_t elapsedMicroseconds);

// Renders `mode` 100 times with the quick kind and flags 15, calling
// `repaint` after each frame (the view shows it at once), and returns the
// sentence.
std::string RunRenderBenchmark(RenderMode& mode, RenderJob& job, const std::function<void()>& repaint,
                               const MicrosecondClock& clock = SteadyMicroseconds);

// "&Benchmark" (F11): the current mode on the view, the sentence in a message.
void BenchmarkCommand(Application& app, ViewRecord& view, const std::function<void()>& repaint);

// ---- Snapshot ----

inline constexpr const char* kSnapshotFilter = "Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*||";
inline constexpr const char* kSnapshotPattern = "*.bmp";

// The path as chosen, with ".bmp" appended unless it contains ".bmp".
std::string SnapshotPath(const std::string& chosen);

// Renders the view at the dialog's size (width rounded up to a multiple of
// 4) with the current mode (kind 0, the filter of the chosen rendering) or
// the ray tracer, and returns the picture top row first. The view's buffers,
// picture and filter are left exactly as they were.
SkinSlot RenderSnapshotImage(RenderJob& job, RenderMode& mode, const SnapshotDialog& dialog);

// The picture as an uncompressed 24-bit BMP, written through a temporary file.
Status WriteSnapshot(SkinSlot& image, const std::string& path);

// "Snapshot..." (F12): the dialog, the save dialog in `loadDir` (not
// remembered), then the file. Failures are shown as messages.
void SnapshotCommand(Application& app, ViewRecord& view);

// ---- Quick Render ----

// "Quick Render": the ray tracer into the view. After every row the view is
// repainted without rendering and the gradient box re-rendered, which shows
// RenderState::traceProgress; at the end the progress is cleared.
void QuickRenderCommand(Application& app, ViewRecord& view);

}  // namespace mok
