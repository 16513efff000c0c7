#pragma once
// Tests of the files and their panels: each starts from the scope as the program starts
// it, in a scratch folder that is the current one.
#include <gtest/gtest.h>

#include "fuzz_entries.h"

namespace qvx {

struct LoaderTest : ::testing::Test {
  fuzzing::LoaderRig r;
  Scope& s = r.fresh();
  std::vector<testing::ScriptedHost::Message>& messages = r.rig.host.messages;
};

}  // namespace qvx
