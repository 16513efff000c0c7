#include "bode/sweep.h"

#include <string>

#include "bode/measurement.h"
#include "bode/readouts.h"
#include "bode/view.h"
#include "core/remote_poll.h"

namespace qvx {

namespace {

// While a sweep runs only its STOP, the program's GO/STOP, the picture and EXIT answer:
// everything else is disabled and afterwards put back as it was.
void lockForSweep(Scope& s) {
  Panel& p = s.panel;
  bode::View& v = bodeView(s);
  v.locked.clear();
  for (Widget* w : p.controls) {
    const bool inBox = w->container == &p.BodeBox;
    if (w->container && !inBox) continue;
    if (w == &p.GOBUTTON || w == &p.BodeBox || w == &p.BodeRunButton || w == &p.BodeExit ||
        (inBox && w->kind == Widget::Kind::Picture))
      continue;
    v.locked.emplace_back(w, w->enabled);
    w->enabled = false;
  }
}

void unlock(Scope& s) {
  bode::View& v = bodeView(s);
  for (auto [w, enabled] : v.locked) w->enabled = enabled;
  v.locked.clear();
}

}  // namespace

void BodeRunButton_Click(Scope& s) {
  bode::View& v = bodeView(s);
  if (v.running) {
    s.RunFlag = 0;
    return;
  }
  if (s.RunFlag != 0) {
    v.message = "STOP the run under way first";
    drawBode(s);
    return;
  }
  Panel& p = s.panel;
  v.running = true;
  v.message.clear();
  v.response = {};
  v.cursor = -1;
  v.secondsLeft = -1;
  v.startedAt = s.host.Now();
  // A sweep plays and samples through the instrument's memories; what the display
  // showed before it is put back afterwards.
  const SampleBuffers keptBuffers = s;
  const std::int32_t keptCount = s.SampleCount;
  const int keptFft[2] = {s.FftDoneA, s.FftDoneB};
  const std::string keptGo = p.GOBUTTON.caption;
  holdRemotePoll(s);
  lockForSweep(s);
  p.GOBUTTON.caption = "STOP";
  drawBode(s);
  const std::string why = bode::measure(s, v.plan, v.response, [&s](const bode::Response& r) {
    bode::View& view = bodeView(s);
    view.secondsLeft = bode::secondsLeft(s.host.Now() - view.startedAt,
                                         static_cast<int>(r.points.size()), r.planned);
    if (view.cursor < 0 && !r.points.empty()) view.cursor = 0;
    drawBode(s);
    s.host.DoEvents();
  });
  static_cast<SampleBuffers&>(s) = keptBuffers;
  s.SampleCount = keptCount;
  s.FftDoneA = keptFft[0];
  s.FftDoneB = keptFft[1];
  v.running = false;
  v.secondsLeft = -1;
  v.message = why;
  p.GOBUTTON.caption = keptGo;
  unlock(s);
  resumeRemotePoll(s);
  drawBode(s);
}

}  // namespace qvx
