#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "panel/colour.h"

namespace qvx {

using SampleBuffer = std::vector<std::int16_t>;

// The instrument state: one record of settings, flags and buffers that every procedure
// reads and writes. Each field has one meaning; the groups follow the subsystems.
// Selection and display toggles use 1 (on) and -1 (off); assigned flags use 1 and 0.
struct InstrumentState {
  // --- Port and instrument identity ---
  int LptNumber = 1;
  std::uint32_t DataPort = 0x378, StatusPort = 0x379, ControlPort = 0x37A, EcrPort = 0x77A;
  int PortIdle = 0;
  int ModelCode = 0;
  float RateMantissa = 1.0f;
  int ProbeBits = 0;
  int ChanBFitted = 0;
  int GenFitted = 0;
  int PowerFault = 0;
  std::int32_t DeviceMemSize = 65536;
  // Port panel: exit request, the port number last shown, write-the-port-file flag.
  int ConfigExitReq = 0;
  int ConfigShownPort = 1;
  int ConfigWriteFlag = 1;

  // --- Operating mode and run control ---
  int OperatingMode = 0;  // 0 SCOPE, 1 GENERATOR, 2 SCOPE+GEN, 3 COUNTER, 4 FFT
  int PrevMode = 0;
  int RunFlag = 0;
  // 1 from the start of a run to its end, whether GO or the command file started it and
  // even after STOP has already cleared RunFlag.
  int RunActive = 0;
  int RepeatMode = 0;
  int CaptureDone = 1;
  int TrigDelayMode = 0;

  // --- Timebase ---
  int SampleRateIndex = 3;
  std::int32_t SampleSizeIndex = 1;
  int RateIndexA = 3, RateIndexB = 3;
  std::int32_t SizeIndexA = 1, SizeIndexB = 1;
  std::int32_t SampleCount = 4096;
  std::int32_t LoadedSampleCount = 0;
  int RateCode = 2;
  int ScrollUnit = 1024;
  std::int32_t GenSizeIndex = 1;

  // --- Channels ---
  int ChanAOn = 1, ChanBOn = 1, ChanCOn = 1, ChanDOn = 1;
  int RangeA = 1, RangeB = 1;
  int CouplingA = -1, CouplingB = -1;
  int ProbeA = 0, ProbeB = 0;
  int ChannelConfig = 0;
  int PrevChannelConfig = 0;
  int RangeStepA = 0, RangeStepB = 0;

  // --- Trigger ---
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

  // --- Capture sequence ---
  int WaitLoops = 100;
  int ArmedTrigLevel = 0;
  int ArmedTrigMode = 0;
  int TrigArmed = 0;

  // --- Calibration ---
  double CalGainA = 1, CalGainB = 1;
  double CalOffsetA = 0, CalOffsetB = 0;

  // --- Display ---
  std::int32_t ScreenHeight = 4096;
  int MidLevel = 2048;
  int DataRangeA = 0, DataRangeB = 0;
  int DataRateIndex = 3, DataRateIndexB = 3;
  std::int32_t DataSizeIndex = 1, DataSizeIndexB = 1;
  int SelA = 1, SelB = -1, SelC = -1, SelD = -1, SelE = -1;
  int SelAplusB = -1, SelAminusB = -1;

  // Trace rendering
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
  int PrintActive = 0;
  int PrintWholeChoice = 0;   // print menu: 1 whole window landscape, 2 portrait
  int PrintSignalChoice = 0;  // print menu: 1 the signal display alone
  int PrintExit = 0;          // print menu: its EXIT was pressed
  int HelpTopicReq = 0;       // help panel: topic 1..12 asked for, 0 none
  int HelpExitReq = 0;        // help panel: its EXIT was pressed
  int HelpTopicShown = 0;     // help panel: the topic on show, 0 while closed
  double SavedMagA = 1, SavedMagB = 1, SavedMagMath = 1;

