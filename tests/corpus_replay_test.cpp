// Every file of the fuzzers' seed corpus, and every input a fuzzer once found: decoded
// with the same property checks the fuzzers make, and loaded whole as the program loads
// it, with the state checked afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "decoder_checks.h"
#include "fuzz_entries.h"

namespace qvx {
namespace {

using fuzzing::Loader;

TEST(CorpusReplay, EveryInputLoadsIntoASoundState) {
  // Seeds in the program's own formats must really load, or the fuzzers would start
  // from refused files only; so must profiles cut after any value, whatever ends them,
  // and one whose values stand on lines of their own ending in CR.
  const std::set<std::string> accepted = {
      "capture_2k.qvx",      "spectrum_1k.fft",       "started.dpf", "cut_after_77.dpf",
      "cut_after_78_cr.dpf", "cut_after_93_crlf.dpf", "cr_lines.dpf"};
  // Seeds named "refused_..." must be refused with a message, so that the check that a
  // refused file changes nothing has files to look at for every loader that refuses.
  fuzzing::LoaderRig rig;
  std::size_t acceptedSeen = 0, refusedSeen = 0;
  for (Loader loader :
       {Loader::Signal, Loader::Fft, Loader::Profile, Loader::RawWave, Loader::CsvWave,
        Loader::Calibration, Loader::PortFile, Loader::CommandFile}) {
    const auto folder = std::filesystem::path(QVX_CORPUS_DIR) / fuzzing::folderName(loader);
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(fuzzing::replay(rig, loader, fuzzing::readBytes(entry.path())), "");
      if (accepted.count(entry.path().filename())) {
        ++acceptedSeen;
        EXPECT_EQ(rig.rig.scope.LoadResult, 1);
        EXPECT_TRUE(rig.rig.host.messages.empty());
      }
      if (entry.path().filename().string().starts_with("refused_")) {
        ++refusedSeen;
        EXPECT_NE(rig.rig.scope.LoadResult, 1);
        EXPECT_FALSE(rig.rig.host.messages.empty());
      }
      ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seeds for " << folder;
  }
  EXPECT_EQ(acceptedSeen, accepted.size());
  EXPECT_GE(refusedSeen, 4u);
}

TEST(CorpusReplay, EveryInputDecodesWithTheFuzzersProperties) {
  int targets = 0;
  for (fuzzing::Target target : fuzzing::kTargets) {
    const auto folder = std::filesystem::path(QVX_CORPUS_DIR) / fuzzing::targetFolder(target);
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(fuzzing::checkDecoded(target, fuzzing::readBytes(entry.path())), "");
      ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seeds for " << folder;
    ++targets;
  }
  EXPECT_EQ(targets, 8);
}

}  // namespace
}  // namespace qvx
