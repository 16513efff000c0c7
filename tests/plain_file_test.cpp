// Nothing but a plain file is read or written: a FIFO, a folder or a device under the name
// of any file the program opens is refused at once with that file's usual outcome, and
// changes nothing. Each FIFO has a watchdog that lets a blocked test go after a second.
#include "core/plain_file.h"

#include <filesystem>

#include "core/whole_file.h"
#include "counter/recorder.h"
#include "fifo_watch.h"
#include "files/file_text.h"
#include "files/profile_file.h"
#include "loader_test.h"
#include "remote/command_file.h"

namespace qvx {
namespace {

namespace fs = std::filesystem;
using testing::FifoWatch;
using testing::secondsFor;
using PlainFiles = LoaderTest;

constexpr double kAtOnce = 0.5;

TEST(PlainFile, ReadsOnlyPlainFilesAndNeverWaitsForAFifo) {
  testing::TempFolder folder;
  fuzzing::writeBytes("plain", "0123456789");
  EXPECT_EQ(readPlainFile("plain", 4), "0123");
  EXPECT_EQ(readPlainFile("plain", 100), "0123456789");
  std::string why;
  EXPECT_FALSE(readPlainFile("missing", 10, &why));
  EXPECT_FALSE(why.empty());
  fs::create_directory("folder");
  EXPECT_FALSE(readPlainFile("folder", 10, &why));
  EXPECT_EQ(why, "it is not a plain file");
  EXPECT_FALSE(readPlainFile("/dev/zero", 10, &why)) << "a device is not read either";

  FifoWatch fifo("fifo");
  for (const char* mode : {"rb", "ab", "wb"}) {
    std::FILE* f = nullptr;
    why.clear();
    EXPECT_LT(secondsFor([&] { f = openPlainFile("fifo", mode, &why); }), kAtOnce) << mode;
    EXPECT_EQ(f, nullptr) << mode;
    if (f) std::fclose(f);
    EXPECT_EQ(why, "it is not a plain file") << mode;
  }
  EXPECT_TRUE(fifo.stillThere());
  // Appending and writing create a missing file and work on a plain one.
  for (const char* mode : {"ab", "ab", "wb", "ab"}) {
    std::FILE* f = openPlainFile("made", mode);
    ASSERT_NE(f, nullptr) << mode;
    std::fputs("x", f);
    std::fclose(f);
  }
  EXPECT_EQ(readPlainFile("made", 10), "xx");
}

// What a refused load must leave as it was.
std::string snapshot(const Scope& s) {
  std::string all = profileText(s);
  for (const SampleBuffer* b : {&s.BufA, &s.BufB, &s.BufC, &s.BufD, &s.GenTable})
    all.append(reinterpret_cast<const char*>(b->data()), b->size() * sizeof(b->front()));
  return all + std::to_string(s.GenLastIndex) + std::to_string(s.LoadResult);
}

TEST_F(PlainFiles, EveryLoaderRefusesAFifoAtOnceWithItsUsualMessageAndChangesNothing) {
  struct Case {
    const char* name;
    bool (*load)(Scope&, const std::string&);
    const char* message;
  };
  const Case cases[] = {
      {"f.qvx", openFileFromCommandLine, "Not a valid QVX signal file"},
      {"f.fft", openFileFromCommandLine, "Not a valid FFT signal file"},
      {"f.dpf", openFileFromCommandLine, "Not a valid QVX profile file"},
      {"f.dcg",
       [](Scope& t, const std::string& name) {
         t.FilePath = name;
         customload(t);
         return t.LoadResult == 1;
       },
       kNoFileToLoad},
      {"f.csv",
       [](Scope& t, const std::string& name) {
         t.FilePath = name;
         Customcsvload(t);
         return t.LoadResult == 1;
       },
       kNoFileToLoad},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scope& t = r.fresh(std::string(c.name) == "f.fft");
    t.BufA[7] = 1234;
    t.GenTable[3] = 321;
    FifoWatch fifo(c.name);
    const std::string before = snapshot(t);
    bool loaded = true;
    EXPECT_LT(secondsFor([&] { loaded = c.load(t, c.name); }), kAtOnce);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(snapshot(t), before);
    EXPECT_EQ(lastMessage(), std::string("Help: ") + c.message);
    EXPECT_TRUE(fifo.stillThere());
  }
}

TEST_F(PlainFiles, SettingsCommandAndRecorderFilesThatAreFifosAreLeftAlone) {
  {
    // The calibration file: the defaults, as for any file that cannot be read.
    FifoWatch fifo(kCalibrationFile);
    s.CalGainA = 1.05;
    EXPECT_LT(secondsFor([&] { CheckCal(s); }), kAtOnce);
    EXPECT_EQ(s.CalGainA, 1);
  }
  {
    FifoWatch fifo("port.cfg");
    std::optional<int> port = 1;
    EXPECT_LT(secondsFor([&] { port = readPortFile("port.cfg"); }), kAtOnce);
    EXPECT_FALSE(port);
  }
  {
    // The command file is neither run nor removed, and said once.
    FifoWatch fifo("QVXcom.txt");
    ::testing::internal::CaptureStderr();
    EXPECT_LT(secondsFor([&] {
                for (int i = 0; i < 3; ++i) RemoteCommand(s);
              }),
              kAtOnce);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("it is not a plain file"), std::string::npos) << said;
    EXPECT_TRUE(fifo.stillThere());
  }
  {
    // A recorder file: the record is not written; a data file's temporary name: the
    // data file is not written, and nothing blocks.
    FifoWatch recorder("rec.csv"), part("QVXAdata.dat.part");
    s.FilePath = "rec.csv";
    s.FRecField1 = s.FRecField2 = "1";
    ::testing::internal::CaptureStderr();
    bool saved = true, written = true;
    EXPECT_LT(secondsFor([&] { saved = frecsave(s, s, s); }), kAtOnce);
    EXPECT_LT(secondsFor([&] { written = writeWholeFile("QVXAdata.dat", "data"); }), kAtOnce);
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(saved);
    EXPECT_FALSE(written);
    EXPECT_FALSE(fs::exists("QVXAdata.dat"));
    EXPECT_TRUE(recorder.stillThere() && part.stillThere());
  }
}

}  // namespace
}  // namespace qvx
