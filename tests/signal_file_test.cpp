#include "files/signal_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_entries.h"

namespace qvx {
namespace {

using fuzzing::LoaderRig;

std::string readAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void writeAll(const std::string& name, const std::string& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

int codeA(int i) {
  return (i * 5 + 1) % 4096;
}
int codeB(int i) {
  return 4095 - i % 4096;
}

// A signal file of n samples with the patterns above, C high on odd, D on every third.
std::string signalFile(int n, std::string header = "QVX042311") {
  std::string f = header;
  for (int i = 0; i < n; ++i) {
    f += static_cast<char>((codeA(i) >> 8) + (i % 2 ? 16 : 0));
    f += static_cast<char>(codeA(i) & 0xFF);
    f += static_cast<char>((codeB(i) >> 8) + (i % 3 == 0 ? 16 : 0));
    f += static_cast<char>(codeB(i) & 0xFF);
  }
  return f;
}

bool load(Scope& s, const std::string& bytes, const std::string& name = "in.qvx") {
  writeAll(name, bytes);
  s.FilePath = name;
  s.LoadResult = 0;
  chabload(s);
  return s.LoadResult == 1;
}

TEST(SignalFile, TheLengthDecidesHowManySamplesLoad) {
  LoaderRig r;
  // 9 + 4 x 2048 = 8201 bytes is a 2K file.
  Scope& s = r.fresh();
  ASSERT_TRUE(load(s, signalFile(2048)));
  EXPECT_EQ(s.SampleSizeIndex, 0);
  EXPECT_EQ(s.GenLastIndex, 2048);
  EXPECT_EQ(s.BufA[2047], codeA(2047));
  EXPECT_EQ(s.BufB[2047], codeB(2047));
  EXPECT_EQ(s.BufC[2047], 2560);
  EXPECT_EQ(s.BufD[2045], 2048);
  EXPECT_EQ(s.BufA[2048], 2048);
  EXPECT_EQ(s.BufD[65535], 2048);

  // One byte short: the last sample is not whole and the rest from it is mid-scale.
  Scope& t = r.fresh();
  ASSERT_TRUE(load(t, signalFile(2048).substr(0, 8200)));
  EXPECT_EQ(t.BufA[2046], codeA(2046));
  EXPECT_EQ(t.BufA[2047], 2048);
  EXPECT_EQ(t.SampleSizeIndex, 1) << "2047 samples is no buffer size";

  // 8197 bytes is refused and nothing changes.
  Scope& u = r.fresh();
  u.BufA[0] = 77;
  u.ReqLoadAB = 1;
  EXPECT_FALSE(load(u, signalFile(2048).substr(0, 8197)));
  ASSERT_EQ(r.rig.host.messages.size(), 1u);
  EXPECT_EQ(r.rig.host.messages[0].text, "Not a valid QVX signal file");
  EXPECT_EQ(r.rig.host.messages[0].title, "Help");
  EXPECT_EQ(u.BufA[0], 77);
  EXPECT_EQ(u.SampleSizeIndex, 1);
  EXPECT_EQ(u.ReqLoadAB, 0);
  EXPECT_EQ(u.FileInvalid, 1);
}

TEST(SignalFile, A64KFileFillsEveryPoint) {
  LoaderRig r;
  Scope& s = r.fresh();
  const std::string file = signalFile(65536);
  ASSERT_EQ(file.size(), 262153u);
  ASSERT_TRUE(load(s, file));
  EXPECT_EQ(s.SampleSizeIndex, 5);
  EXPECT_EQ(s.GenLastIndex, 65535);
  EXPECT_EQ(s.BufA[65535], codeA(65535));
  EXPECT_EQ(s.BufD[65535], 2560);  // 65535 is a multiple of three
  // Anything after the 64K samples is never read.
  Scope& t = r.fresh();
  ASSERT_TRUE(load(t, file + std::string(1000, '\x0F')));
  EXPECT_EQ(t.BufA[65535], codeA(65535));
}

TEST(SignalFile, AChannelThatIsOffKeepsItsData) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.ChanBOn = 0;
  std::fill(s.BufB.begin(), s.BufB.end(), 1234);
  ASSERT_TRUE(load(s, signalFile(2048)));
  EXPECT_TRUE(std::all_of(s.BufB.begin(), s.BufB.end(), [](int v) { return v == 1234; }));
  EXPECT_EQ(s.BufA[5], codeA(5));
  EXPECT_EQ(s.BufC[5], 2560);
  EXPECT_EQ(s.BufD[3], 2560);
  EXPECT_EQ(s.BufA[3000], 2048);
}

TEST(SignalFile, HeaderSetsRateAndRangesAndRefusesWhatNoInstrumentMakes) {
  LoaderRig r;
  Scope& s = r.fresh();
  ASSERT_TRUE(load(s, signalFile(2048, "QVX043402")));
  EXPECT_EQ(s.RateMantissa, 1.5f);
  EXPECT_EQ(s.SampleRateIndex, 4);
  EXPECT_EQ(s.DataRateIndex, 4);
  EXPECT_EQ(s.DataRateIndexB, 4);
  EXPECT_EQ(s.DataRangeA, 0);
  EXPECT_EQ(s.DataRangeB, 2);
  EXPECT_EQ(s.panel.SRATEDISP.texts().find("3"), 1u) << "the timebase shows the restored rate";

  for (const char* header : {"QVX032311", "qvx042311", "QVX042511", "QVX042231", "QVX042219",
                             "QVX041311", "QVX049311", "QVX04 311"}) {
    SCOPED_TRACE(header);
    Scope& t = r.fresh();
    EXPECT_FALSE(load(t, signalFile(2048, header)));
    EXPECT_EQ(t.BufA[1], 2048);
    EXPECT_EQ(t.SampleRateIndex, 3);
    EXPECT_EQ(t.RateMantissa, 1.0f);
  }
}

TEST(SignalFile, NameAndChoiceAreCheckedFirst) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.ReqLoadAB = s.ReqLoadB = 1;
  EXPECT_FALSE(load(s, signalFile(2048), "capture.dat"));
  EXPECT_EQ(r.rig.host.messages.back().text, "Not a valid QVX file");
  EXPECT_EQ(s.ReqLoadAB, 1) << "the panel clears the requests itself";
  s.FilePath.clear();
  chabload(s);
  EXPECT_EQ(r.rig.host.messages.back().text, "No File selected to load");
  EXPECT_EQ(s.ReqLoadAB + s.ReqLoadB, 0);
}

TEST(SignalFile, SavedCaptureLoadsBackTheSameBuffersAndSettings) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.SampleSizeIndex = 2;
  s.RateMantissa = 1.5f;
  s.DataRateIndex = 1;
  s.DataRangeA = 2;
  s.DataRangeB = 1;
  for (int i = 0; i < 65536; ++i) {
    s.BufA[i] = static_cast<std::int16_t>(codeA(i));
    s.BufB[i] = static_cast<std::int16_t>(codeB(i));
    s.BufC[i] = i % 7 == 0 ? 2560 : 2048;
    s.BufD[i] = i % 5 == 0 ? 2560 : 2048;
  }
  const SampleBuffer a = s.BufA, b = s.BufB, c = s.BufC, d = s.BufD;
  s.FilePath = "round.qvx";
  chabsave(s);
  ASSERT_EQ(s.DataFilesReady, 1);
  const std::string bytes = readAll("round.qvx");
  ASSERT_EQ(bytes.size(), 9u + 4 * 8192);
  EXPECT_EQ(bytes.substr(0, 9), "QVX043121");
  EXPECT_EQ(bytes[9] & 16, 16) << "C high at sample 0 sets bit 4 of its first byte";
  EXPECT_EQ(bytes[13] & 16, 0);

