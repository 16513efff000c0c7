#include "control/groups.h"

#include <array>
#include <span>

namespace qvx {

namespace {

void setEnabled(std::span<Widget* const> group, bool on) {
  for (Widget* w : group) w->enabled = on;
}

std::array<Widget*, 3> rangeA(Panel& p) {
  return {&p.Command3, &p.Command2, &p.Command4};
}
std::array<Widget*, 3> rangeB(Panel& p) {
  return {&p.Command6, &p.Command7, &p.Command5};
}

std::array<Widget*, 11> generator(Panel& p) {
  return {&p.GENMODEBUTTON,   &p.GENSTYLEBUTTON,
          &p.GENAMPBUTTON,    &p.SWRATIOBUTTON,
          &p.GENUPDATEBUTTON, &p.GENLFREQBUTTONN,
          &p.GENLFREQBUTTONP, &p.GENSFREQBUTTONN,
          &p.GENSFREQBUTTONP, &p.DCUP,
          &p.DCDOWN};
}

std::array<Widget*, 4> sample(Panel& p) {
  return {&p.SRATEN, &p.SRATEP, &p.SSIZEN, &p.SSIZEP};
}

std::array<Widget*, 7> file(Panel& p) {
  return {&p.Command22,      &p.Command1, &p.helpbutton, &p.fileloadbutton,
          &p.filesavebutton, &p.SETUP,    &p.UtilButton};
}

}  // namespace

void RANGEADISABLE(Scope& s) {
  setEnabled(rangeA(s.panel), false);
}
void RANGEAENABLE(Scope& s) {
  setEnabled(rangeA(s.panel), true);
}
void RANGEBDISABLE(Scope& s) {
  setEnabled(rangeB(s.panel), false);
}

// Without channel B fitted its set-up buttons and the C-trace selection stay unusable.
void RANGEBENABLE(Scope& s) {
  if (s.ChanBFitted == 0) {
    RANGEBDISABLE(s);
    s.panel.Command19.enabled = false;
    return;
  }
  setEnabled(rangeB(s.panel), true);
}

void GENDISABLE(Scope& s) {
  setEnabled(generator(s.panel), false);
  s.panel.GENUPDATEBACK.setBackColour(RGB(0x80, 0xFF, 0x80));
}

void GENENABLE(Scope& s) {
  setEnabled(generator(s.panel), true);
}

void TRIGGERDISABLE(Scope& s) {
  Panel& p = s.panel;
  const std::array<Widget*, 10> trigger = {
      &p.TMODEBUTTON, &p.TSOURCEBUTTON, &p.PRETRIGBUTTON, &p.TSLOPEBUTTON, &p.TriglevelBUTTON,
      &p.TRLARGEN,    &p.TRSMALLN,      &p.TRLARGEP,      &p.TRSMALLP,     &p.TRESETBUTTON};
  setEnabled(trigger, false);
}

// The five level buttons are left to the trigger panel, which knows whether the
// current trigger mode uses a level.
void TRIGGERENABLE(Scope& s) {
  Panel& p = s.panel;
  const std::array<Widget*, 5> trigger = {&p.TMODEBUTTON, &p.TSOURCEBUTTON, &p.PRETRIGBUTTON,
                                          &p.TSLOPEBUTTON, &p.TRESETBUTTON};
  setEnabled(trigger, true);
}

void SAMPLEDISABLE(Scope& s) {
  setEnabled(sample(s.panel), false);
}
void SAMPLEENABLE(Scope& s) {
  setEnabled(sample(s.panel), true);
}
void FILEDISABLE(Scope& s) {
  setEnabled(file(s.panel), false);
}
void FILEENABLE(Scope& s) {
  setEnabled(file(s.panel), true);
}

void setRangeGroups(Scope& s) {
  constexpr int kGenerator = 1;
  if (s.OperatingMode == kGenerator) {
    RANGEADISABLE(s);
    RANGEBDISABLE(s);
    return;
  }
  if (s.ChanAOn == 1)
    RANGEAENABLE(s);
  else
    RANGEADISABLE(s);
  if (s.ChanBOn == 1)
    RANGEBENABLE(s);
  else
    RANGEBDISABLE(s);
}

}  // namespace qvx
