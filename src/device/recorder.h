#pragma once
#include <cstdint>
#include <vector>

#include "core/port.h"

namespace qvx {

// Records every port access in order and passes it on to another backend (or to
// nothing), so tests can assert the exact byte conversation.
class RecordingPort : public PortIO {
 public:
  struct Access {
    bool write;
    std::uint32_t address;
    std::uint8_t value;
    bool operator==(const Access&) const = default;
  };

  explicit RecordingPort(PortIO* inner = nullptr) : inner_(inner) {}

  void OutPort(std::uint32_t address, std::uint8_t value) override {
    log.push_back({true, address, value});
    if (inner_) inner_->OutPort(address, value);
  }
  std::uint8_t InPort(std::uint32_t address) override {
    std::uint8_t v = inner_ ? inner_->InPort(address) : 0xFF;
    log.push_back({false, address, v});
    return v;
  }
  void Shutdown() override {
    ++shutdowns;
    if (inner_) inner_->Shutdown();
  }

  std::vector<Access> log;
  int shutdowns = 0;

 private:
  PortIO* inner_;
};

}  // namespace qvx
