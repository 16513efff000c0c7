#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "panel/colour.h"

namespace qvx {

// What the signal display shows (display/): the screen scale, the snapshot of the
// settings the shown data were taken with, and the trace selection.
struct DisplayState {
  std::int32_t ScreenHeight = 4096;
  int MidLevel = 2048;
  int DataRangeA = 0, DataRangeB = 0;
  int DataRateIndex = 3, DataRateIndexB = 3;
  std::int32_t DataSizeIndex = 1, DataSizeIndexB = 1;
  int SelA = 1, SelB = -1, SelC = -1, SelD = -1, SelE = -1;
  int SelAplusB = -1, SelAminusB = -1;
};

// The trace renderer's window on the buffers, its toggles and colours (display/render).
struct RenderState {
  int ViewWidth = 1000;
  int ViewStart = 0;
  std::int32_t ViewFirst = 0;
  double ViewPoints = 2000;
  // The rate index the time axis on the screen was drawn with. The cursor readout and the
  // measurement read time with it, so they agree with the labels whatever changed since.
  int AxisRateIndex = 3;
  float ScrollLast = 0;
  float LastShown = 0;
  float GenScrollLast = 0;
  std::int32_t FftSize = 4096;
  int GridOn = 1, JoinOn = 1, UnitsOn = -1;
  std::array<Colour, 6> TraceColour = {0x800000, 0x008000, 0x0000C0, 0xC000C0, 0xC07000, 0x2090D0};
  int BaseA = 2048, BaseB = 2048, BaseC = 2048, BaseD = 2048, BaseMid = 2048;
  double SavedMagA = 1, SavedMagB = 1, SavedMagMath = 1;
};

// Per-trace position and magnification (display/settings).
struct VerticalState {
  double PosStepA = 0, PosStepB = 0, PosStepC = 0;
  int PosStepD = 0, PosStepMath = 0;
  int MagIndexA = 0, MagIndexB = 0, MagIndexC = 0, MagIndexD = 0, MathMagIndex = 0;
  double MagA = 1, MagB = 1, MagC = 1;
  int MagD = 1, MagMath = 1;
  double ShiftA = 0, ShiftB = 0;
  int ShiftC = 0, ShiftD = 0;
  double ShiftMath = 0;
  double AxisOffsetA = 0, AxisOffsetB = 0, AxisOffsetC = 0, AxisOffsetD = 0, AxisOffsetMath = 0;
};

// The cursor, its readout and the frequency and duty-cycle measurement (display/cursor,
// display/readout).
struct CursorState {
  int CursorSel = 0;
  double CursorX = 0;
  Colour CursorColour = 0;
  int CursorDrawn = 0;
  double CursorXDrawn = 0;
  Colour CursorColourDrawn = 0;
  double CursorReading = 0;
  std::string CursorUnit = "mS";
  int CursorAbsolute = 0;
  int CursorButtonHeld = 0;
  double CursorCoarseStep = 0;
  std::int32_t CursorFineStep = 0;
  std::vector<int> MeasBuf;
  int MeasLow = 0, MeasHigh = 0, MeasMid = 0;
  std::array<std::int32_t, 4> MeasEdges = {0, 0, 0, 0};  // F1, F2, R1, R2
  int MeasInvalid = 0;
  float MeasFreq = 0, MeasDuty = 0;
  std::string MeasUnit = "Hz";
};

}  // namespace qvx
