#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QLocalServer;

namespace qt {

// A later start of the program hands its archive to the running one over a
// local socket. Its name comes from the lock file's location, so every
// application folder (a test's, the demo's) has a channel of its own.
QString channelName(const std::string& lockFileHostPath);

// Passes an archive (a host path; empty for none) to the program listening
// on the channel. True once that program has taken it; false when nobody
// listens or no answer came in time.
bool handOver(const QString& channel, const std::string& archive, int timeoutMs = 3000);

// The running program's end of the channel: each archive handed over
// reaches onArchive from the event loop, after the sender has its answer.
class InstanceChannel : public QObject {
 public:
  InstanceChannel(const QString& channel, std::function<void(const std::string& archive)> onArchive,
                  QObject* parent = nullptr);
  bool listening() const;

 private:
  void accept();
  QLocalServer* server_;
  std::function<void(const std::string&)> onArchive_;
};

}  // namespace qt
