#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "child_process.h"

namespace qvx::testing {

// A client of the SCPI server over a real TCP socket to 127.0.0.1, as a lab script is.
// Every wait ends after `timeout` seconds, so a test that gets no answer fails rather than
// hangs.
class ScpiClient {
 public:
  explicit ScpiClient(int port, double timeout = 30) : timeout_(timeout) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  ~ScpiClient() { close(); }
  ScpiClient(const ScpiClient&) = delete;
  ScpiClient& operator=(const ScpiClient&) = delete;

  bool connected() const { return connected_; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  // Sends the bytes as they are; false when the socket refused them within the timeout.
  bool sendRaw(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      if (!wait(POLLOUT)) return false;
      // Never blocks inside send: a peer that stops reading ends the wait at the timeout.
      const ssize_t n =
          ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool send(const std::string& line) { return sendRaw(line + "\n"); }

  // One reply line without its line end; nothing when none came within the timeout.
  std::optional<std::string> readLine() {
    for (;;) {
      const std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      if (!fill()) return std::nullopt;
    }
  }
  // Exactly `count` bytes.
  std::optional<std::string> readBytes(std::size_t count) {
    while (buffer_.size() < count)
      if (!fill()) return std::nullopt;
    std::string bytes = buffer_.substr(0, count);
    buffer_.erase(0, count);
    return bytes;
  }
  // An IEEE 488.2 definite-length block and the line end after it: its payload.
  std::optional<std::string> readBlock() {
    auto head = readBytes(2);
    if (!head || (*head)[0] != '#' || (*head)[1] < '1' || (*head)[1] > '9') return std::nullopt;
    auto length = readBytes(static_cast<std::size_t>((*head)[1] - '0'));
    if (!length) return std::nullopt;
    auto payload = readBytes(std::stoul(*length));
    auto end = readBytes(1);
    if (!payload || !end || *end != "\n") return std::nullopt;
    return payload;
  }

  std::string query(const std::string& line) {
    if (!send(line)) return "<send failed>";
    return readLine().value_or("<no reply>");
  }

 private:
  bool wait(short events) {
    pollfd p{fd_, events, 0};
    return ::poll(&p, 1, static_cast<int>(timeout_ * 1000)) > 0;
  }
  bool fill() {
    if (!wait(POLLIN)) return false;
    char bytes[65536];
    const ssize_t n = ::recv(fd_, bytes, sizeof bytes, 0);
    if (n <= 0) return false;
    buffer_.append(bytes, static_cast<std::size_t>(n));
    return true;
  }

  int fd_ = -1;
  bool connected_ = false;
  double timeout_;
  std::string buffer_;
};

// The port that `qvxscope --scpi=0` says on stderr it listens on; 0 when it has not said
// so within `seconds`.
inline int scpiPortOf(const ChildProcess& program, double seconds = 30) {
  const std::regex said("SCPI server listening on 127\\.0\\.0\\.1:([0-9]+)");
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < until) {
    std::smatch m;
    const std::string text = program.stderrText();
    if (std::regex_search(text, m, said)) return std::stoi(m[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

}  // namespace qvx::testing
