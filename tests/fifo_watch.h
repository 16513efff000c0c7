#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace qvx::testing {

// A FIFO under `name`, with a watchdog: code that waits in open() or read() of it for
// longer than a second is let go (the watchdog opens the other end), so a test of
// something that must not block fails instead of hanging.
class FifoWatch {
 public:
  explicit FifoWatch(std::string name) : name_(std::move(name)) {
    ::mkfifo(name_.c_str(), 0666);
    watchdog_ = std::thread([this] {
      const auto patience = std::chrono::steady_clock::now() + std::chrono::seconds(1);
      while (!done_) {
        if (std::chrono::steady_clock::now() > patience) {
          // A writer waiting for a reader: this end stays open so its writes land.
          if (readEnd_ < 0) readEnd_ = ::open(name_.c_str(), O_RDONLY | O_NONBLOCK);
          // A reader waiting for a writer: a writer that comes and goes gives it the end.
          const int w = ::open(name_.c_str(), O_WRONLY | O_NONBLOCK);
          if (w >= 0) ::close(w);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    });
  }
  ~FifoWatch() {
    done_ = true;
    watchdog_.join();
    if (readEnd_ >= 0) ::close(readEnd_);
    std::error_code ec;
    std::filesystem::remove(name_, ec);
  }
  FifoWatch(const FifoWatch&) = delete;
  FifoWatch& operator=(const FifoWatch&) = delete;

  // Whether the name still is the FIFO: nothing replaced or removed it.
  bool stillThere() const {
    std::error_code ec;
    return std::filesystem::is_fifo(name_, ec);
  }

 private:
  std::string name_;
  std::atomic<bool> done_{false};
  int readEnd_ = -1;
  std::thread watchdog_;
};

// Runs `f` and returns the seconds it took.
template <class F>
double secondsFor(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace qvx::testing
