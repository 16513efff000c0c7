// Every file of the fuzzers' seed corpus, and every input that once crashed a loader,
// loaded through the same entry points the fuzzers use, with the same checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "fuzz_entries.h"

namespace qvx {
namespace {

using fuzzing::Loader;

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(CorpusReplay, EveryInputLoadsIntoASoundState) {
  const std::filesystem::path corpus = QVX_CORPUS_DIR;
  fuzzing::LoaderRig rig;
  for (Loader loader : {Loader::Signal, Loader::Fft, Loader::Profile, Loader::RawWave,
                        Loader::CsvWave, Loader::Calibration, Loader::PortFile}) {
    const auto folder = corpus / fuzzing::folderName(loader);
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(fuzzing::replay(rig, loader, contents(entry.path())), "");
      ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seeds for " << folder;
  }
}

// The seeds hold files the program accepts; each must really load, or the fuzzers
// would start from refused files only.
TEST(CorpusReplay, SeedFilesOfTheProgramsOwnFormatsLoad) {
  const std::filesystem::path corpus = QVX_CORPUS_DIR;
  fuzzing::LoaderRig rig;
  for (auto [loader, file] :
       {std::pair{Loader::Signal, "capture_2k.qvx"}, std::pair{Loader::Fft, "spectrum_1k.fft"},
        std::pair{Loader::Profile, "started.dpf"}}) {
    SCOPED_TRACE(file);
    ASSERT_EQ(fuzzing::replay(rig, loader, contents(corpus / fuzzing::folderName(loader) / file)),
              "");
    EXPECT_EQ(rig.rig.scope.LoadResult, 1);
    EXPECT_TRUE(rig.rig.host.messages.empty());
  }
}

}  // namespace
}  // namespace qvx
