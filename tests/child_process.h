#pragma once
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qvx::testing {

// The program started as another program would start it: in `folder`, with its stderr
// going to `folder`/stderr.txt. Stopped with SIGTERM when it goes out of scope; one that
// ignores it is killed, so a test never waits for ever.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, std::vector<std::string> args,
               const std::filesystem::path& folder)
      : folder_(folder) {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (::chdir(folder.c_str()) != 0) ::_exit(126);
      if (!std::freopen("stderr.txt", "w", stderr)) ::_exit(126);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
  }
  ~ChildProcess() { stop(); }

  // Sends `signal` and returns the exit status: -1 when the program did not end
  // normally, or did not end within `seconds` and had to be killed.
  int stop(int signal = SIGTERM, double seconds = 20) {
    if (pid_ <= 0) return status_;
    ::kill(pid_, signal);
    if (waitExit(seconds)) return status_;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    status_ = -1;
    return status_;
  }
  // Waits up to `seconds` for the program to end; its exit status (-1 when it did not
  // end normally), or nothing while it still runs.
  std::optional<int> waitExit(double seconds) {
    if (pid_ <= 0) return status_;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      int raw = 0;
      if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
        pid_ = -1;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return status_;
      }
      if (std::chrono::steady_clock::now() > until) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  int pid() const { return pid_; }
  std::string stderrText() const {
    std::ifstream in(folder_ / "stderr.txt");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  std::filesystem::path folder_;
  pid_t pid_ = -1;
  int status_ = -1;
};

// Waits up to `seconds` for `path` to exist.
inline bool waitForFile(const std::filesystem::path& path, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!std::filesystem::exists(path)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Writes a command file the way a careful driver does: under another name, then renamed.
inline void writeCommandFile(const std::filesystem::path& folder, const std::string& text,
                             const std::string& name = "QVXcom.txt") {
  {
    std::ofstream out(folder / "command.tmp", std::ios::binary);
    out << text;
  }
  std::filesystem::rename(folder / "command.tmp", folder / name);
}

}  // namespace qvx::testing
