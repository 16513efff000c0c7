#include "app/qt_event_source.h"

#include <QCoreApplication>
#include <cmath>

namespace qvx::app {

QtEventSource::QtEventSource() {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
}

void QtEventSource::processEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtEventSource::waitForEvents(int fd, double seconds) {
  if (fd != notifierFd_) {
    notifier_.reset();
    notifierFd_ = fd;
    if (fd >= 0) {
      notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
      QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        fdReady_ = true;
        // The host reads the descriptor dry after the wait; until then it stays readable.
        notifier_->setEnabled(false);
      });
    }
  }
  fdReady_ = false;
  if (notifier_) notifier_->setEnabled(true);
  // The timer makes sure the wait for the next event ends in time.
  wake_.start(std::max(0, static_cast<int>(std::ceil(seconds * 1000))));
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  wake_.stop();
  if (notifier_) notifier_->setEnabled(false);
  return fdReady_;
}

}  // namespace qvx::app
