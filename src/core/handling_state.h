#pragma once
#include <string>

namespace qvx {

// The handling extras around the described window: the auto trigger, the spectrum's
// window and scale (all kept in the host's settings), and what the status line and the
// status box show beyond the described messages.
struct HandlingState {
  bool autoTrigger = false;      // a TRIG capture without a trigger is taken at once after a while
  int fftWindow = 0;             // spectrum/window.h FftWindow; 0 is the rectangular one
  bool fftDb = false;            // the spectrum on a dB scale instead of the linear one
  bool lastCaptureAuto = false;  // the capture shown was taken by the auto trigger
  // A run's refusal, kept readable in the status line until the next run starts.
  std::string statusLine;
  // The readout whose number is being typed (control/typed_numbers), empty while none is.
  std::string typedReadout;
};

}  // namespace qvx
