#include "qt/instance_channel.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace qt {

namespace {
constexpr char kTaken[] = "taken\n";
}

QString channelName(const std::string& lockFileHostPath) {
  const QByteArray digest =
      QCryptographicHash::hash(QByteArray::fromStdString(lockFileHostPath), QCryptographicHash::Sha256);
  return QStringLiteral("hangarpak-") + QString::fromLatin1(digest.toHex().left(16));
}

bool handOver(const QString& channel, const std::string& archive, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(channel);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(QByteArray::fromStdString(archive) + '\n');
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  while (!socket.canReadLine())
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  return socket.readLine() == kTaken;
}

InstanceChannel::InstanceChannel(const QString& channel, std::function<void(const std::string&)> onArchive,
                                 QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), onArchive_(std::move(onArchive)) {
  // Whoever holds the instance lock owns the channel: a socket file left by
  // a program that died goes.
  QLocalServer::removeServer(channel);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(channel);
  connect(server_, &QLocalServer::newConnection, this, [this] { accept(); });
}

bool InstanceChannel::listening() const {
  return server_->isListening();
}

void InstanceChannel::accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) return;
      QByteArray line = socket->readLine();
      line.chop(1);
      socket->write(kTaken);
      socket->flush();
      socket->disconnectFromServer();
      // The archive is installed after the sender has its answer: an
      // install asks questions and may take long.
      const std::string archive = line.toStdString();
      QTimer::singleShot(0, this, [this, archive] {
        if (onArchive_) onArchive_(archive);
      });
    });
  }
}

}  // namespace qt
