#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "scpi_client.h"
#include "scripted_host.h"

namespace qvx {
namespace {

using testing::ScpiClient;

// qvxscope --headless --scpi on any free port of 127.0.0.1, on the simulated instrument,
// in a folder of its own.
struct ServedProgram {
  ServedProgram() {
    std::ofstream("QVXport.cfg", std::ios::binary) << " 1 \r\n";
    port = testing::scpiPortOf(program);
  }
  testing::TempFolder folder;
  testing::ChildProcess program{QVXSCOPE_PATH, {"--headless", "--scpi=0"}, folder.path()};
  int port = 0;
};

std::vector<int> wordCodes(const std::string& block) {
  std::vector<int> codes;
  for (std::size_t i = 0; i + 1 < block.size(); i += 2)
    codes.push_back(static_cast<unsigned char>(block[i]) * 256 +
                    static_cast<unsigned char>(block[i + 1]));
  return codes;
}

std::vector<int> asciiCodes(const std::string& text) {
  std::vector<int> codes;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) codes.push_back(std::stoi(item));
  return codes;
}

// The simulated input of A: 1 kHz, 4 V peak, on the 10 V range (2048 codes full scale).
void expectTestSine(const std::vector<int>& codes, int periods) {
  int low = 4096, high = 0, upward = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    low = std::min(low, codes[i]);
    high = std::max(high, codes[i]);
    if (i > 0) upward += codes[i - 1] < 2048 && codes[i] >= 2048;
  }
  EXPECT_NEAR(high - 2048, 819, 25);
  EXPECT_NEAR(2048 - low, 819, 25);
  EXPECT_NEAR(upward, periods, 1);
}

TEST(ScpiSocket, AnswersIdnCapturesOnSingleAndReturnsTheCodesOfA) {
  ServedProgram served;
  ASSERT_NE(served.port, 0) << served.program.stderrText();
  ScpiClient c(served.port);
  ASSERT_TRUE(c.connected());
  EXPECT_EQ(c.query("*IDN?"), "QVX,QVX Scope (QVX 20 MS/s),0," QVX_VERSION);

  ASSERT_TRUE(c.send(":ACQuire:POINts 2048;SRATe 2E5;:CHANnel1:RANGe 10"));
  ASSERT_TRUE(c.send(":SINGle"));
  EXPECT_EQ(c.query("*OPC?"), "1");
  EXPECT_EQ(c.query(":WAVeform:SOURce CHANnel1;FORMat WORD;SOURce?;FORMat?;POINts?"),
            "A;WORD;2048");
  ASSERT_TRUE(c.send(":WAV:DATA?"));
  const auto block = c.readBlock();
  ASSERT_TRUE(block.has_value());
  ASSERT_EQ(block->size(), 4096u);
  const std::vector<int> words = wordCodes(*block);
  expectTestSine(words, 10);  // 2048 points at 200 kS/s are 10.24 periods

  // The same capture as text, and the scaling: 5 µs a point, 10 V over 2048 codes.
  EXPECT_EQ(asciiCodes(c.query(":WAV:FORM ASCii;DATA?")), words);
  EXPECT_EQ(c.query(":WAV:XINC?;XOR?;YINC?;YOR?;YREF?"), "5e-06;0;0.0048828125;0;2048");
  EXPECT_EQ(c.query("SYST:ERR?"), "0,\"No error\"");
}

