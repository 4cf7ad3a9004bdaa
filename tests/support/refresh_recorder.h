#pragma once
// The refresh sink of the tests: records every request and list refill, and
// can look at the program's state when a request arrives.

#include <functional>
#include <vector>

#include "core/refresh.h"

namespace mok {

// The "MOK-Refresh" bits as the tests compare them.
inline constexpr int kPaneSkinView = PaneSet(Pane::Skin).bits();
inline constexpr int kPaneIsoView = PaneSet(Pane::Iso).bits();
inline constexpr int kPaneGradient = PaneSet(Pane::Gradient).bits();
inline constexpr int kPanePalette = PaneSet(Pane::Palette).bits();
inline constexpr int kPanesAll = PaneSet::All().bits();
inline constexpr int kRenderWithoutRepaint = static_cast<int>(Redraw::RenderOnly);
inline constexpr int kRepaintWithoutRender = static_cast<int>(Redraw::RepaintOnly);

namespace test {

// One request as the shell receives it: the bit set and the kind.
struct RefreshCall {
  int panes = 0;
  int kind = 0;
  bool operator==(const RefreshCall&) const = default;
};

class RefreshRecorder final : public RefreshSink {
 public:
  void Refresh(const RefreshRequest& request) override {
    received.push_back(request);
    requests.push_back({request.bits(), request.kind});
    if (onRefresh) onRefresh(request);
  }
  void RefillLists() override { ++refills; }

  int refreshes() const { return static_cast<int>(requests.size()); }
  int lastPaneBits() const { return requests.empty() ? 0 : requests.back().panes; }
  std::vector<int> paneBits() const {
    std::vector<int> bits;
    for (const RefreshCall& call : requests) bits.push_back(call.panes);
    return bits;
  }
  int Count(RefreshCall call) const {
    int n = 0;
    for (const RefreshCall& c : requests) n += c == call ? 1 : 0;
    return n;
  }
  void Clear() {
    received.clear();
    requests.clear();
    refills = 0;
  }

  std::vector<RefreshRequest> received;
  std::vector<RefreshCall> requests;
  int refills = 0;
  std::function<void(const RefreshRequest&)> onRefresh;
};

}  // namespace test
}  // namespace mok
