// One libFuzzer target per external input: QVX_FUZZ_TARGET names the decoder this one
// feeds. Each input is decoded in memory and its properties checked; no file is written
// and no program started, so a target tries tens of thousands of inputs a second.
#include <cstdio>
#include <cstdlib>

#include "decoder_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qvx::fuzzing;
  const std::string problem =
      checkDecoded(Target::QVX_FUZZ_TARGET, {reinterpret_cast<const char*>(data), size});
  if (!problem.empty()) {
    std::fprintf(stderr, "decoded input breaks a property: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
