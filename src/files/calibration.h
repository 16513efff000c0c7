#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/scope.h"

namespace qvx {

// The calibration file QVXcal.cfg (gains and offsets of A and B, one per line) and the
// adjustment panel UtilBox, which also sets the SCOPE+GEN pre-delay, the cursor's x
// reference and the remote-command prefix.
inline constexpr const char* kCalibrationFile = "QVXcal.cfg";

void UtilBoxSetup(Scope& s);
void CheckCal(CalibrationState& s);
void SaveCal(Scope& s);
void UtilButton_Click(Scope& s);
void UtilExit_Click(Scope& s);
void CAGainUp_Click(Scope& s);
void CAGainDn_Click(Scope& s);
void CBGainUp_Click(Scope& s);
void CBGainDn_Click(Scope& s);
void CAOffUp_Click(Scope& s);
void CAOffDn_Click(Scope& s);
void CBOffUp_Click(Scope& s);
void CBOffDn_Click(Scope& s);
void DACADCdelup_Click(Scope& s);
void DACADCdeldn_Click(Scope& s);
// Switches the cursor's x reference between the first data point and the display's edge.
void Cursxwinsel_Click(Scope& s);

// The calibration file's text for the values as they stand, and the values a text holds
// after the repairs (nothing when it does not hold four numbers).
struct Calibration {
  double gainA = 1, gainB = 1, offsetA = 0, offsetB = 0;
};
std::string calibrationText(const CalibrationState& s);
std::optional<Calibration> parseCalibration(std::string_view text);
// Takes the values a calibration file gave, or the defaults for one that gave none.
void applyCalibration(CalibrationState& s, const std::optional<Calibration>& c);

// The values of the adjustment panel a number can be typed for.
enum class Adjustment { GainA, GainB, OffsetA, OffsetB, PreDelay };
// Sets one of them to `value`, kept within the limits where its buttons stop and on their
// grid (gains in steps of 0.01, offsets in whole codes, the pre-delay in whole seconds),
// and shows the panel again as a button press does.
void setAdjustment(Scope& s, Adjustment which, double value);

// A gain as the panel shows it: "1.00", "0.90", "1.07".
std::string gainText(double gain);

}  // namespace qvx
