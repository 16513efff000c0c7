#include "files/signal_file.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "files/profile_file.h"
#include "loader_test.h"

namespace qvx {
namespace {

using SignalFiles = LoaderTest;

// Test patterns: distinct codes on A and B, C high on odd samples, D on every third.
const auto codeA = [](int i) { return (i * 5 + 1) % 4096; };
const auto codeB = [](int i) { return 4095 - i % 4096; };
const auto highC = [](int i) { return i % 2 == 1; };
const auto highD = [](int i) { return i % 3 == 0; };

// A file of n samples of the patterns above; C and D ride in bit 4 of the high bytes.
std::string signalFile(int n, std::string f = "QVX042311", bool digital = true) {
  for (int i = 0; i < n; ++i)
    for (int code : {codeA(i) + digital * highC(i) * 4096, codeB(i) + digital * highD(i) * 4096}) {
      f += static_cast<char>(code >> 8);
      f += static_cast<char>(code & 0xFF);
    }
  return f;
}

// The first sample that is not the patterns below n and mid-scale from n on; -1 if none.
int firstMismatch(const Scope& s, int n, bool checkB = true) {
  for (int i = 0; i < 65536; ++i) {
    const bool in = i < n;
    if (s.BufA[i] != (in ? codeA(i) : 2048) || (checkB && s.BufB[i] != (in ? codeB(i) : 2048)) ||
        s.BufC[i] != (in && highC(i) ? 2560 : 2048) || s.BufD[i] != (in && highD(i) ? 2560 : 2048))
      return i;
  }
  return -1;
}

bool load(Scope& s, const std::string& bytes, const std::string& name = "in.qvx") {
  return fuzzing::loadFile(s, chabload, name, bytes);
}

TEST_F(SignalFiles, TheLengthDecidesHowManySamplesLoad) {
  const std::string file64K = signalFile(65536);
  // 9 + 4 x 2048 = 8201 bytes is a 2K file; a short last sample is none and 2047 samples
  // leave the size as it was; nothing after 64K samples is read.
  for (auto [bytes, samples, sizeIndex] : {std::tuple{signalFile(2048), 2048, 0},
                                           {signalFile(2048).substr(0, 8200), 2047, 1},
                                           {file64K, 65536, 5},
                                           {file64K + std::string(1000, '\x0F'), 65536, 5}}) {
    SCOPED_TRACE(bytes.size());
    r.fresh();
    ASSERT_TRUE(load(s, bytes));
    EXPECT_EQ(firstMismatch(s, samples), -1);
    EXPECT_EQ(s.SampleSizeIndex, sizeIndex);
    if (samples != 2047) {
      EXPECT_EQ(s.GenLastIndex, std::min(samples, 65535));
    }
  }

  // 8197 bytes is refused and nothing changes.
  Scope& u = r.fresh();
  u.BufA[0] = 77;
  u.ReqLoadAB = 1;
  EXPECT_FALSE(load(u, signalFile(2048).substr(0, 8197)));
  EXPECT_EQ(lastMessage(), "Help: Not a valid QVX signal file");
  EXPECT_EQ(u.BufA[0], 77);
  EXPECT_EQ(u.SampleSizeIndex, 1);
  EXPECT_EQ((std::array{u.ReqLoadAB, u.FileInvalid}), (std::array{0, 1}));
}

TEST_F(SignalFiles, AChannelThatIsOffKeepsItsData) {
  s.ChanBOn = 0;
  std::fill(s.BufB.begin(), s.BufB.end(), 1234);
  ASSERT_TRUE(load(s, signalFile(2048)));
  EXPECT_TRUE(std::all_of(s.BufB.begin(), s.BufB.end(), [](int v) { return v == 1234; }));
  EXPECT_EQ(firstMismatch(s, 2048, false), -1);
}

TEST_F(SignalFiles, HeaderSetsRateAndRangesAndRefusesWhatNoInstrumentMakesOrNoNameOrChoice) {
  ASSERT_TRUE(load(s, signalFile(2048, "QVX043402")));
  EXPECT_EQ(s.RateMantissa, 1.5f);
  EXPECT_EQ((std::array{s.SampleRateIndex, s.DataRateIndex, s.DataRateIndexB}),
            (std::array{4, 4, 4}));
  EXPECT_EQ((std::array{s.DataRangeA, s.DataRangeB}), (std::array{0, 2}));
  EXPECT_EQ(s.panel.SRATEDISP.texts().find("3"), 1u) << "the timebase shows the restored rate";

  for (const char* header : {"QVX032311", "qvx042311", "QVX042511", "QVX042231", "QVX042219",
                             "QVX041311", "QVX049311", "QVX04 311"}) {
    Scope& t = r.fresh();
    EXPECT_FALSE(load(t, signalFile(2048, header))) << header;
    EXPECT_EQ(t.BufA[1], 2048) << header;
    EXPECT_EQ(t.RateMantissa, 1.0f) << header << ": the header is checked before it is used";
  }

  // The name and the choice are checked before the contents.
  s.ReqLoadAB = s.ReqLoadB = 1;
  EXPECT_FALSE(load(s, signalFile(2048), "capture.dat"));
  EXPECT_EQ(lastMessage(), "Help: Not a valid QVX file");
  EXPECT_EQ(s.ReqLoadAB, 1) << "the panel clears the requests itself";
  s.FilePath.clear();
  chabload(s);
  EXPECT_EQ(lastMessage(), "Help: No File selected to load");
  EXPECT_EQ(s.ReqLoadAB + s.ReqLoadB, 0);
}

// Buffers and settings come from a loaded 64K file; the loader is pinned above.
void load64K(Scope& s) {
  EXPECT_TRUE(load(s, signalFile(65536, "QVX043121")));
  s.SampleRateIndex = 0;  // files carry the rate the data was taken at, not the setting
}

TEST_F(SignalFiles, SavedCaptureIsByteExactAndLoadsBackTheSameBuffersAndSettings) {
  load64K(s);
  s.SampleSizeIndex = 2;
  s.FilePath = "round.qvx";
  chabsave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  const std::string bytes = fuzzing::readBytes("round.qvx");
  ASSERT_TRUE(bytes == signalFile(8192, "QVX043121")) << "byte for byte";

  r.fresh();
  ASSERT_TRUE(load(s, bytes));
  EXPECT_TRUE(signalFileBytes(s) == bytes) << "the same buffers and settings back";
}

TEST_F(SignalFiles, FftFileSavesHalfTheBufferWithoutDigitalBitsAndLoadsWithZerosAfter) {
  load64K(s);
  s.ScrollUnit = 512;  // FFT mode
  s.SampleSizeIndex = 0;
  s.FilePath = "spectrum.fft";
  fftabsave(s);
  const std::string bytes = fuzzing::readBytes("spectrum.fft");
  ASSERT_TRUE(bytes == signalFile(1024, "FFT043121", false)) << "byte for byte";

  Scope& t = r.fresh(true);
  t.SampleRateIndex = 2;
  t.SampleSizeIndex = 3;
  t.ReqLoadFFT = 1;
  EXPECT_TRUE(fuzzing::loadFile(t, FFTabload, "spectrum.fft", bytes));
  EXPECT_TRUE(fftFileBytes(t) == bytes) << "the same 1K points back";
  EXPECT_EQ(t.BufA[1024], 0);
  EXPECT_EQ(t.BufB[65535], 0);
  EXPECT_EQ(t.SampleRateIndex, 2) << "the rate setting stays";
  EXPECT_EQ(t.FftDoneA + t.FftDoneB, 2);
  EXPECT_EQ(t.ReqLoadFFT, 0);

  // 2056 bytes is the shortest spectrum file; one less is refused.
  EXPECT_TRUE(fuzzing::loadFile(r.fresh(), FFTabload, "short.fft", bytes.substr(0, 2056)));
  Scope& v = r.fresh();
  v.ReqLoadFFT = 1;
  EXPECT_FALSE(fuzzing::loadFile(v, FFTabload, "short.fft", bytes.substr(0, 2055)));
  EXPECT_EQ(lastMessage(), "Help: Not a valid FFT signal file");
  EXPECT_EQ(v.ReqLoadFFT, 0);
}

// CR LF pairs; -1 if any line ends otherwise.
long lineEnds(const std::string& text) {
  const auto lf = std::count(text.begin(), text.end(), '\n');
  return text.ends_with("\r\n") && std::count(text.begin(), text.end(), '\r') == lf ? lf : -1;
}

TEST_F(SignalFiles, CsvExportHasSamplesInVoltsAndSpectraInTheirUnits) {
  s.ExportKind = 1;
  s.SampleSizeIndex = 0;
  s.DataRangeA = 1;
  s.DataRangeB = 0;
  std::tie(s.BufA[0], s.BufB[0], s.BufA[1], s.BufB[1], s.BufC[1]) =
      std::tuple(2048, 0, 4095, 2049, 2560);
  const std::string samples = csvExportText(s);
  EXPECT_TRUE(
      samples.starts_with(" QVX sample data for Channels A - B - C - D\r\nSamples/Sec:,2000000\r\n"
                          "Channel A, Channel B, Channel C, Channel D\r\n"
                          "0,-1,0,0\r\n"        // Int(0.55) = 0; Int(-999.35) = -1000 mV
                          "10,0.001,1,0\r\n"))  // Int(1000.51) x 10 / 1000; Int(1.04) / 1000
      << samples.substr(0, 200);
  EXPECT_EQ(lineEnds(samples), 3 + 2048);

  s.ExportKind = 0;
  s.BufA[0] = 255;
  s.BufB[0] = 1;
  const std::string spectra = csvExportText(s);
  EXPECT_TRUE(
      spectra.starts_with(" QVX FFT data for Channels A & B\r\nSamples/Sec:,2000000\r\n"
                          "Channel A, Channel B, Channel C, Channel D\r\n"
                          "10,0.03\r\n"))  // Int(1000) / 100, Int(3.92) / 100
      << spectra.substr(0, 200);
  EXPECT_EQ(lineEnds(spectra), 3 + 1024);
}

// Runs `save` with writes beyond `bytes` failing for this process, as on a full disk; the
// signal that would end the process is ignored so the write reports the failure instead.
void withFileSizeLimit(rlim_t bytes, const std::function<void()>& save) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{bytes, saved.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limited);
  save();
  setrlimit(RLIMIT_FSIZE, &saved);
}

TEST_F(SignalFiles, AFailedSaveLeavesTheOldFileAsItWas) {
  const std::string old = signalFile(2048, "QVX042300");
  fuzzing::writeBytes("keep.qvx", old);
  s.FilePath = "keep.qvx";
  for (void (*save)(Scope&) : {chabsave, fftabsave, exportab, profilesave, customsave}) {
    messages.clear();
    withFileSizeLimit(100, [&] { save(s); });
    EXPECT_EQ(s.DataFilesReady, 0);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(lastMessage(), "Help: Unable to save - File in use by other application");
    EXPECT_EQ(fuzzing::readBytes("keep.qvx"), old);
  }
  const auto entries = std::distance(std::filesystem::directory_iterator("."), {});
  EXPECT_EQ(entries, 2) << "the port file and the old capture, no leftover temporary file";

  // A folder that cannot exist: its parent is a plain file.
  s.FilePath = "keep.qvx/inside.qvx";
  chabsave(s);
  EXPECT_EQ(s.DataFilesReady, 0);
  EXPECT_EQ(fuzzing::readBytes("keep.qvx"), old);

  s.FilePath = "keep.qvx";
  chabsave(s);
  EXPECT_EQ(s.DataFilesReady, 1);
  EXPECT_EQ(fuzzing::readBytes("keep.qvx"), signalFileBytes(s));
}

}  // namespace
}  // namespace qvx
