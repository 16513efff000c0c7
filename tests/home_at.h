#pragma once
#include <cstdlib>
#include <string>

namespace qvx::testing {

// HOME for the length of a test; programs started meanwhile inherit it.
class HomeAt {
 public:
  explicit HomeAt(const std::string& home) {
    if (const char* old = std::getenv("HOME")) previous_ = old;
    setenv("HOME", home.c_str(), 1);
  }
  ~HomeAt() { setenv("HOME", previous_.c_str(), 1); }

 private:
  std::string previous_;
};

}  // namespace qvx::testing
