#include "scpi/panel_settings.h"

#include <algorithm>
#include <cmath>

#include "acquisition/channels.h"
#include "counter/panel.h"
#include "generator/panel.h"

namespace qvx::scpi {

namespace {

constexpr int kLowestDuty = 2, kHighestDuty = 98;

}  // namespace

bool channelShown(const Scope& s, int channel) {
  const int on[] = {s.ChanAOn, s.ChanBOn, s.ChanCOn, s.ChanDOn};
  return on[channel] == 1;
}

void setChannelShown(Scope& s, int channel, bool on) {
  if (channelShown(s, channel) == on) return;
  void (*const toggle[])(Scope&) = {SCHAbutton_Click, SCHBbutton_Click, SCHEbutton_Click,
                                    SCHFbutton_Click};
  toggle[channel](s);
}

void setDuty(Scope& s, double percent) {
  const double target = std::clamp(percent, double{kLowestDuty}, double{kHighestDuty});
  // Each press moves 2 %, so at most 48 presses reach any value; the bound keeps a
  // handler that stopped moving from holding the server.
  for (int presses = 0; presses < 49 && std::abs(s.GenDuty - target) > 1; ++presses) {
    if (s.GenDuty < target)
      DCUP_Click(s);
    else
      DCDOWN_Click(s);
  }
}

void setCounterFunction(Scope& s, int function) {
  if (s.FCntMode != function) FCntModebutton_Click(s);
}

}  // namespace qvx::scpi
