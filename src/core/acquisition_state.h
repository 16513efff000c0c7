#pragma once
#include <cstdint>

#include "panel/colour.h"

namespace qvx {

// Sample rate and buffer size (acquisition/timebase).
struct TimebaseState {
  int SampleRateIndex = 3;
  std::int32_t SampleSizeIndex = 1;
  int RateIndexA = 3, RateIndexB = 3;
  std::int32_t SizeIndexA = 1, SizeIndexB = 1;
  std::int32_t SampleCount = 4096;
  std::int32_t LoadedSampleCount = 0;
  int RateCode = 2;
  int ScrollUnit = 1024;
  std::int32_t GenSizeIndex = 1;
};

// Channel set-up and the front-end configuration (acquisition/channels).
struct ChannelState {
  int ChanAOn = 1, ChanBOn = 1, ChanCOn = 1, ChanDOn = 1;
  int RangeA = 1, RangeB = 1;
  int CouplingA = -1, CouplingB = -1;
  int ProbeA = 0, ProbeB = 0;
  int ChannelConfig = 0;
  int PrevChannelConfig = 0;
  int RangeStepA = 0, RangeStepB = 0;
};

// Trigger settings and the trigger-level marker (acquisition/trigger).
struct TriggerState {
  int TrigMode = 0;    // 0 INST, 1 TRIG, 2 Trig(f)
  int TrigSource = 0;  // 0 A, 1 B, 2 C, 3 D
  int TrigSlope = 1;
  int PretrigIndex = 0;
  std::int32_t PretrigPoints = 0;
  float TrigLevelVolts = 0;
  float TrigLevelNorm = 0;
  double TrigCursorY = 2048;
  int TrigLevelCode = 2048;
  int TrigMarkOn = 0;
  int TrigMarkDrawn = 0;
  double TrigMarkY = 0;
  Colour TrigMarkColour = 0;
  Colour TrigMarkColourNext = 0;
  double TrigStepLarge = 256, TrigStepSmall = 16;
  int MarkerTimerArm = 1;
};

// The capture sequence (acquisition/capture): how long to wait, and what the
// instrument was armed with.
struct CaptureState {
  int WaitLoops = 100;
  int ArmedTrigLevel = 0;
  int ArmedTrigMode = 0;
  int TrigArmed = 0;
};

}  // namespace qvx
