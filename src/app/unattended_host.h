#pragma once
#include <iostream>

#include "core/host.h"

namespace qvx::app {

// The host of a run nobody watches (--screenshot): everything goes to the real host
// except message boxes, which are written to stderr and answered OK, so a refused file
// or a question cannot hold the program on a box nobody sees.
class UnattendedHost : public Host {
 public:
  explicit UnattendedHost(Host& inner) : inner_(inner) {}
  void DoEvents() override { inner_.DoEvents(); }
  void Sleep(int ms) override { inner_.Sleep(ms); }
  double Now() override { return inner_.Now(); }
  std::int64_t NowNanoseconds() override { return inner_.NowNanoseconds(); }
  double TimeOfDay() override { return inner_.TimeOfDay(); }
  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  FileLister& Files() override { return inner_.Files(); }
  int MsgBox(const std::string& text, int, const std::string& title) override {
    std::cerr << "qvxscope: " << title << ": " << text << "\n";
    return mb::AnswerOK;
  }

 private:
  Host& inner_;
};

}  // namespace qvx::app
