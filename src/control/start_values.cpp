#include "control/start_values.h"

namespace qvx {

void SetFirstStartValues(Scope& s) {
  // Spectrum and scaling
  s.FftDoneA = 0;
  s.FftDoneB = 0;
  s.ScrollUnit = 1024;
  s.MidLevel = 2048;
  s.BufLast = 65535;
  s.ScreenHeight = 4096;
  s.PiConst = 3.1415926;
  s.PowerFault = 0;

  // Remote control
  s.RemotePrefix = "QVX";
  s.WriteDataA = 0;
  s.WriteDataB = 0;
  s.WriteDataC = 0;
  s.WriteDataD = 0;
  s.RemoteDisplayUpdate = 1;
  s.RemoteExecute = 0;
  s.StepPreDelay = 1;

  // Channels: all captured, 10 V range, x1 probe, AC coupling
  s.ChanAOn = s.ChanBOn = s.ChanCOn = s.ChanDOn = 1;
  s.RangeA = s.RangeB = 1;
  s.ProbeA = s.ProbeB = 0;
  s.CouplingA = s.CouplingB = -1;
  s.RangeStepA = s.RangeStepB = 0;
  s.DataRangeA = s.DataRangeB = 0;

  // Display selection: only the trace of A at first
  s.SelA = 1;
  s.SelB = s.SelC = s.SelD = s.SelE = -1;
  s.SelAplusB = s.SelAminusB = -1;

  // Display settings
  s.GridOn = 1;
  s.JoinOn = 1;
  s.UnitsOn = -1;
  s.MagIndexA = s.MagIndexB = s.MagIndexC = s.MagIndexD = s.MathMagIndex = 0;
  s.MagA = s.MagB = s.MagC = 1;
  s.MagD = s.MagMath = 1;
  s.PosStepA = s.PosStepB = s.PosStepC = 0;
  s.PosStepD = s.PosStepMath = 0;
  s.ShiftA = s.ShiftB = s.ShiftMath = 0;
  s.ShiftC = s.ShiftD = 0;
  s.AxisOffsetA = s.AxisOffsetB = s.AxisOffsetC = s.AxisOffsetD = s.AxisOffsetMath = 0;
  s.TraceColour = {0x800000, 0x008000, 0x0000C0, 0xC000C0, 0xC07000, 0x2090D0};

  // Cursor
  s.CursorSel = 0;
  s.CursorDrawn = 0;
  s.CursorButtonHeld = 0;

  // Trigger: instant, on A, positive slope, level at mid-scale, no marker
  s.TrigMode = 0;
  s.TrigSource = 0;
  s.TrigSlope = 1;
  s.PretrigIndex = 0;
  s.TrigLevelNorm = 0;
  s.TrigMarkOn = 0;
  s.TrigMarkDrawn = 0;
  s.TrigDelayMode = 0;
  s.RepeatMode = 0;
  s.TrigCursorY = 2048;
  s.TrigLevelCode = 2048;
  s.TrigStepLarge = s.ScreenHeight / 16.0;
  s.TrigStepSmall = s.ScreenHeight / 256.0;
  s.MarkerTimerArm = 1;
  s.panel.Timer1.setInterval(3000);

  // Calibration defaults, before the calibration file is read
  s.CalGainA = s.CalGainB = 1;
  s.CalOffsetA = s.CalOffsetB = 0;

  // Counter and recorder
  s.FRecInterval = 0;
  s.FRecElapsed = 0;
  s.FRecNextTime = 0;
  s.FCntSpare = 0;
}

void SetFurtherStartValues(Scope& s) {
  s.LptNumber = 1;
  s.RateMantissa = 1.0f;
  s.GenLastIndex = 4096;
  s.DeviceMemSize = 65536;
  s.OperatingMode = 0;
  s.PrevMode = 0;
  s.SelAplusB = s.SelAminusB = -1;
  s.ChanDOn = 1;
  s.ProbeB = 0;
  s.TrigSlope = 1;
  s.PretrigIndex = 0;
  s.TrigLevelNorm = 0;
  s.SampleRateIndex = 3;
  s.RateIndexA = s.RateIndexB = 3;
  s.SampleSizeIndex = 1;
  s.SizeIndexA = s.SizeIndexB = 1;
  s.CaptureDone = 1;

  // Generator panel defaults
  s.GenMode = 0;
  s.GenStyle = 0;
  s.SavedGenStyle = 0;
  s.GenSweepStart = 5;
  s.GenFreq = 50000;
  s.GenRateIndex0 = 4;
  s.GenRateIndex1 = 0;
  s.GenCustomRate = 1;
  s.GenAmpIndex = 1;
  s.GenDuty = 50;
  s.GenDirty = 1;
  s.CustomMag = 0;
  s.RunFlag = 0;
}

}  // namespace qvx