TEST(ScpiSocket, EverySubsystemSetsWhatItReadsBackThroughTheSameClamps) {
  ServedProgram served;
  ScpiClient c(served.port);
  ASSERT_TRUE(c.connected()) << served.program.stderrText();
  struct Case {
    const char* line;
    const char* reply;
  };
  const Case cases[] = {
      {":INSTrument COUNter;:INST?", "COUN"},
      {":INST:SEL fft;:INST?", "FFT"},
      {":INST SCOP;:INST?", "SCOP"},
      {":ACQ:SRAT 2E6;SRAT?;:ACQ:POIN 8192;POIN?;:ACQ:STAT?", "2000000;8192;STOP"},
      {":CHAN2:RANG 1;RANG?;COUP DC;COUP?;PROB 10;PROB?", "1;DC;10"},
      {":CHAN3:DISP OFF;DISP?;:CHAN1:DISP?", "0;1"},
      {":TRIG:MODE TRIG;MODE?;SOUR CHAN2;SOUR?;SLOP NEG;SLOP?;PRET 100;PRET?", "TRIG;B;NEG;100"},
      // The level is cut to whole millivolts towards minus infinity and kept inside the
      // source's range: B is on 1 V.
      {":TRIG:LEV -0.12345;LEV?;LEV 5;LEV?", "-0.124;0.999"},
      {":GEN:MODE SWE;MODE?;STYL SQU;STYL?;MODE NORM;:GEN:FREQ 900000;FREQ?;FREQ 2",
       "SWE;SQU;500000"},
      {":GEN:FREQ?;AMPL 1;AMPL?;DUTY 70;DUTY?;DUTY 1;DUTY?", "5;1;70;2"},
      {":COUN:SOUR REF;SOUR?;FUNC COUN;FUNC?;FUNC FREQ;FUNC?", "REF;COUN;FREQ"},
  };
  for (const Case& k : cases) EXPECT_EQ(c.query(k.line), k.reply) << k.line;
  EXPECT_EQ(c.query("SYST:ERR?"), "0,\"No error\"");

  // The counter counts its 1 MHz reference in COUNTER mode only.
  EXPECT_EQ(c.query(":MEAS:FREQ?;:SYST:ERR?"),
            "-221,\"Settings conflict; the counter measures in COUNter mode\"");
  const std::string counted = c.query(":INST COUN;:MEASure:FREQuency?");
  EXPECT_NEAR(std::stod(counted), 1e6, 10) << counted;

  ASSERT_TRUE(c.send("*RST"));
  EXPECT_EQ(c.query(":INST?;:CHAN2:RANG?;COUP?;PROB?;:CHAN3:DISP?;:GEN:DUTY?;FREQ?;:TRIG:SOUR?"),
            "SCOP;10;AC;1;1;50;50000;A");
  EXPECT_EQ(c.query("SYST:ERR?"), "0,\"No error\"");
}

TEST(ScpiSocket, BadInputSetsItsErrorAndTheConnectionGoesOn) {
  ServedProgram served;
  ScpiClient c(served.port);
  ASSERT_TRUE(c.connected()) << served.program.stderrText();
  const std::pair<const char*, const char*> cases[] = {
      {"FOO:BAR 1", "-113,\"Undefined header\""},
      {":CHAN1:RANG 5", "-222,\"Data out of range; 1 or 10 V\""},
      {":ACQ:SRAT 3E5",
       "-222,\"Data out of range; rates are 2E3, 2E4, 2E5, 2E6, 2E7 (x1.5 on 30 MS/s)\""},
      {":ACQ:SRAT fast", "-104,\"Data type error; a number was expected\""},
      {":CHAN5:DISP ON", "-114,\"Header suffix out of range\""},
      {":CHAN3:RANG 1", "-114,\"Header suffix out of range\""},
      {":WAV:FORM BINARY", "-224,\"Illegal parameter value\""},
      {"*IDN? 1", "-108,\"Parameter not allowed\""},
      {":TRIG:LEV", "-109,\"Missing parameter\""},
      {":TRIG:LEV 1,", "-102,\"Syntax error\""},
      {"\x01\xff", "-101,\"Invalid character\""},
      {":GEN:FREQ \"100\"", "-104,\"Data type error; a number was expected\""},
  };
  for (const auto& [line, error] : cases) {
    ASSERT_TRUE(c.send(line));
    EXPECT_EQ(c.query("SYST:ERR?"), error) << line;
  }

  // A line over 64 KB is refused whole; the next one on the same connection runs.
  ASSERT_TRUE(c.sendRaw(":GEN:FREQ 1000;" + std::string(70000, ' ') + ":GEN:FREQ 2000\n"));
  EXPECT_EQ(c.query(":GEN:FREQ?"), "50000");
  EXPECT_EQ(c.query("SYST:ERR?"), "-223,\"Too much data; lines end within 64 KB\"");
  EXPECT_EQ(c.query(":gen:freq 3000\r\n:GENERATOR:FREQUENCY?").substr(0, 4), "3000");

  // The status registers follow the errors: *STB? bit 2 while the queue holds one, *ESR?
  // bit 5 for a command error until read.
  ASSERT_TRUE(c.send("*CLS;NOPE"));
  EXPECT_EQ(c.query("*STB?"), "4");
  EXPECT_EQ(c.query("*ESR?;*ESR?"), "32;0");
  EXPECT_EQ(c.query("*CLS;*STB?;SYST:ERR:COUN?"), "0;0");

  // 25 errors: the first 19 are kept, the 20th says the queue overflowed.
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(c.send(i % 2 ? "X" : ":CHAN1:PROB 3"));
  EXPECT_EQ(c.query("SYST:ERR:COUN?"), "20");
  EXPECT_EQ(c.query("SYST:ERR?"), "-222,\"Data out of range; 1 or 10\"");
  EXPECT_EQ(c.query("SYST:ERR?"), "-113,\"Undefined header\"");
  for (int i = 2; i < 19; ++i) c.query("SYST:ERR?");
  EXPECT_EQ(c.query("SYST:ERR?"), "-350,\"Queue overflow\"");
  EXPECT_EQ(c.query("SYST:ERR?"), "0,\"No error\"");
  EXPECT_EQ(c.query("*IDN?").substr(0, 14), "QVX,QVX Scope ");
}

