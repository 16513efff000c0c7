#pragma once
#include <cstdint>
#include <limits>
#include <vector>

#include "sim/load.h"
#include "sim/ticks.h"

namespace qvx::sim {

// The instrument's generator: its 64K-point memory, the loop it plays, and the voltage
// at its output over time (code x 2 V / 4095). The output is a latch that follows the
// word last written into the memory while nothing plays, shows each point in turn
// while the loop plays, and holds the point it stopped at.
//
// Point i of a playback started at time t0 with P ticks a point is on the output during
// (t0 + i P, t0 + (i + 1) P]; a sample taken at the end of that interval sees it. Times
// are whole ticks, so a sample instant on a point boundary is exactly on it.
class GeneratorUnit {
 public:
  static constexpr std::int32_t kMemSize = 65536;

  GeneratorUnit();

  // The memory stream: back to address 0, and one code stored at the next address.
  void rewind() { address_ = 0; }
  void write(int code);
  const std::vector<std::uint16_t>& memory() const { return memory_; }
  std::int32_t writes() const { return writes_; }

  // Output control at instrument time `now`, `point` ticks a point. `last` is the
  // loop's last point.
  void play(Ticks now, Ticks point, std::int32_t last, bool once);
  // Stops playing; the output holds the point it was showing.
  void stop(Ticks now);
  // Stops playing and holds the first point (the stepped pass waiting to start).
  void holdFirst(Ticks now);
  bool playsContinuously() const { return playing_ && !once_; }
  Ticks pointTicks() const { return point_; }

  // The output in volts at time t.
  double outputVolts(Ticks t) const;
  // The output of `load` driven by the generator's output, stepped exactly point by
  // point. It starts settled at the voltage held before the playback began.
  double loadVolts(Ticks t, const Load& load) const;
  // What an input socket wired to the output through `load` sees; with `ac` the DC
  // part, the mean of the playing loop carried through the load, is removed.
  double socketVolts(Ticks t, const Load& load, bool ac) const;
  // Seconds after which the output repeats itself: the loop time while it plays
  // continuously, 0 while it holds still, infinity during a single pass.
  double period() const;
  // Rising crossings of `thresholdVolts` by the output during (t0, t1]: a point at or
  // above the threshold following one below it.
  std::int64_t risingEdges(Ticks t0, Ticks t1, double thresholdVolts) const;

 private:
  static double volts(int code) { return code * 2.0 / 4095; }
  // Point being shown at time t (absolute count from the start, -1 before it), and
  // how far into it t lies, in points (0 < fraction <= 1, more after a single pass).
  struct Position {
    std::int64_t point;
    double fraction;
  };
  Position positionAt(Ticks t) const;
  int codeOfPoint(std::int64_t n) const;
  bool covers(Ticks t) const { return hasPlayback_ && t > start_ && t <= stop_; }

  std::vector<std::uint16_t> memory_;
  std::int32_t address_ = 0;
  std::int32_t writes_ = 0;
  int latch_ = 0;

  // The last playback, kept after it stopped so that samples taken during it can be
  // worked out afterwards.
  bool hasPlayback_ = false;
  bool playing_ = false;
  bool once_ = false;
  Ticks start_ = 0, point_ = 0;
  Ticks stop_ = kNever;
  int before_ = 0;  // the code shown before the playback began
  std::vector<std::uint16_t> played_;
  double mean_ = 0;

  // Integration state per load: its state after `points` points of the playback.
  struct LoadState {
    Load load;
    LoadModel model;
    LoadModel::Step perPoint;
    std::int64_t points;
    LoadModel::State x;
  };
  mutable std::vector<LoadState> loads_;
  // Rising edges into each loop position for one threshold, as running sums.
  mutable double edgeThreshold_ = std::numeric_limits<double>::quiet_NaN();
  mutable std::vector<std::int64_t> edgeSums_;
};

}  // namespace qvx::sim
