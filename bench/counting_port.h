#pragma once
#include <cstdint>

#include "core/port.h"

namespace qvx::bench {

// Counts every access and passes it on; alone, every read answers `idle`.
class CountingPort : public PortIO {
 public:
  explicit CountingPort(PortIO* inner = nullptr, std::uint8_t idle = 0x5A)
      : inner_(inner), idle_(idle) {}
  void OutPort(std::uint32_t address, std::uint8_t value) override {
    ++accesses;
    if (inner_) inner_->OutPort(address, value);
  }
  std::uint8_t InPort(std::uint32_t address) override {
    ++accesses;
    return inner_ ? inner_->InPort(address) : idle_;
  }
  std::int64_t accesses = 0;

 private:
  PortIO* inner_;
  std::uint8_t idle_;
};

}  // namespace qvx::bench