  Scope& t = r.fresh();
  ASSERT_TRUE(load(t, bytes));
  EXPECT_TRUE(std::equal(a.begin(), a.begin() + 8192, t.BufA.begin()));
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + 8192, t.BufB.begin()));
  EXPECT_TRUE(std::equal(c.begin(), c.begin() + 8192, t.BufC.begin()));
  EXPECT_TRUE(std::equal(d.begin(), d.begin() + 8192, t.BufD.begin()));
  EXPECT_EQ(t.SampleSizeIndex, 2);
  EXPECT_EQ(t.RateMantissa, 1.5f);
  EXPECT_EQ(t.DataRateIndex, 1);
  EXPECT_EQ(t.DataRangeA, 2);
  EXPECT_EQ(t.DataRangeB, 1);
}

TEST(FftFile, SavesHalfTheBufferAndLoadsWithZerosAfter) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.ScrollUnit = 512;  // FFT mode
  s.SampleSizeIndex = 0;
  for (int i = 0; i < 65536; ++i) {
    s.BufA[i] = static_cast<std::int16_t>(codeA(i));
    s.BufB[i] = static_cast<std::int16_t>(codeB(i));
    s.BufC[i] = 2560;
  }
  s.FilePath = "spectrum.fft";
  fftabsave(s);
  const std::string bytes = readAll("spectrum.fft");
  ASSERT_EQ(bytes.size(), 9u + 4 * 1024);
  EXPECT_EQ(bytes[9] & 0xF0, 0) << "no digital bits in a spectrum file";

  Scope& t = r.fresh();
  t.SampleRateIndex = 2;
  t.SampleSizeIndex = 3;
  t.ReqLoadFFT = 1;
  writeAll("spectrum.fft", bytes);
  t.FilePath = "spectrum.fft";
  FFTabload(t);
  EXPECT_EQ(t.LoadResult, 1);
  EXPECT_EQ(t.BufA[1023], codeA(1023));
  EXPECT_EQ(t.BufB[1023], codeB(1023));
  EXPECT_EQ(t.BufA[1024], 0);
  EXPECT_EQ(t.BufB[65535], 0);
  EXPECT_EQ(t.SampleSizeIndex, 0);
  EXPECT_EQ(t.SampleRateIndex, 2) << "the rate setting stays";
  EXPECT_EQ(t.FftDoneA + t.FftDoneB, 2);
  EXPECT_EQ(t.ReqLoadFFT, 0);

  // 2056 bytes is the shortest spectrum file; one less is refused.
  Scope& u = r.fresh();
  writeAll("short.fft", bytes.substr(0, 2056));
  u.FilePath = "short.fft";
  FFTabload(u);
  EXPECT_EQ(u.LoadResult, 1);
  Scope& v = r.fresh();
  writeAll("short.fft", bytes.substr(0, 2055));
  v.FilePath = "short.fft";
  v.ReqLoadFFT = 1;
  FFTabload(v);
  EXPECT_EQ(v.LoadResult, 0);
  EXPECT_EQ(r.rig.host.messages.back().text, "Not a valid FFT signal file");
  EXPECT_EQ(v.ReqLoadFFT, 0);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    out.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
  return out;
}

