#include "app/klink.h"

#include <algorithm>
#include <cmath>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/changes.h"
#include "core/refresh.h"
#include "render/camera_controls.h"

namespace mok {
namespace {

constexpr const char* kWhere = "KLink-Space";

void WriteHeader(ByteWriter& out, std::size_t blockSize, std::int32_t kind) {
  out.i32(static_cast<std::int32_t>(blockSize));
  out.i32(klink::kProtocol);
  out.i32(kind);
}

template <std::size_t N>
std::array<std::uint8_t, N> Finish(const ByteWriter& out) {
  std::array<std::uint8_t, N> block{};
  std::copy(out.bytes().begin(), out.bytes().end(), block.begin());
  return block;
}

Error Refusal(const char* why) { return Error{why, kWhere}; }

Result<KLinkBlock> ReadMapping(ByteReader& in) {
  KLinkMapping mapping;
  mapping.skinWidth = in.i32();
  mapping.skinHeight = in.i32();
  for (UvPair& corner : mapping.corners) {
    corner.u = in.f32();
    corner.v = in.f32();
    if (!std::isfinite(corner.u) || !std::isfinite(corner.v)) return Refusal("a corner is not a finite number");
  }
  return KLinkBlock{mapping};
}

// The values the 3D view itself can reach: finite, distance and pan within
// the camera's bounds.
Result<KLinkBlock> ReadCamera(ByteReader& in) {
  CameraState camera;
  for (float& value : camera.values) {
    value = in.f32();
    if (!std::isfinite(value)) return Refusal("a camera value is not a finite number");
  }
  for (int i = 9; i < 12; ++i)
    if (std::fabs(camera.values[i]) > kMaxCameraDistance) return Refusal("the camera pan is out of range");
  const float distance = camera.values[12];
  if (distance < kMinCameraDistance || distance > kMaxCameraDistance) return Refusal("the camera distance is out of range");
  return KLinkBlock{camera};
}

}  // namespace

std::array<std::uint8_t, klink::kMappingBlockSize> WriteMappingBlock(const KLinkMapping& mapping) {
  ByteWriter out;
  WriteHeader(out, klink::kMappingBlockSize, klink::kKindMapping);
  out.i32(mapping.skinWidth);
  out.i32(mapping.skinHeight);
  for (const UvPair& corner : mapping.corners) {
    out.f32(corner.u);
    out.f32(corner.v);
  }
  return Finish<klink::kMappingBlockSize>(out);
}

std::array<std::uint8_t, klink::kCameraBlockSize> WriteCameraBlock(const CameraState& camera) {
  ByteWriter out;
  WriteHeader(out, klink::kCameraBlockSize, klink::kKindCamera);
  for (float value : camera.values) out.f32(value);
  return Finish<klink::kCameraBlockSize>(out);
}

Result<KLinkBlock> ReadKLinkBlock(std::span<const std::uint8_t> section) {
  if (section.size() != klink::kSectionSize) return Refusal("the section is not 4096 bytes");
  ByteReader in(section);
  const std::int32_t blockSize = in.i32();
  const std::int32_t protocol = in.i32();
  const std::int32_t kind = in.i32();
  if (protocol != klink::kProtocol) return Refusal("unknown protocol");
  if (kind == klink::kKindMapping && blockSize == static_cast<std::int32_t>(klink::kMappingBlockSize))
    return ReadMapping(in);
  if (kind == klink::kKindCamera && blockSize == static_cast<std::int32_t>(klink::kCameraBlockSize))
    return ReadCamera(in);
  return Refusal("unknown block size or kind");
}

int OnlySelectedVisibleFace(const MeshDocument& doc) {
  int count = 0;
  int last = -1;
  for (int i = 0; i < doc.triangleCount; ++i) {
    if (!doc.triangles[i].selectedVisible()) continue;
    ++count;
    last = i;
  }
  return count == 1 ? last : -1;
}

KLink::KLink(Application& app, LinkTransport& transport) : app_(app), transport_(transport) {}

void KLink::ToggleWatch() {
  if (app_.flags.watching != 0) {
    transport_.StopWatching();
    app_.flags.watching = 0;
    if (showTitle) showTitle(klink::kIdleTitle);
    return;
  }
  if (transport_.WatcherRunning()) {
    app_.prompter.Message(klink::kAnotherWatcher);
    return;
  }
  if (Status claimed = transport_.BecomeWatcher(); !claimed) {
    app_.prompter.Message(claimed.error().message);
    return;
  }
  app_.flags.watching = 1;
  if (showTitle) showTitle(klink::kWatcherTitle);
}

// The skin size is the active skin's, or the image the channel draws with
// when it has no slot (the receiver ignores both).
KLinkMapping KLink::MappingOfFace(int face) const {
  const MeshDocument& doc = *app_.document;
  const SkinSlot& skin = doc.activeSkin ? *doc.activeSkin : doc.skinFor(doc.activeChannel);
  KLinkMapping mapping;
  mapping.skinWidth = static_cast<std::int16_t>(skin.width);
  mapping.skinHeight = static_cast<std::int16_t>(skin.height);
  const MeshTriangle& triangle = doc.triangles[static_cast<std::size_t>(face)];
  for (int k = 0; k < 3; ++k) mapping.corners[k] = doc.uvVertices[static_cast<std::size_t>(triangle.uvIndex[k])];
  return mapping;
}

void KLink::TransferMapping() {
  if (app_.flags.watching != 0) {
    app_.prompter.Message(klink::kCannotInitiate);
    return;
  }
  if (!transport_.WatcherRunning()) {
    app_.prompter.Message(klink::kNoWatcher);
    return;
  }
  const int face = OnlySelectedVisibleFace(app_.doc());
  if (face < 0) {
    app_.prompter.Message(klink::kSelectOne);
    return;
  }
  const auto block = WriteMappingBlock(MappingOfFace(face));
  switch (transport_.SendToWatcher(block)) {
    case LinkAnswer::NoWatcher: app_.prompter.Message(klink::kNoWatcher); break;
    case LinkAnswer::TimedOut: app_.prompter.Message(klink::kNoAnswer); break;
    case LinkAnswer::Recognised:
    case LinkAnswer::NotRecognised: break;
  }
}

void KLink::ToggleSyncCameras() {
  if (app_.flags.syncCameras != 0) {
    app_.flags.syncCameras = 0;
    return;
  }
  app_.flags.syncCameras = 1;
  if (view_ != nullptr) SendCameraToWatcher(GetCameraState(view_->camera()));
}

void KLink::SendCameraToWatcher(const CameraState& state) {
  if (app_.flags.syncCameras == 0 || app_.flags.watching != 0) return;
  if (!transport_.WatcherRunning()) return;
  // A watcher that stopped answering would hold up every drag step for a
  // second; Sync Cameras switches off instead (its menu check shows it).
  if (transport_.SendToWatcher(WriteCameraBlock(state)) == LinkAnswer::TimedOut) app_.flags.syncCameras = 0;
}

KLinkReceipt KLink::Receive(std::span<const std::uint8_t> section) {
  KLinkReceipt receipt;
  Result<KLinkBlock> block = ReadKLinkBlock(section);
  if (!block) return receipt;
  if (const auto* mapping = std::get_if<KLinkMapping>(&*block)) {
    receipt.recognised = ReceiveMapping(*mapping, receipt);
  } else {
    receipt.recognised = ReceiveCamera(std::get<CameraState>(*block));
  }
  return receipt;
}

void KLink::Report(const KLinkReceipt& receipt) {
  if (!receipt.message.empty()) app_.prompter.Message(receipt.message);
}

// The corners are taken as texels of this copy's skin as they are. The
// three values go straight into the face's corner UVs after every face was
// brought up to date from the table, which is what parking them in three
// spare table entries and rebuilding with sync does, but needs no spare
// entries: the rebuilt table never holds more than three per face.
bool KLink::ReceiveMapping(const KLinkMapping& mapping, KLinkReceipt& receipt) {
  MeshDocument& doc = app_.doc();
  const int face = OnlySelectedVisibleFace(doc);
  if (face < 0) {
    receipt.message = klink::kWatcherSelectOne;
    return true;
  }
  doc.SyncCornerUvs();
  MeshTriangle& triangle = doc.triangles[static_cast<std::size_t>(face)];
  for (int k = 0; k < 3; ++k) triangle.uv[k] = mapping.corners[k];
  doc.RebuildUvVertices(false);
  app_.history.Commit(doc, klink::kReceivedMappingStep, ChangeScope::MeshOnly());
  Notify(app_, Change::Mapping);
  return true;
}

bool KLink::ReceiveCamera(const CameraState& camera) {
  if (view_ == nullptr) return false;
  SetCameraState(view_->camera(), camera);
  Notify(app_, Change::IsoView);
  return true;
}

}  // namespace mok
