#pragma once
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

#include "core/console_host.h"

namespace qvx::app {

// Qt's events (the SCPI server's sockets) for the console host of --headless: they run
// whenever the host lets events run, and the idle host waits for them as it waits for
// its timers and for the command file's folder.
class QtEventSource : public EventSource {
 public:
  QtEventSource();
  void processEvents() override;
  bool waitForEvents(int fd, double seconds) override;

 private:
  QTimer wake_;
  std::unique_ptr<QSocketNotifier> notifier_;
  int notifierFd_ = -1;
  bool fdReady_ = false;
};

}  // namespace qvx::app
