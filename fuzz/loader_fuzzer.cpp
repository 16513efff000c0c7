// One libFuzzer target per loader: QVX_FUZZ_LOADER names the loader this one feeds.
// The loaders work in a scratch folder that becomes the current one, so corpus folders
// and the artifact prefix must be given as absolute paths (make fuzz does).
#include <cstdio>
#include <cstdlib>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qvx::fuzzing;
  static LoaderRig rig;
  const std::string problem =
      replay(rig, Loader::QVX_FUZZ_LOADER, {reinterpret_cast<const char*>(data), size});
  if (!problem.empty()) {
    std::fprintf(stderr, "loader left a bad state: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
