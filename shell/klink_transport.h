#pragma once
// K-Link between two copies on one desktop: the block goes through the
// shared-memory segment keyed "KLink-Space", and the watcher is a local
// server named after the watcher's title, "KLink - Watcher". A request is
// one line, "MOK-KLink 4096\n"; the watcher reads the segment while the
// sender waits and answers "1\n" (recognised) or "0\n". The sender waits at
// most a second in all, so a watcher that hangs or dies never hangs the
// window.
//
// Stale state after a crash: a socket file nobody listens on is removed
// before listening (only after a connection attempt found nobody there), and
// a segment left behind by a crashed sender is attached and reused; Qt
// removes it when the last copy detaches.

#include <QLocalServer>
#include <QObject>

#include <functional>

#include "app/klink.h"

namespace mok::shell {

class QtLinkTransport final : public QObject, public LinkTransport {
  Q_OBJECT
 public:
  explicit QtLinkTransport(QObject* parent = nullptr);
  ~QtLinkTransport() override;

  // The watcher side: what to make of an arrived section, and what to do
  // once the answer went back to the sender.
  std::function<KLinkReceipt(std::span<const std::uint8_t>)> receive;
  std::function<void(const KLinkReceipt&)> report;

  bool WatcherRunning() override;
  Status BecomeWatcher() override;
  void StopWatching() override;
  LinkAnswer SendToWatcher(std::span<const std::uint8_t> block) override;

 private:
  void AcceptRequests();
  void Answer(class QLocalSocket* socket);
  KLinkReceipt ReadSection(qsizetype statedSize);

  QLocalServer* server_ = nullptr;
};

}  // namespace mok::shell
