#include "sim/generator_unit.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qvx::sim {

namespace {
// Beyond this many time constants the capacitor has forgotten where it started (e^-40).
constexpr double kMemoryConstants = 40;
}  // namespace

GeneratorUnit::GeneratorUnit() : memory_(kMemSize, 0) {}

void GeneratorUnit::write(int code) {
  memory_[address_] = static_cast<std::uint16_t>(code & 0xFFF);
  address_ = (address_ + 1) % kMemSize;
  ++writes_;
  if (!playing_) latch_ = code & 0xFFF;
}

void GeneratorUnit::play(Ticks now, Ticks point, std::int32_t last, bool once) {
  if (playing_) stop(now);
  last = std::clamp<std::int32_t>(last, 0, kMemSize - 1);
  before_ = latch_;
  played_.assign(memory_.begin(), memory_.begin() + last + 1);
  const double meanCode =
      std::accumulate(played_.begin(), played_.end(), 0.0) / static_cast<double>(played_.size());
  mean_ = meanCode * 2.0 / 4095;
  start_ = now;
  point_ = point;
  once_ = once;
  stop_ = kNever;
  hasPlayback_ = true;
  playing_ = true;
  loads_.clear();
  edgeThreshold_ = std::numeric_limits<double>::quiet_NaN();
}

void GeneratorUnit::stop(Ticks now) {
  if (!playing_) return;
  latch_ = now > start_ ? codeOfPoint(positionAt(now).point) : before_;
  stop_ = std::max(now, start_);
  playing_ = false;
}

void GeneratorUnit::holdFirst(Ticks now) {
  stop(now);
  latch_ = memory_[0];
}

GeneratorUnit::Position GeneratorUnit::positionAt(Ticks t) const {
  const Ticks since = t - start_;
  if (since <= 0 || point_ <= 0) return {-1, 0};
  std::int64_t point = (since - 1) / point_;  // the interval (i P, (i + 1) P] holding t
  const auto last = static_cast<std::int64_t>(played_.size()) - 1;
  if (once_ && point > last) point = last;
  return {point, static_cast<double>(since - point * point_) / static_cast<double>(point_)};
}

int GeneratorUnit::codeOfPoint(std::int64_t n) const {
  if (n < 0) return before_;
  const auto size = static_cast<std::int64_t>(played_.size());
  return played_[static_cast<std::size_t>(once_ ? std::min(n, size - 1) : n % size)];
}

double GeneratorUnit::outputVolts(Ticks t) const {
  if (!hasPlayback_ || t > stop_) return volts(latch_);
  if (t <= start_) return volts(before_);
  return volts(codeOfPoint(positionAt(t).point));
}

double GeneratorUnit::loadVolts(Ticks t, const Load& load) const {
  if (load.straight()) return outputVolts(t);
  auto found = std::find_if(loads_.begin(), loads_.end(),
                            [&load](const LoadState& l) { return l.load == load; });
  if (found == loads_.end()) {
    const LoadModel model(load);
    found = loads_.insert(loads_.end(), {load, model, model.over(seconds(point_)), 0, {}});
    found->x = model.settled(volts(before_));
  }
  LoadState& l = *found;
  const LoadModel& model = l.model;
  if (!hasPlayback_) return model.output(model.settled(volts(latch_)), volts(latch_));
  if (t <= start_) return model.output(model.settled(volts(before_)), volts(before_));

  const Ticks until = std::min(t, stop_);
  const Position pos = positionAt(until);
  if (l.points > pos.point) {
    l.points = 0;
    l.x = model.settled(volts(before_));
  }
  const double pointSeconds = seconds(point_);
  const auto forgetting = static_cast<std::int64_t>(
      std::ceil(kMemoryConstants * model.slowestSeconds() / pointSeconds));
  if (pos.point - l.points > forgetting) {
    l.points = pos.point - forgetting;
    l.x = model.settled(volts(codeOfPoint(l.points)));
  }
  // Each point is a constant input for one point time.
  for (; l.points < pos.point; ++l.points)
    l.x = l.perPoint.apply(l.x, volts(codeOfPoint(l.points)));
  const double u = volts(codeOfPoint(pos.point));
  LoadModel::State x = pos.fraction == 1 ? l.perPoint.apply(l.x, u)
                                         : model.over(pos.fraction * pointSeconds).apply(l.x, u);
  if (t <= stop_) return model.output(x, u);
  const double held = volts(latch_);
  x = model.over(seconds(t - stop_)).apply(x, held);
  return model.output(x, held);
}

double GeneratorUnit::socketVolts(Ticks t, const Load& load, bool ac) const {
  const double v = loadVolts(t, load);
  if (!ac) return v;
  // A coupling capacitor passes only what changes: the loop about its mean.
  return covers(t) ? v - mean_ * LoadModel(load).dcGain() : 0;
}

double GeneratorUnit::period() const {
  if (!playing_) return 0;
  if (once_) return std::numeric_limits<double>::infinity();
  return static_cast<double>(played_.size()) * seconds(point_);
}

std::int64_t GeneratorUnit::risingEdges(Ticks t0, Ticks t1, double thresholdVolts) const {
  if (!hasPlayback_) return 0;
  t0 = std::max(t0, start_);
  t1 = std::min(t1, stop_);
  if (t1 <= t0) return 0;

  const auto size = static_cast<std::int64_t>(played_.size());
  auto below = [&](int code) { return volts(code) < thresholdVolts; };
  if (!(edgeThreshold_ == thresholdVolts)) {
    edgeSums_.assign(static_cast<std::size_t>(size), 0);
    for (std::int64_t j = 1; j < size; ++j)
      edgeSums_[j] = edgeSums_[j - 1] + (below(played_[j - 1]) && !below(played_[j]) ? 1 : 0);
    edgeThreshold_ = thresholdVolts;
  }
  const std::int64_t wrapRise = below(played_[size - 1]) && !below(played_[0]) ? 1 : 0;
  const std::int64_t perLoop = edgeSums_[size - 1] + wrapRise;
  // Rising transitions into points 1..n.
  auto into = [&](std::int64_t n) -> std::int64_t {
    if (once_) return edgeSums_[std::min(n, size - 1)];
    return n / size * perLoop + edgeSums_[n % size];
  };

  std::int64_t from = positionAt(t0).point;
  const std::int64_t to = positionAt(t1).point;
  std::int64_t edges = 0;
  if (from < 0 && to >= 0) {
    if (below(before_) && !below(played_[0])) ++edges;
    from = 0;
  }
  if (to > from) edges += into(to) - into(from);
  return edges;
}

}  // namespace qvx::sim
