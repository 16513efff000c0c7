#include "sim/load.h"

#include <cmath>

namespace qvx::sim {

namespace {
using Matrix = std::array<double, 4>;

// e^(A h) of a 2 x 2 matrix in closed form: with s half the trace and M = A - s I,
// M^2 = q I, so the series folds into cosh/cos and sinh/sin of sqrt(|q|) h.
Matrix exponential(const Matrix& a, double h) {
  const double s = (a[0] + a[3]) / 2;
  const Matrix m{a[0] - s, a[1], a[2], a[3] - s};
  const double q = m[0] * m[0] + m[1] * m[2];
  double even = 1, odd = h;  // the factors of I and of M
  if (q > 0) {
    const double r = std::sqrt(q);
    even = std::cosh(r * h);
    odd = std::sinh(r * h) / r;
  } else if (q < 0) {
    const double w = std::sqrt(-q);
    even = std::cos(w * h);
    odd = std::sin(w * h) / w;
  }
  const double e = std::exp(s * h);
  return {e * (even + odd * m[0]), e * odd * m[1], e * odd * m[2], e * (even + odd * m[3])};
}

// A^-1 v.
std::array<double, 2> solve(const Matrix& a, const std::array<double, 2>& v) {
  const double det = a[0] * a[3] - a[1] * a[2];
  return {(a[3] * v[0] - a[1] * v[1]) / det, (a[0] * v[1] - a[2] * v[0]) / det};
}
}  // namespace

LoadModel::LoadModel(const Load& load) {
  // A first-order load keeps its second state decoupled, resting at 0 and never driven.
  const double rc = load.ohms * load.farads;
  switch (load.kind) {
    case Load::Kind::Straight:
      a_ = {-1, 0, 0, -1};
      d_ = 1;
      break;
    case Load::Kind::LowPass:  // x: the capacitor's voltage, the output
      a_ = {-1 / rc, 0, 0, -1};
      b_ = {1 / rc, 0};
      c_ = {1, 0};
      slowest_ = rc;
      break;
    case Load::Kind::HighPass:  // x: the capacitor's voltage; the output is across R
      a_ = {-1 / rc, 0, 0, -1};
      b_ = {1 / rc, 0};
      c_ = {-1, 0};
      d_ = 1;
      slowest_ = rc;
      break;
    case Load::Kind::Rlc: {  // x: the capacitor's voltage and the loop current
      const double l = load.henrys, c = load.farads, r = load.ohms;
      a_ = {0, 1 / c, -1 / l, -r / l};
      b_ = {0, 1 / l};
      c_ = {1, 0};
      // The slower root of s^2 + (R/L) s + 1/(LC): its real part sets the decay.
      const double half = r / (2 * l), disc = half * half - 1 / (l * c);
      slowest_ = 1 / (disc > 0 ? half - std::sqrt(disc) : half);
      break;
    }
  }
}

LoadModel::State LoadModel::settled(double u) const {
  const State x = solve(a_, {b_[0] * u, b_[1] * u});
  return {-x[0], -x[1]};
}

LoadModel::Step LoadModel::over(double seconds) const {
  const Matrix e = exponential(a_, seconds);
  const State moved{(e[0] - 1) * b_[0] + e[1] * b_[1], e[2] * b_[0] + (e[3] - 1) * b_[1]};
  return {e, solve(a_, moved)};
}

double LoadModel::dcGain() const {
  return output(settled(1), 1);
}

}  // namespace qvx::sim
