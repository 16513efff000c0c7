#include "bode/readouts.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace qvx::bode {

namespace {
// Half the power: 20 log10(1/sqrt(2)).
constexpr double kHalfPowerDb = -3.0103;

std::string format(const char* pattern, double v, const char* unit) {
  char text[48];
  std::snprintf(text, sizeof text, pattern, v, unit);
  return text;
}
}  // namespace

Crossing bandEdge(const Response& r, int channel) {
  std::vector<const Point*> measured;
  for (const Point& p : r.points)
    if (p.channel[channel].measured) measured.push_back(&p);
  if (measured.size() < 2) return {};
  std::size_t peak = 0;
  for (std::size_t i = 1; i < measured.size(); ++i)
    if (measured[i]->channel[channel].gainDb > measured[peak]->channel[channel].gainDb) peak = i;
  const double level = measured[peak]->channel[channel].gainDb + kHalfPowerDb;
  const bool upwards =
      measured.back()->channel[channel].gainDb <= measured.front()->channel[channel].gainDb;
  const long step = upwards ? 1 : -1;
  for (long i = static_cast<long>(peak) + step; i >= 0 && i < static_cast<long>(measured.size());
       i += step) {
    const Point& near = *measured[static_cast<std::size_t>(i - step)];
    const Point& far = *measured[static_cast<std::size_t>(i)];
    const Reading& a = near.channel[channel];
    const Reading& b = far.channel[channel];
    if (b.gainDb > level) continue;
    const double t = (level - a.gainDb) / (b.gainDb - a.gainDb);
    const double lf = std::log10(near.frequency) + t * std::log10(far.frequency / near.frequency);
    return {true, std::pow(10.0, lf), a.phaseDeg + t * (b.phaseDeg - a.phaseDeg)};
  }
  return {};
}

int nearestPoint(const Response& r, double frequency) {
  int best = -1;
  double bestDistance = 0;
  for (std::size_t i = 0; i < r.points.size(); ++i) {
    const double d = std::fabs(std::log(r.points[i].frequency / frequency));
    if (best < 0 || d < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = d;
    }
  }
  return best;
}

double secondsLeft(double elapsed, int done, int planned) {
  if (done <= 0) return -1;
  return elapsed * (planned - done) / done;
}

std::string hertzText(double f) {
  const bool kilo = f >= 1000;
  const double v = kilo ? f / 1000 : f;
  const char* pattern = v < 10 ? "%.3f %s" : v < 100 ? "%.2f %s" : "%.1f %s";
  return format(pattern, v, kilo ? "kHz" : "Hz");
}

std::string shortHertzText(double f) {
  const bool kilo = f >= 1000;
  return format("%g %s", kilo ? f / 1000 : f, kilo ? "kHz" : "Hz");
}

}  // namespace qvx::bode
