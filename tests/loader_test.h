#pragma once
// Tests of the files and their panels: each starts from the scope as the program starts
// it, in a scratch folder that is the current one.
#include <gtest/gtest.h>

#include "fuzz_entries.h"

namespace qvx {

struct LoaderTest : ::testing::Test {
  // "title: text" of the last message box, empty if none was shown.
  std::string lastMessage() const {
    const auto& m = r.rig.host.messages;
    return m.empty() ? "" : m.back().title + ": " + m.back().text;
  }

  fuzzing::LoaderRig r;
  Scope& s = r.fresh();
  Panel& p = s.panel;
  testing::ScriptedHost& host = r.rig.host;
  std::vector<testing::ScriptedHost::Message>& messages = host.messages;
};

}  // namespace qvx
