#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "scpi/commands.h"
#include "scpi/parser.h"
#include "scpi/session.h"
#include "started_scope.h"

namespace qvx {
namespace {

using scpi::parseLine;

TEST(ScpiParser, ResolvesHeadersFromTheRootOrThePreviousCommandsPath) {
  const scpi::ParsedLine p =
      parseLine(":TRIGger:SOURce A;LEVel 0.5;:chan2:RANG? ;*IDN?;PROB 10 ; sour \"x,y\"\"z\"");
  ASSERT_EQ(p.error, 0);
  ASSERT_EQ(p.units.size(), 6u);
  auto path = [&](std::size_t i) {
    std::string text;
    for (const scpi::Node& n : p.units[i].path)
      text += ":" + n.name + (n.suffix >= 0 ? std::to_string(n.suffix) : "");
    return text;
  };
  EXPECT_EQ(path(0), ":TRIGGER:SOURCE");
  EXPECT_EQ(path(1), ":TRIGGER:LEVEL");
  EXPECT_EQ(path(2), ":CHAN2:RANG");
  EXPECT_TRUE(p.units[2].query);
  EXPECT_TRUE(p.units[3].common);
  // A common command leaves the path where the last subsystem command put it.
  EXPECT_EQ(path(4), ":CHAN2:PROB");
  EXPECT_EQ(p.units[4].params[0].text, "10");
  EXPECT_EQ(path(5), ":CHAN2:SOUR");
  EXPECT_TRUE(p.units[5].params[0].quoted);
  EXPECT_EQ(p.units[5].params[0].text, "x,y\"z");

  // The units before a malformed one stand; the malformed one ends the line.
  const scpi::ParsedLine bad = parseLine("*CLS;:GEN:FREQ 1,;*IDN?");
  EXPECT_EQ(bad.units.size(), 1u);
  EXPECT_EQ(bad.error, scpi::err::SyntaxError);
  EXPECT_EQ(parseLine(":GEN:FREQ \"open").error, scpi::err::SyntaxError);
  EXPECT_EQ(parseLine(":GEN:FR\x01Q 1").error, scpi::err::InvalidCharacter);
  EXPECT_EQ(parseLine("").units.size(), 0u);
}

TEST(ScpiParser, MatchesLongAndShortFormsOnlyWhole) {
  std::vector<int> suffixes;
  auto find = [&](const char* line) {
    const scpi::ParsedLine p = parseLine(line);
    return p.units.empty() ? nullptr : scpi::findCommand(p.units[0], suffixes);
  };
  EXPECT_NE(find(":WAVeform:DATA?"), nullptr);
  EXPECT_NE(find(":wav:data?"), nullptr);
  EXPECT_EQ(find(":WAVE:DATA?"), nullptr);  // neither the long nor the short form
  EXPECT_EQ(find(":WAV:DAT?"), nullptr);
  EXPECT_EQ(find(":WAV2:DATA?"), nullptr);  // no suffix where none is taken
  ASSERT_NE(find(":CHANnel4:DISPlay?"), nullptr);
  EXPECT_EQ(suffixes, (std::vector<int>{4, 1}));
  ASSERT_NE(find(":CHAN:DISP?"), nullptr);
  EXPECT_EQ(suffixes[0], 1);  // no suffix means 1
  EXPECT_NE(find("*idn?"), nullptr);
  EXPECT_EQ(find("*IDNX?"), nullptr);
}

TEST(ScpiErrorQueue, KeepsTheOldestAndMarksTheOverflowLast) {
  scpi::ErrorQueue q;
  for (int i = 0; i < 30; ++i)
    q.push(i == 0 ? scpi::err::DataOutOfRange : scpi::err::UndefinedHeader);
  EXPECT_EQ(q.size(), scpi::ErrorQueue::kCapacity);
  EXPECT_EQ(q.pop(), "-222,\"Data out of range\"");
  for (std::size_t i = 1; i + 1 < scpi::ErrorQueue::kCapacity; ++i)
    EXPECT_EQ(q.pop(), "-113,\"Undefined header\"");
  EXPECT_EQ(q.pop(), "-350,\"Queue overflow\"");
  EXPECT_EQ(q.pop(), "0,\"No error\"");
  q.push(scpi::err::ExecutionError, "say \"no\"");
  EXPECT_EQ(q.pop(), "-200,\"Execution error; say \"\"no\"\"\"");
}

// SCPI settings and command-file items end in the same state: both go through the keyword
// decoder, with its clamps and refreshes.
TEST(ScpiSession, SettingsLeaveTheStateTheCommandFileLeaves) {
  testing::StartedScope byFile;
  byFile.run(
      "ARANGE=0,BMODE=DC,APROBE=10,TRIGMODE=1,TRIGSOURCE=B,TRIGSLOPE=NEG,PRETRIG=2,"
      "SAMPLERATE=1,SAMPLESIZE=16,GENFREQ=900000,GENAMP=1,GENSTYLE=3,TRIGLEVEL=-0.12345,"
      "FREQCOUNTSOURCE=3\r\n");
  testing::StartedScope byScpi;
  scpi::Session session;
  EXPECT_EQ(session.execute(byScpi.s,
                            ":CHAN1:RANG 1;:CHAN2:COUP DC;:CHAN1:PROB 10;:TRIG:MODE TRIG;SOUR B;"
                            "SLOP NEG;PRET 100;:ACQ:SRAT 2E4;POIN 16384;:GEN:FREQ 9E5;AMPL 1;"
                            "STYL SQU;:TRIG:LEV -0.12345;:COUN:SOUR REF"),
            "");
  EXPECT_EQ(session.errors.pop(), "0,\"No error\"");
  const Scope &a = byFile.s, &b = byScpi.s;
  EXPECT_EQ(std::tuple(a.RangeA, a.CouplingB, a.ProbeA, a.TrigMode, a.TrigSource, a.TrigSlope),
            std::tuple(b.RangeA, b.CouplingB, b.ProbeA, b.TrigMode, b.TrigSource, b.TrigSlope));
  EXPECT_EQ(std::tuple(a.PretrigIndex, a.SampleRateIndex, a.SampleSizeIndex, a.GenAmpIndex,
                       a.GenStyle, a.FCntSource),
            std::tuple(b.PretrigIndex, b.SampleRateIndex, b.SampleSizeIndex, b.GenAmpIndex,
                       b.GenStyle, b.FCntSource));
  EXPECT_EQ(b.GenFreq, 500000);
  EXPECT_FLOAT_EQ(b.TrigLevelVolts, -0.124f);
  EXPECT_FLOAT_EQ(a.TrigCursorY, b.TrigCursorY);
  EXPECT_EQ(b.SampleSizeIndex, 3);
}

TEST(ScpiSession, ButtonSettingsPressTheirButtonsAndResetRestoresThem) {
  testing::StartedScope t;
  scpi::Session session;
  EXPECT_EQ(session.execute(t.s, ":CHAN2:DISP OFF;DISP?;:GEN:DUTY 37;DUTY?;DUTY 150;DUTY?"),
            "0;38;98\n");
  EXPECT_EQ(t.s.ChanBOn, 0);
  EXPECT_EQ(t.s.GenDirty, 1);
  EXPECT_EQ(session.execute(t.s, ":COUN:FUNC COUN;:COUN:FUNC?"), "COUN\n");
  EXPECT_EQ(t.s.FCntStSp, 0);  // the counter button's own effect: start/stop by channel C
  EXPECT_EQ(session.execute(t.s, "*RST;:CHAN2:DISP?;:GEN:DUTY?;:COUN:FUNC?;:ACQ:POIN?"),
            "1;50;FREQ;4096\n");
  EXPECT_EQ(session.errors.pop(), "0,\"No error\"");
}

TEST(ScpiSession, SingleCapturesAndTheWaveformScalesToVoltsAndSeconds) {
  testing::StartedScope t;
  scpi::Session session;
  EXPECT_EQ(session.execute(t.s, ":ACQ:POIN 2048;SRAT 2E5;:CHAN1:PROB 10;:SINGle;*OPC?"), "1\n");
  EXPECT_EQ(t.s.RunFlag, 0);
  EXPECT_EQ(session.execute(t.s, ":WAV:SOUR CHAN1;FORM WORD;:WAV:DATA?").substr(0, 6), "#44096");
  // 10 V range with the x10 probe: 100 V over 2048 codes; 200 kS/s: 5 µs a point.
  EXPECT_EQ(session.execute(t.s, ":WAV:YINC?;XINC?;POIN?"), "0.048828125;5e-06;2048\n");
  const std::string text = session.execute(t.s, ":WAV:FORM ASC;DATA?");
  EXPECT_EQ(std::count(text.begin(), text.end(), ','), 2047);
  EXPECT_EQ(session.execute(t.s, ":WAV:SOUR D;YINC?"), "0.001953125\n");
  // No single capture where the run would last until STOP.
  EXPECT_EQ(session.execute(t.s, ":INST GEN;:SINGle"), "");
  EXPECT_EQ(session.errors.pop(), "-221,\"Settings conflict; no single capture in this mode\"");
}

// The seeds of the fuzz target: each parses and is looked up without harm.
TEST(ScpiParser, FuzzSeedsParse) {
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QVX_CORPUS_DIR "/scpi")) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string line{std::istreambuf_iterator<char>(in), {}};
    for (const scpi::Unit& u : parseLine(line).units) {
      std::vector<int> suffixes;
      scpi::findCommand(u, suffixes);
      EXPECT_FALSE(u.path.empty());
    }
    ++seeds;
  }
  EXPECT_GE(seeds, 4);
}

}  // namespace
}  // namespace qvx