TEST(ScpiSocket, ClientsTakeTurnsAndOneThatLeavesMidReplyCostsTheOthersNothing) {
  ServedProgram served;
  ScpiClient a(served.port), b(served.port);
  ASSERT_TRUE(a.connected() && b.connected()) << served.program.stderrText();
  ASSERT_TRUE(a.send(":GEN:FREQ 1000"));
  EXPECT_EQ(b.query(":GEN:FREQ 2000;FREQ?"), "2000");
  EXPECT_EQ(a.query(":GEN:FREQ?"), "2000");
  // Each client has its own error queue.
  ASSERT_TRUE(a.send("BOGUS"));
  EXPECT_EQ(b.query("SYST:ERR?"), "0,\"No error\"");
  EXPECT_EQ(a.query("SYST:ERR?"), "-113,\"Undefined header\"");

  // A asks for a 64K capture as text and leaves before the reply; its lines still run.
  ASSERT_TRUE(a.send(":ACQ:POIN 65536;:SINGle;:WAV:FORM ASC;DATA?;:ACQ:POIN 4096"));
  a.close();
  EXPECT_EQ(b.query("*OPC?;:ACQ:POIN?"), "1;4096");
  ScpiClient later(served.port);
  EXPECT_EQ(later.query("*IDN?").substr(0, 14), "QVX,QVX Scope ");
}

// The README's plain-socket example, run with python3 as written, on the port the test
// server took instead of 5025 (tests may not hold a fixed port).
TEST(ScpiSocket, TheReadmePlainSocketExamplePrintsTheFirstSamplesInVolts) {
  std::ifstream readme(std::string(QVX_SOURCE_DIR) + "/README.md");
  const std::string text{std::istreambuf_iterator<char>(readme), {}};
  const std::size_t start = text.find("```python\n", text.find("The same with a plain socket"));
  ASSERT_NE(start, std::string::npos);
  std::string script = text.substr(start + 10, text.find("```", start + 10) - start - 10);
  ServedProgram served;
  ASSERT_NE(served.port, 0) << served.program.stderrText();
  const std::size_t port = script.find("5025");
  ASSERT_NE(port, std::string::npos);
  script.replace(port, 4, std::to_string(served.port));
  std::ofstream("example.py") << script;
  const int status = std::system("timeout 60 python3 example.py >out.txt 2>&1");
  std::ifstream out("out.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  ASSERT_EQ(status, 0) << (lines.empty() ? "" : lines.back());
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0].substr(0, 14), "QVX,QVX Scope ");
  // 5 µs apart; the simulated sine of A stays within 4 V of zero.
  for (int i = 1; i <= 10; ++i) {
    double us = 0, volts = 0;
    ASSERT_EQ(std::sscanf(lines[i].c_str(), "%lf us %lf V", &us, &volts), 2) << lines[i];
    EXPECT_DOUBLE_EQ(us, (i - 1) * 5.0);
    EXPECT_LE(std::abs(volts), 4.1);
  }
}

long residentKilobytes(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

TEST(ScpiSocket, AClientThatSendsWithoutReadingCannotMakeMemoryGrow) {
  ServedProgram served;
  ScpiClient reader(served.port);
  ASSERT_TRUE(reader.connected()) << served.program.stderrText();
  EXPECT_EQ(reader.query(":ACQ:POIN 65536;:SINGle;*OPC?"), "1");
  const long before = residentKilobytes(served.program.pid());

  // Each reply is 64K points as text, about 330 KB; the 1,000,000 queries unbounded would
  // be 330 GB. The sender is held back once its replies are unread and the kernel's
  // buffers are full.
  ScpiClient flooder(served.port, 3);
  std::string flood;
  for (int i = 0; i < 1000000; ++i) flood += ":WAV:DATA?     \n";
  EXPECT_FALSE(flooder.sendRaw(flood)) << "the server read everything without replying";
  EXPECT_EQ(reader.query("*IDN?").substr(0, 14), "QVX,QVX Scope ");
  const long after = residentKilobytes(served.program.pid());
  EXPECT_LT(after - before, 20 * 1024) << before << " kB before, " << after << " kB after";
}

}  // namespace
}  // namespace qvx
