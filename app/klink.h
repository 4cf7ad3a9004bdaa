#pragma once
// K-Link: two running copies on one desktop work as a pair. One copy is the
// watcher; the other pushes the mapping of its one selected triangle
// (Transfer Mapping, V) or its 3D camera (Sync Cameras, B) to it.
//
// The data travels in the 4096-byte shared section "KLink-Space"; all words
// are 32-bit little-endian:
//   0 blockSize (44 mapping, 64 camera) | 4 protocol (1) | 8 kind (1, 2)
//   kind 1: 12 skinWidth | 16 skinHeight | 20..43 three (u, v) float pairs
//   kind 2: 12..63 the 13 floats of CameraState (m0..m8, pan, distance)
// Bytes past blockSize are never written. The section comes from another
// process, so the reader refuses anything but an exact block with finite,
// usable numbers before the document changes.
//
// How the block reaches the watcher is the LinkTransport's business (the
// shell's uses a shared-memory segment and a local socket named after the
// watcher's title); everything here works without a toolkit.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <variant>

#include "core/application.h"
#include "core/result.h"
#include "panes/iso_view.h"
#include "render/camera.h"

namespace mok {

namespace klink {
inline constexpr const char* kWatcherTitle = "KLink - Watcher";
inline constexpr const char* kIdleTitle = "MOK v0.9b3";
inline constexpr const char* kSectionName = "KLink-Space";
inline constexpr const char* kMessageName = "MOK-KLink";
inline constexpr std::size_t kSectionSize = 4096;
inline constexpr std::int32_t kProtocol = 1;
inline constexpr std::int32_t kKindMapping = 1;
inline constexpr std::int32_t kKindCamera = 2;
inline constexpr std::size_t kMappingBlockSize = 44;
inline constexpr std::size_t kCameraBlockSize = 64;

inline constexpr const char* kAnotherWatcher = "Another session is already Watching...there can be only one!";
inline constexpr const char* kCannotInitiate = "This window can not initiate this operation!";
inline constexpr const char* kNoWatcher = "Unable to locate a session that is Watching!";
inline constexpr const char* kSelectOne = "Please only select 1 triange for this operation!";
// The undo step of a mapping received from the other copy.
inline constexpr const char* kReceivedMappingStep = "Transfer Mapping";
inline constexpr const char* kWatcherSelectOne = "Watcher: Please only select 1 triange for this operation!";
// Our own: a watcher that stops answering while a transfer waits for it.
inline constexpr const char* kNoAnswer = "The Watching session did not answer; nothing was transferred.";
}  // namespace klink

// Kind 1: the sender's skin size and the three corners, in texel units.
struct KLinkMapping {
  std::int32_t skinWidth = 0;
  std::int32_t skinHeight = 0;
  std::array<UvPair, 3> corners{};
};

using KLinkBlock = std::variant<KLinkMapping, CameraState>;

std::array<std::uint8_t, klink::kMappingBlockSize> WriteMappingBlock(const KLinkMapping& mapping);
std::array<std::uint8_t, klink::kCameraBlockSize> WriteCameraBlock(const CameraState& camera);
// The whole section as the watcher sees it. Refused: a section that is not
// 4096 bytes, an unknown size/protocol/kind triple, a non-finite number, a
// camera distance or pan outside what the 3D view can hold.
Result<KLinkBlock> ReadKLinkBlock(std::span<const std::uint8_t> section);

// The watcher's answer to one request.
enum class LinkAnswer {
  Recognised,     // the watcher read a block it knows
  NotRecognised,  // the watcher answered 0
  NoWatcher,      // nobody is watching (or it went away before the request)
  TimedOut,       // the watcher went away or did not answer within a second
};

// Finding the watcher, claiming the role, and "write the block to the shared
// section, notify the watcher and wait for its answer".
class LinkTransport {
 public:
  virtual ~LinkTransport() = default;
  // Whether a copy other than this one is the watcher.
  virtual bool WatcherRunning() = 0;
  // Makes this copy the one others find; refused when another holds the
  // role or the system will not let us take it.
  virtual Status BecomeWatcher() = 0;
  virtual void StopWatching() = 0;
  virtual LinkAnswer SendToWatcher(std::span<const std::uint8_t> block) = 0;
};

// What the watcher made of one block; the message (if any) is shown after
// the answer went back, so the sender never waits on a message box.
struct KLinkReceipt {
  bool recognised = false;
  std::string message;
};

// The link of one copy: its commands (sender side), the receiver, and the
// 3D view's camera hand-off.
class KLink final : public CameraLink {
 public:
  KLink(Application& app, LinkTransport& transport);

  // The 3D view whose camera is sent and set; may stay null (headless).
  void AttachView(IsoView* view) { view_ = view; }
  // Called with the window title the copy should show after a watch change.
  std::function<void(const std::string&)> showTitle;

  // Begin Watch / End Watch.
  void ToggleWatch();
  void TransferMapping();
  void ToggleSyncCameras();
  // CameraLink: after a camera drag step of the 3D view. Silent; a watcher
  // that does not answer in time switches Sync Cameras off.
  void SendCameraToWatcher(const CameraState& state) override;

  // The receiver ("MOK-KLink"): any copy answers, watching or not.
  KLinkReceipt Receive(std::span<const std::uint8_t> section);
  void Report(const KLinkReceipt& receipt);

 private:
  bool ReceiveMapping(const KLinkMapping& mapping, KLinkReceipt& receipt);
  bool ReceiveCamera(const CameraState& camera);
  KLinkMapping MappingOfFace(int face) const;

  Application& app_;
  LinkTransport& transport_;
  IsoView* view_ = nullptr;
};

// The one selected visible triangle (selected bit set, hidden bit clear);
// -1 when there is none or more than one.
int OnlySelectedVisibleFace(const MeshDocument& doc);

}  // namespace mok
