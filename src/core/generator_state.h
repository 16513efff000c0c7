#pragma once
#include <cstdint>

#include "core/sample_buffers.h"

namespace qvx {

// The signal generator (generator/): the panel's settings, the output table and the
// custom wave it may be derived from.
struct GeneratorState {
  int GenMode = 0, GenStyle = 0, SavedGenStyle = 0;
  int GenSweepStart = 5;
  double GenFreq = 50000;
  int GenRateIndex0 = 4, GenRateIndex1 = 0, GenCustomRate = 1;
  int GenAmpIndex = 1;
  int GenDuty = 50;
  int GenDirty = 1;
  float GenLastIndex = 4096;
  std::int32_t DacLastIndex = 4096;
  int CustomMag = 0;
  double StepPreDelay = 1;
  int GenSweepShort = 1, GenSweepRatio = 0, GenSweepRatioShown = 2;
  float GenSweepStartFreq = 1000;
  double GenDutyAngle = 180;
  // The custom wave as loaded, copied or cropped; in CUSTOM mode GenTable is derived
  // from it by the magnification.
  SampleBuffer CustomView = SampleBuffer(65536, 0);
  int CustomMax = 0, CustomMin = 0, CustomMid = 0;
  float CustomMagFactor = 1;
  SampleBuffer GenTable = SampleBuffer(65536, 2048);
};

}  // namespace qvx
