#include "shell/klink_transport.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QSharedMemory>

#include <cstring>
#include <vector>

namespace mok::shell {
namespace {

constexpr int kAnswerMilliseconds = 1000;
constexpr int kLookMilliseconds = 250;
constexpr qsizetype kLongestRequest = 64;

const QString& WatcherName() {
  static const QString name = QString::fromLatin1(klink::kWatcherTitle);
  return name;
}

QByteArray Request() { return QByteArray(klink::kMessageName) + ' ' + QByteArray::number(qsizetype(klink::kSectionSize)) + '\n'; }

// The stated section size of a request line, or -1 for anything else.
qsizetype StatedSize(const QByteArray& line) {
  const QList<QByteArray> parts = line.trimmed().split(' ');
  if (parts.size() != 2 || parts[0] != klink::kMessageName) return -1;
  bool ok = false;
  const qsizetype size = parts[1].toLongLong(&ok);
  return ok ? size : -1;
}

bool Connect(QLocalSocket& socket, int milliseconds) {
  socket.connectToServer(WatcherName());
  return socket.waitForConnected(milliseconds);
}

// The segment this copy writes into: made afresh, or the one a copy left
// behind (a crashed sender's, or another sender's at the same moment).
bool OpenSection(QSharedMemory& section) {
  if (section.create(static_cast<qsizetype>(klink::kSectionSize))) return true;
  if (section.error() != QSharedMemory::AlreadyExists || !section.attach()) return false;
  return section.size() >= static_cast<qsizetype>(klink::kSectionSize);
}

}  // namespace

QtLinkTransport::QtLinkTransport(QObject* parent) : QObject(parent) {}

QtLinkTransport::~QtLinkTransport() { StopWatching(); }

bool QtLinkTransport::WatcherRunning() {
  if (server_ != nullptr) return false;  // the watcher is this copy
  QLocalSocket socket;
  return Connect(socket, kLookMilliseconds);
}

Status QtLinkTransport::BecomeWatcher() {
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(WatcherName())) {
    // A socket file with nobody behind it is what a crashed watcher leaves.
    QLocalSocket probe;
    if (Connect(probe, kLookMilliseconds)) {
      delete server;
      return Error{klink::kAnotherWatcher, "KLink"};
    }
    QLocalServer::removeServer(WatcherName());
    if (!server->listen(WatcherName())) {
      const std::string why = server->errorString().toStdString();
      delete server;
      return Error{"Unable to Watch: " + why, "KLink"};
    }
  }
  server_ = server;
  connect(server_, &QLocalServer::newConnection, this, &QtLinkTransport::AcceptRequests);
  return Status::Ok();
}

void QtLinkTransport::StopWatching() {
  if (server_ == nullptr) return;
  server_->close();
  server_->deleteLater();
  server_ = nullptr;
}

LinkAnswer QtLinkTransport::SendToWatcher(std::span<const std::uint8_t> block) {
  const QDeadlineTimer deadline(kAnswerMilliseconds);
  QSharedMemory section(QString::fromLatin1(klink::kSectionName));
  if (!OpenSection(section)) return LinkAnswer::TimedOut;
  std::memcpy(section.data(), block.data(), block.size());

  QLocalSocket socket;
  if (!Connect(socket, static_cast<int>(deadline.remainingTime()))) {
    const bool nobody = socket.error() == QLocalSocket::ServerNotFoundError ||
                        socket.error() == QLocalSocket::ConnectionRefusedError;
    return nobody ? LinkAnswer::NoWatcher : LinkAnswer::TimedOut;
  }
  socket.write(Request());
  // The section stays attached until the watcher has answered.
  while (!socket.canReadLine()) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
      return LinkAnswer::TimedOut;
  }
  return socket.readLine().trimmed() == "1" ? LinkAnswer::Recognised : LinkAnswer::NotRecognised;
}

void QtLinkTransport::AcceptRequests() {
  while (server_ != nullptr && server_->hasPendingConnections()) {
    QLocalSocket* socket = server_->nextPendingConnection();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
  }
}

// One request per connection; anything but a request line is dropped.
void QtLinkTransport::Answer(QLocalSocket* socket) {
  if (!socket->canReadLine()) {
    if (socket->bytesAvailable() > kLongestRequest) socket->abort();
    return;
  }
  const KLinkReceipt receipt = ReadSection(StatedSize(socket->readLine(kLongestRequest + 1)));
  socket->write(receipt.recognised ? "1\n" : "0\n");
  socket->flush();
  socket->disconnectFromServer();
  if (report) report(receipt);
}

// The segment as the sender wrote it. A size other than the stated one,
// or a stated size other than 4096, is refused before anything is copied.
KLinkReceipt QtLinkTransport::ReadSection(qsizetype statedSize) {
  if (statedSize != static_cast<qsizetype>(klink::kSectionSize) || !receive) return {};
  QSharedMemory section(QString::fromLatin1(klink::kSectionName));
  if (!section.attach(QSharedMemory::ReadOnly) || section.size() != statedSize) return {};
  const auto* data = static_cast<const std::uint8_t*>(section.constData());
  const std::vector<std::uint8_t> copy(data, data + statedSize);
  section.detach();
  return receive(copy);
}

}  // namespace mok::shell
