#pragma once
#include <array>

namespace qvx::sim {

// What sits between the generator's output and an input socket: a straight wire, a
// first-order RC low-pass or high-pass, or a series RLC with the output taken across the
// capacitor (a second-order low-pass).
struct Load {
  enum class Kind { Straight, LowPass, HighPass, Rlc };
  Kind kind = Kind::Straight;
  double ohms = 0, henrys = 0, farads = 0;

  bool straight() const { return kind == Kind::Straight; }
  bool operator==(const Load&) const = default;
};

// The load as a linear system x' = A x + B u, y = C x + D u with at most two states,
// stepped exactly over a time in which its input u stays constant (the generator's
// output is a staircase): x(t + h) = e^(A h) x(t) + A^-1 (e^(A h) - I) B u.
class LoadModel {
 public:
  using State = std::array<double, 2>;

  explicit LoadModel(const Load& load);

  // The state after the input has stayed at u for ever.
  State settled(double u) const;
  // The step over `seconds`, worked out once for the many points of one length.
  struct Step {
    std::array<double, 4> free;  // e^(A h)
    State forced;                // A^-1 (e^(A h) - I) B
    State apply(const State& x, double u) const {
      return {free[0] * x[0] + free[1] * x[1] + forced[0] * u,
              free[2] * x[0] + free[3] * x[1] + forced[1] * u};
    }
  };
  Step over(double seconds) const;
  double output(const State& x, double u) const { return c_[0] * x[0] + c_[1] * x[1] + d_ * u; }
  // The output over the input for a constant input.
  double dcGain() const;
  // Seconds in which the slowest of the load's own motions decays by e.
  double slowestSeconds() const { return slowest_; }

 private:
  std::array<double, 4> a_{};  // row by row
  State b_{}, c_{};
  double d_ = 0;
  double slowest_ = 0;
};

}  // namespace qvx::sim
