#include "bode/response.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>
#include <stdexcept>

namespace qvx::bode {

namespace {
std::vector<std::string> fields(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t colon = text.find(':', from);
    out.push_back(text.substr(from, colon == std::string::npos ? std::string::npos : colon - from));
    if (colon == std::string::npos) return out;
    from = colon + 1;
  }
}

[[noreturn]] void refuse(const std::string& field, const std::string& why) {
  throw std::invalid_argument("--bode: " + field + " " + why);
}

double hertz(const std::string& text, const char* field) {
  try {
    std::size_t used = 0;
    const double v = std::stod(text, &used);
    if (used == text.size() && std::isfinite(v)) {
      if (v < kLowestHz || v > kHighestHz)
        refuse(field, "'" + text + "' lies outside the generator's 5..500000 Hz");
      return v;
    }
  } catch (const std::logic_error&) {
  }
  refuse(field, "'" + text + "' is not a frequency in Hz");
}

std::string number(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}
}  // namespace

Plan parsePlan(const std::string& text) {
  const std::vector<std::string> f = fields(text);
  if (f.size() < 3 || f.size() > 4)
    refuse("'" + text + "'", "should be START:STOP:POINTS_PER_DECADE[:single]");
  Plan p;
  p.start = hertz(f[0], "START");
  p.stop = hertz(f[1], "STOP");
  if (p.stop <= p.start) refuse("STOP", "'" + f[1] + "' must lie above START");
  std::size_t used = 0;
  int n = 0;
  try {
    n = std::stoi(f[2], &used);
  } catch (const std::logic_error&) {
    used = 0;
  }
  if (used == 0 || used != f[2].size() || n < 1 || n > kMostPerDecade)
    refuse("POINTS_PER_DECADE", "'" + f[2] + "' should be a whole number 1..100");
  p.perDecade = n;
  if (f.size() == 4) {
    if (f[3] != "single") refuse("the fourth field", "'" + f[3] + "' can only be single");
    p.single = true;
  }
  return p;
}

std::vector<double> stepFrequencies(const Plan& plan) {
  std::vector<double> out;
  const double decades = std::log10(plan.stop / plan.start);
  // A hair of slack so that a stop on the grid (20 Hz .. 200 kHz) is reached.
  const int steps = static_cast<int>(std::floor(decades * plan.perDecade + 1e-9));
  for (int k = 0; k <= steps; ++k)
    out.push_back(plan.start * std::pow(10.0, static_cast<double>(k) / plan.perDecade));
  return out;
}

std::complex<double> toneOf(const double* x, std::size_t count, double cyclesPerSample) {
  // The phasor turns by one step a sample, taken afresh every block so that rounding
  // cannot build up over a long window.
  constexpr std::size_t kBlock = 1024;
  std::complex<double> sum = 0;
  const double w = 2 * std::numbers::pi * cyclesPerSample;
  const std::complex<double> turn = std::polar(1.0, -w);
  std::complex<double> phasor = 1;
  for (std::size_t i = 0; i < count; ++i) {
    if (i % kBlock == 0) phasor = std::polar(1.0, -w * static_cast<double>(i));
    sum += x[i] * phasor;
    phasor *= turn;
  }
  return sum * (2.0 / static_cast<double>(count));
}

Reading readingOf(std::complex<double> answer, std::complex<double> stimulus) {
  const std::complex<double> h = answer / stimulus;
  Reading r;
  r.measured = true;
  r.gainDb = 20 * std::log10(std::abs(h));
  r.phaseDeg = std::arg(h) * 180 / std::numbers::pi;
  return r;
}

void unwrapPhases(Response& r) {
  for (int c = 0; c < 2; ++c) {
    bool have = false;
    double previous = 0;
    for (Point& p : r.points) {
      Reading& m = p.channel[c];
      if (!m.measured) continue;
      if (have) m.phaseDeg -= 360 * std::round((m.phaseDeg - previous) / 360);
      previous = m.phaseDeg;
      have = true;
    }
  }
}

Crossing minus3dB(const Response& r, int channel) {
  const double level = 20 * std::log10(std::sqrt(0.5));
  const Point* before = nullptr;
  for (const Point& p : r.points) {
    const Reading& m = p.channel[channel];
    if (!m.measured) continue;
    if (before != nullptr) {
      const Reading& b = before->channel[channel];
      if ((b.gainDb - level) * (m.gainDb - level) <= 0 && b.gainDb != m.gainDb) {
        const double t = (level - b.gainDb) / (m.gainDb - b.gainDb);
        const double lf =
            std::log10(before->frequency) + t * (std::log10(p.frequency / before->frequency));
        return {true, std::pow(10.0, lf), b.phaseDeg + t * (m.phaseDeg - b.phaseDeg)};
      }
    }
    before = &p;
  }
  return {};
}

std::string csvText(const Response& r) {
  std::ostringstream out;
  out << "frequency Hz,A gain dB,A phase deg";
  if (r.channelB) out << ",B gain dB,B phase deg";
  out << "\r\n";
  for (const Point& p : r.points) {
    out << number(p.frequency, 3);
    for (int c = 0; c < (r.channelB ? 2 : 1); ++c) {
      const Reading& m = p.channel[c];
      if (m.measured)
        out << ',' << number(m.gainDb, 3) << ',' << number(m.phaseDeg, 2);
      else
        out << ",,";
    }
    out << "\r\n";
  }
  return out.str();
}

}  // namespace qvx::bode
