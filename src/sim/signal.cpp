#include "sim/signal.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace qvx::sim {

namespace {
constexpr double kTwoPi = 6.283185307179586;

constexpr Ticks kNoiseStepTicks = kTicksPerSecond / 100'000'000;  // a new value every 10 ns

// Noise that is a pure function of time: the same instant always reads the same value,
// so a capture read twice gives the same data.
double noiseAt(Ticks t) {
  auto x = static_cast<std::uint64_t>(floorDiv(t, kNoiseStepTicks));
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ULL;
  x ^= x >> 33;
  return static_cast<double>(x >> 11) / static_cast<double>(1ULL << 53) * 2 - 1;
}

std::vector<std::string> fields(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ':')) out.push_back(item);
  if (!text.empty() && text.back() == ':') out.push_back("");
  return out;
}

[[noreturn]] void malformed(const std::string& option, const std::string& text,
                            const std::string& why) {
  throw std::invalid_argument(option + ": '" + text + "' " + why);
}

double number(const std::string& field, const std::string& option, const std::string& text) {
  try {
    std::size_t used = 0;
    double v = std::stod(field, &used);
    if (used == field.size() && std::isfinite(v)) return v;
  } catch (const std::exception&) {
  }
  malformed(option, text, "has '" + field + "' where a number belongs");
}
// "gen", "gen-rc:ohms:farads", "gen-hp:ohms:farads" or "gen-rlc:ohms:henrys:farads": the
// generator's output, straight or through a load.
AnalogSignal parseGenerator(const std::vector<std::string>& f, const std::string& option,
                            const std::string& text) {
  AnalogSignal s;
  s.shape = AnalogSignal::Shape::Generator;
  s.amplitude = 0;
  if (f[0] == "gen") {
    if (f.size() != 1) malformed(option, text, "should be gen or gen-rc:ohms:farads");
    return s;
  }
  Load& load = s.load;
  if (f[0] == "gen-rlc") {
    if (f.size() != 4) malformed(option, text, "should be gen-rlc:ohms:henrys:farads");
    load.kind = Load::Kind::Rlc;
    load.ohms = number(f[1], option, text);
    load.henrys = number(f[2], option, text);
    load.farads = number(f[3], option, text);
    // A loop without resistance would ring for ever.
    if (load.ohms <= 0 || load.henrys <= 0 || load.farads <= 0)
      malformed(option, text, "needs a resistance, an inductance and a capacitance above 0");
    return s;
  }
  if (f.size() != 3) malformed(option, text, "should be " + f[0] + ":ohms:farads");
  load.kind = f[0] == "gen-rc" ? Load::Kind::LowPass : Load::Kind::HighPass;
  load.ohms = number(f[1], option, text);
  load.farads = number(f[2], option, text);
  if (load.ohms <= 0 || load.farads <= 0)
    malformed(option, text, "needs a resistance and a capacitance above 0");
  return s;
}
}  // namespace

double AnalogSignal::volts(Ticks t, bool ac) const {
  if (shape == Shape::Noise) return (ac ? 0 : offset) + amplitude * noiseAt(t);
  return voltsAtPhase(cyclesAt(frequency, t).fraction, ac);
}

double AnalogSignal::voltsAtPhase(double p, bool ac) const {
  const double dc = ac ? 0 : offset;
  switch (shape) {
    case Shape::Sine:
      return dc + amplitude * std::sin(kTwoPi * p);
    case Shape::Square:
      return dc + (p < 0.5 ? amplitude : -amplitude);
    case Shape::Triangle: {
      double unit = p < 0.25 ? 4 * p : p < 0.75 ? 2 - 4 * p : 4 * p - 4;
      return dc + amplitude * unit;
    }
    case Shape::Dc:
      return dc;
    case Shape::Noise:
    case Shape::Generator:
      return 0;
  }
  return dc;
}

double AnalogSignal::period() const {
  if (shape == Shape::Dc || shape == Shape::Generator || frequency <= 0 || amplitude == 0) return 0;
  if (shape == Shape::Noise) return std::numeric_limits<double>::infinity();
  return 1 / frequency;
}

bool DigitalSignal::high(Ticks t) const {
  if (frequency <= 0 || duty <= 0 || duty >= 100) return duty >= 100;
  return cyclesAt(frequency, t).fraction * 100 < duty;
}

double DigitalSignal::period() const {
  if (frequency <= 0 || duty <= 0 || duty >= 100) return 0;
  return 1 / frequency;
}

AnalogSignal parseAnalog(const std::string& text, const std::string& option) {
  const std::vector<std::string> f = fields(text);
  if (f.empty()) malformed(option, text, "names no wave");
  AnalogSignal s;
  if (f[0] == "dc") {
    if (f.size() != 2) malformed(option, text, "should be dc:volts");
    s.shape = AnalogSignal::Shape::Dc;
    s.offset = number(f[1], option, text);
    s.amplitude = 0;
    return s;
  }
  if (f[0] == "gen" || f[0] == "gen-rc" || f[0] == "gen-hp" || f[0] == "gen-rlc")
    return parseGenerator(f, option, text);
  if (f[0] == "sine")
    s.shape = AnalogSignal::Shape::Sine;
  else if (f[0] == "square")
    s.shape = AnalogSignal::Shape::Square;
  else if (f[0] == "triangle")
    s.shape = AnalogSignal::Shape::Triangle;
  else if (f[0] == "noise")
    s.shape = AnalogSignal::Shape::Noise;
  else
    malformed(option, text, "names no known wave (sine, square, triangle, dc, noise)");
  if (f.size() > 4) malformed(option, text, "has too many fields");
  if (f.size() > 1) s.frequency = number(f[1], option, text);
  if (f.size() > 2) s.amplitude = number(f[2], option, text);
  if (f.size() > 3) s.offset = number(f[3], option, text);
  if (s.frequency < 0) malformed(option, text, "has a negative frequency");
  return s;
}

DigitalSignal parseDigital(const std::string& text, const std::string& option) {
  if (text == "low") return {0, 0};
  if (text == "high") return {0, 100};
  const std::vector<std::string> f = fields(text);
  if (f.empty() || f[0] != "clock" || f.size() < 2 || f.size() > 3)
    malformed(option, text, "should be clock:frequency[:duty], low or high");
  DigitalSignal s;
  s.frequency = number(f[1], option, text);
  if (f.size() > 2) s.duty = number(f[2], option, text);
  if (s.frequency < 0) malformed(option, text, "has a negative frequency");
  if (s.duty < 0 || s.duty > 100) malformed(option, text, "has a duty outside 0..100 %");
  return s;
}

}  // namespace qvx::sim
