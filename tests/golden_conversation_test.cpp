// The whole port conversation of the main scenarios, compared byte for byte with reviewed
// files in tests/golden/ (format: tests/conversation_text.h). A change to any access, its
// order or its value fails here and shows the first differing line.
//
// Each scenario runs twice: straight on the simulated instrument, and through the ppdev
// backend over a fake driver wired to it, which must give the same conversation and put
// the right bytes on the cable.
//
// After a deliberate change of the conversation, regenerate the files and review the diff:
//   QVX_UPDATE_GOLDEN=1 build/qvx_tests --gtest_filter='*Golden.*'
//   git diff tests/golden/
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "control/startup.h"
#include "conversation_text.h"
#include "device/port_file.h"
#include "port_panel_script.h"
#include "ppdev_rig.h"
#include "rig.h"

namespace qvx {
namespace {

std::string goldenPath(const std::string& name) {
  return std::string(QVX_TEST_DIR) + "/golden/" + name + ".txt";
}

// Only the conversation on the simulated instrument itself regenerates the files.
void expectGolden(const std::string& name, const std::string& title,
                  const std::vector<RecordingPort::Access>& log, bool regenerates = true) {
  const std::string text = "# " + title + "\n" + testing::conversationText(log);
  const std::string path = goldenPath(name);
  if (std::getenv("QVX_UPDATE_GOLDEN")) {
    if (!regenerates) return;
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no golden file " << path;
  const std::string golden{std::istreambuf_iterator<char>(in), {}};
  if (text == golden) return;
  std::istringstream got(text), want(golden);
  std::string a, b;
  for (int n = 1;; ++n) {
    const bool moreGot = static_cast<bool>(std::getline(got, a));
    const bool moreWant = static_cast<bool>(std::getline(want, b));
    if (!moreGot && !moreWant) break;
    if (a != b || moreGot != moreWant) {
      ADD_FAILURE() << path << " line " << n << ": expected '" << (moreWant ? b : "<end>")
                    << "', the program did '" << (moreGot ? a : "<end>") << "'";
      return;
    }
  }
}

// The program started in a fresh folder whose port file names LPT1, where the simulated
// instrument sits. Its inputs are a square wave on A (so a trigger has a clean edge and
// the sample reads repeat) and steady levels elsewhere. The parameter says whether the
// conversation goes through the ppdev backend.
struct Golden : ::testing::TestWithParam<bool> {
  Golden() : rig(config(), GetParam() ? testing::throughPpdev() : testing::Rig::Backend{}) {
    std::ofstream(kPortFileName, std::ios::binary) << " 1 \r\n";
    testing::exitPortPanelWhenShown(rig);
  }
  static sim::Config config() {
    sim::Config c;
    c.inputs.a = {sim::AnalogSignal::Shape::Square, 1000, 2, 0};
    c.inputs.b = {sim::AnalogSignal::Shape::Dc, 0, 0, 1};
    c.inputs.c = {0, 0};
    c.inputs.d = {0, 100};
    return c;
  }
  void start() {
    Form_Load(rig.scope);
    Form_Activate(rig.scope);
    ASSERT_NE(rig.scope.ModelCode, 0);
    ASSERT_FALSE(rig.scope.panel.CONFIGWINDOW.visible);
  }
  // The conversation from here on, on both sides of the backend.
  void restartLogs() {
    rig.port.log.clear();
    if (GetParam()) {
      ppdevOf(rig).cable.log.clear();
      knownDirection = 0;
    }
  }
  // Through ppdev: the port was claimed once, nothing was reported, and the cable carried
  // the program's conversation.
  void expectCable() {
    if (!GetParam()) return;
    testing::PpdevOverFake& pp = testing::ppdevOf(rig);
    EXPECT_TRUE(pp.messages.empty()) << pp.messages.front();
    EXPECT_EQ(pp.fake.opens, 1);
    EXPECT_EQ(pp.fake.calls.front().request, static_cast<unsigned long>(PPEXCL));
    EXPECT_EQ(pp.fake.modes.back(), IEEE1284_MODE_BYTE);
    const auto expected = testing::cableConversation(rig.port.log, 0x378, knownDirection);
    ASSERT_EQ(pp.cable.log.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
      ASSERT_EQ(pp.cable.log[i], expected[i]) << "cable access " << i;
  }
  testing::TempFolder folder;
  testing::Rig rig;
  Panel& p = rig.scope.panel;
  int knownDirection = -1;
};

INSTANTIATE_TEST_SUITE_P(Backends, Golden, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Ppdev" : "Simulated"; });

TEST_P(Golden, StartUpWithTheInstrumentPresent) {
  start();
  expectGolden("startup", "start-up with the instrument on LPT1", rig.port.log, !GetParam());
  expectCable();
}

TEST_P(Golden, OneSingleGoAt2K) {
  start();
  p.SSIZEN.press();
  ASSERT_EQ(rig.scope.SizeIndexA, 0);
  restartLogs();
  p.GOBUTTON.press();
  expectGolden("go_single_2k", "GO in Single, INST, 2K points, after start-up", rig.port.log,
               !GetParam());
  expectCable();
}

TEST_P(Golden, OneTriggeredGoWithPretrigger) {
  start();
  p.TMODEBUTTON.press();
  p.PRETRIGBUTTON.press();
  ASSERT_EQ(rig.scope.TrigMode, 1);
  ASSERT_EQ(rig.scope.PretrigIndex, 1);
  restartLogs();
  p.GOBUTTON.press();
  ASSERT_EQ(rig.scope.CaptureDone, 1);
  expectGolden("go_triggered_pretrig",
               "GO in Single, TRIG on A rising through 0 V, pretrigger 10, 4K points", rig.port.log,
               !GetParam());
  expectCable();
}

}  // namespace
}  // namespace qvx
