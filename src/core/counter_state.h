#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qvx {

// The frequency counter and its recorder (counter/).
struct CounterState {
  int FCntSource = 0, FCntMode = 0;
  int CounterRateCode = 0, CounterRegSel = 0;
  int CounterControl = 0;  // counter control byte sent with the front-end byte
  int CounterEnable = 0;   // counter run bit of the front-end byte
  int CounterClear = 0;    // counter clear bit of the front-end byte
  // Start/stop control: 0 Ch C, 1 Ch D, 2 Manual, 3 none (frequency mode).
  int FCntStSp = 3;
  // 0 Single, 1 Repeat (counter mode with Ch C or Ch D control).
  int FCntRepeat = 0;
  // Manual control: 0 not started, 1 counting, 2 stopped.
  int FCntManualState = 0;
  int FCntResetReq = 0;
  std::int32_t FCntValue = 0;
  std::string FCntText = "0000000000";
  // Shown in the readout instead of FCntText while it holds no reading of the signal now
  // counted (a new generator output), or why that signal cannot be counted.
  std::string FCntNote;
  // Settings the running measurement was started with (the level goes to ArmedTrigLevel),
  // so that a change of them restarts it.
  int FCntArmedMode = 0;    // the counter mode it was started in
  int FCntArmedSource = 0;  // the input it was started on
  int FCntArmedStSp = 3;    // the start/stop control it was started with
  int FCntReadings = 0;     // readings completed since the counting loop was entered
  int FCntOneReading = 0;   // 1: the run ends after its first frequency reading (SCPI query)
  // The last completed frequency reading: STOP during a gate shows it, not the cut count.
  std::int32_t FCntLastReading = 0;
  double FRecInterval = 0, FRecElapsed = 0, FRecNextTime = 0;
  int FRecLost = 0;  // records of the current recording that could not be appended
  std::string FRecField1, FRecField2;
  std::string FRecFolder;               // the folder shown in the recorder panel
  std::vector<std::string> FRecPlaces;  // the paths behind the recorder panel's place list
  int FCntSpare = 0;
};

}  // namespace qvx