  // Vertical scaling
  double PosStepA = 0, PosStepB = 0, PosStepC = 0;
  int PosStepD = 0, PosStepMath = 0;
  int MagIndexA = 0, MagIndexB = 0, MagIndexC = 0, MagIndexD = 0, MathMagIndex = 0;
  double MagA = 1, MagB = 1, MagC = 1;
  int MagD = 1, MagMath = 1;
  double ShiftA = 0, ShiftB = 0;
  int ShiftC = 0, ShiftD = 0;
  double ShiftMath = 0;
  double AxisOffsetA = 0, AxisOffsetB = 0, AxisOffsetC = 0, AxisOffsetD = 0, AxisOffsetMath = 0;

  // Cursor and measurement
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

  // --- Spectrum ---
  int FftDoneA = 0, FftDoneB = 0;
  std::vector<double> FftRealIn, FftImagIn, FftRealOut, FftImagOut;
  double PiConst = 3.1415926;

  // --- Generator ---
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

  // --- Counter ---
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
  // Settings the running measurement was started with (the level goes to ArmedTrigLevel).
  int FCntArmedMode = 0, FCntArmedSource = 0, FCntArmedStSp = 3;
  // Readings completed since the counting loop was entered, and the last frequency one.
  int FCntReadings = 0;
  std::int32_t FCntLastReading = 0;
  double FRecInterval = 0, FRecElapsed = 0, FRecNextTime = 0;
  std::string FRecField1, FRecField2;
  // Folder shown in the recorder panel.
  std::string FRecFolder;
  int FCntSpare = 0;
  // Shared by the recorder panel and the save panel.
  std::string FilePath, SaveWhat, SaveExt;
  int SaveConfirmed = 0, SavePanelDone = 0;

  // --- Files and the load, save and adjustment panels ---
  int FileInvalid = 0;
  int LoadResult = 0;        // 1 after a successful load, copy or keep
  int LoadPanelGeneral = 1;  // 0: the custom-wave form of the load panel
  int LoadPanelDone = 0;
  int ReqLoadAB = 0, ReqLoadB = 0, ReqLoadFFT = 0, ReqLoadProfile = 0, ReqLoadCustom = 0,
      ReqLoadCsv = 0;
  int ReqCopyA = 0, ReqCopyB = 0, ReqCopyC = 0, ReqCopyD = 0, ReqKeepCustom = 0;
  int ReqSaveAB = 0, ReqSaveFFT = 0, ReqSaveCustom = 0, ReqSaveProfile = 0, ReqExportFFT = 0;
  int ExportKind = 0;  // 1: export samples (also the save panel's request), else spectra
  std::string LoadFolder, SaveFolder;  // folders the panels show; empty: the current one
  std::vector<std::string> LoadPlaces, SavePlaces;  // paths behind the place lists

  // --- Sample buffers ---
  SampleBuffer BufA, BufB, BufC, BufD, TimeBufA, TimeBufB, GenTable;
  std::int32_t BufLast = 65535;

  // --- Remote control ---
  int RemoteExecute = 0;
  std::string RemotePrefix = "QVX";
  std::string RemoteKey, RemoteValue, RemoteFilePath;
  int RemoteDisplayUpdate = 1;
  int WriteDataA = 0, WriteDataB = 0, WriteDataC = 0, WriteDataD = 0;
  int DataFilesReady = 0;
  int DataFileNumber = 0;
  // The command file last read but not removable (or not readable), identified by its
  // size and time of writing; it is not run again until it changes. Empty when none.
  std::string RemoteSkipStamp;

  InstrumentState()
      : BufA(65536, 2048),
        BufB(65536, 2048),
        BufC(65536, 2048),
        BufD(65536, 2048),
        TimeBufA(65536, 2048),
        TimeBufB(65536, 2048),
        GenTable(65536, 2048) {}
};

}  // namespace qvx
