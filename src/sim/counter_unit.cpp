#include "sim/counter_unit.h"

#include <algorithm>

namespace qvx::sim {

namespace {
constexpr int kClear = 128, kRun = 32, kManualRunning = 16;
enum Control { ControlC = 0, ControlD = 1, Manual = 2, Gate = 3 };

int source(int control) {
  return control & 3;
}
int startStop(int control) {
  return (control >> 2) & 3;
}
}  // namespace

EdgeTrain CounterUnit::sourceEdges() const {
  switch (source(control_)) {
    case 0:
      return risingEdges(inputs_.c);
    case 1:
      return risingEdges(inputs_.d);
    case 2:
      return comparatorEdges(inputs_, frontEnd_, comparator_);
    default:
      return referenceEdges();
  }
}

// The window opens and closes with the events of the start/stop control: the gate's
// second, the high time of C (rising to falling edge), the low time of D, or the span
// of the manual bit.
void CounterUnit::arm(Ticks now) {
  armed_ = true;
  held_ = 0;
  runSince_ = now;
  switch (startStop(control_)) {
    case Gate:
      windowStart_ = now;
      windowEnd_ = now + kGateTicks;
      break;
    case ControlC:
      windowStart_ = risingEdges(inputs_.c).next(now);
      windowEnd_ = fallingEdges(inputs_.c).next(windowStart_);
      break;
    case ControlD:
      windowStart_ = fallingEdges(inputs_.d).next(now);
      windowEnd_ = risingEdges(inputs_.d).next(windowStart_);
      break;
    default:
      windowStart_ = (control_ & kManualRunning) ? now : kNever;
      windowEnd_ = kNever;
      break;
  }
}

void CounterUnit::load(int control, int frontEnd, Ticks now, const GeneratorUnit* output) {
  const int before = control_, frontBefore = frontEnd_;
  // What ran so far is counted under the settings it ran with.
  if (running_ && armed_) held_ += countIn(runSince_, now);
  runSince_ = now;
  output_ = output;
  control_ = control;
  frontEnd_ = frontEnd;
  running_ = frontEnd & kRun;

  if (frontEnd & kClear) {
    armed_ = false;
    held_ = 0;
    return;
  }
  if ((frontBefore & kClear) && running_) {
    arm(now);
    return;
  }
  if (armed_ && startStop(control) == Manual) {
    const bool was = before & kManualRunning, is = control & kManualRunning;
    if (!was && is) windowStart_ = now;
    if (was && !is && windowEnd_ == kNever) windowEnd_ = now;
  }
}

// The comparator reads the generator's output on the output's own code scale: level
// 2048 sits at 1 V, the middle of a full-amplitude wave.
std::int64_t CounterUnit::generatorEdges(Ticks from, Ticks to) const {
  if (!(to > from)) return 0;
  const double volts = (comparator_.level - 0.5) * 2.0 / 4095;
  return output_->risingEdges(from, to, volts);
}

std::int64_t CounterUnit::countIn(Ticks from, Ticks to) const {
  from = std::max(from, windowStart_);
  to = std::min(to, windowEnd_);
  if (countsGenerator()) return generatorEdges(from, to);
  return sourceEdges().count(from, to);
}

std::int64_t CounterUnit::count(Ticks now) const {
  if (!armed_) return 0;
  std::int64_t n = held_;
  if (running_) n += countIn(runSince_, now);
  return n;
}

// The frequency gate is closed by the first input edge after its second, so without an
// input the count never ends.
bool CounterUnit::ended(Ticks now) const {
  if (!armed_ || now < windowEnd_) return false;
  if (startStop(control_) != Gate) return true;
  if (countsGenerator()) return generatorEdges(windowEnd_, now) > 0;
  return sourceEdges().next(windowEnd_) <= now;
}

std::uint8_t CounterUnit::dataLines(Ticks now) const {
  const std::int64_t n = count(now);
  const std::int64_t shown = std::min(n, kMaxCount);
  switch (control_ & 0xE0) {
    case 128:
      return static_cast<std::uint8_t>((ended(now) ? 0x80 : 0) | (n > kLimit ? 0x40 : 0) |
                                       ((shown >> 24) & 0x3F));
    case 96:
      return static_cast<std::uint8_t>(shown >> 16);
    case 64:
      return static_cast<std::uint8_t>(shown >> 8);
    case 32:
      return static_cast<std::uint8_t>(shown);
    default:
      return 0;
  }
}

}  // namespace qvx::sim