TEST(CsvExport, SamplesInVoltsAndSpectraInTheirUnits) {
  LoaderRig r;
  Scope& s = r.fresh();
  s.ExportKind = 1;
  s.SampleSizeIndex = 0;
  s.DataRateIndex = 3;
  s.DataRangeA = 1;
  s.DataRangeB = 0;
  s.BufA[0] = 2048;
  s.BufB[0] = 0;
  s.BufA[1] = 4095;
  s.BufB[1] = 2049;
  s.BufC[1] = 2560;
  const auto l = lines(csvExportText(s));
  ASSERT_EQ(l.size(), 3u + 2048);
  EXPECT_EQ(l[0], " QVX sample data for Channels A - B - C - D");
  EXPECT_EQ(l[1], "Samples/Sec:,2000000");
  EXPECT_EQ(l[2], "Channel A, Channel B, Channel C, Channel D");
  EXPECT_EQ(l[3], "0,-1,0,0");      // Int(0.55) = 0; Int(-999.35) = -1000 mV
  EXPECT_EQ(l[4], "10,0.001,1,0");  // Int(1000.51) x 10 / 1000; Int(1.04) / 1000

  s.ExportKind = 0;
  s.BufA[0] = 255;
  s.BufB[0] = 1;
  const auto f = lines(csvExportText(s));
  ASSERT_EQ(f.size(), 3u + 1024);
  EXPECT_EQ(f[0], " QVX FFT data for Channels A & B");
  EXPECT_EQ(f[3], "10,0.03");  // Int(1000) / 100, Int(3.92) / 100
}

// Writes beyond `bytes` fail for this process, as on a full disk; the signal that
// would end the process is ignored so the write reports the failure instead.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
  rlimit saved{};
};

TEST(FileSaving, AFailedSaveLeavesTheOldFileAsItWas) {
  LoaderRig r;
  Scope& s = r.fresh();
  const std::string old = signalFile(2048, "QVX042300");
  writeAll("keep.qvx", old);
  s.FilePath = "keep.qvx";
  using Save = void (*)(Scope&);
  for (Save save : {chabsave, fftabsave, exportab}) {
    r.rig.host.messages.clear();
    {
      FileSizeLimit limit(4096);
      save(s);
    }
    EXPECT_EQ(s.DataFilesReady, 0);
    ASSERT_EQ(r.rig.host.messages.size(), 1u);
    EXPECT_EQ(r.rig.host.messages[0].text, "Unable to save - File in use by other application");
    EXPECT_EQ(readAll("keep.qvx"), old);
  }
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 2) << "the port file and the old capture, no leftover temporary file";

  // A folder that cannot exist: its parent is a plain file.
  s.FilePath = "keep.qvx/inside.qvx";
  chabsave(s);
  EXPECT_EQ(s.DataFilesReady, 0);
  EXPECT_EQ(readAll("keep.qvx"), old);

  s.FilePath = "keep.qvx";
  chabsave(s);
  EXPECT_EQ(s.DataFilesReady, 1);
  EXPECT_EQ(readAll("keep.qvx"), signalFileBytes(s));
}

}  // namespace
}  // namespace qvx
