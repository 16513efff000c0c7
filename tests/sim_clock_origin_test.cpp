#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "counter_rig.h"
#include "sim/signal.h"
#include "started.h"

// The simulated instrument must not care how long the machine has been up: sample
// instants, generator points and counter gates stay exact with the host's clock at boot,
// after 30 days and after 10 years.
namespace qvx {
namespace {

constexpr double kDay = 86400;
constexpr double kOrigins[] = {0, 30 * kDay, 3650 * kDay};

void startAt(testing::Started& st, double seconds) {
  st.rig.host.originNanoseconds = static_cast<std::int64_t>(seconds) * 1'000'000'000;
  st.start();
}

// The code a straight wire from the generator shows for table code `code` on the DC 10 V
// range: the output is code x 2 V / 4095.
int wiredCode(int code) {
  return static_cast<int>(std::lround(2048 + 2048 * (code * 2.0 / 4095) / 10));
}

// One frequency at the top of each generator rate step: rate codes 5 down to 1, with
// about a hundred points a cycle or fewer, so a sample of the neighbouring point differs.
TEST(SimClockOrigin, StraightWirePassReturnsTheTableExactlyAtEveryRateOnBothModels) {
  for (double origin : kOrigins) {
    for (int model : {1, 2}) {
      for (double freq : {19.0, 199.0, 1999.0, 19999.0, 500000.0}) {
        SCOPED_TRACE(::testing::Message()
                     << "day " << origin / kDay << ", model " << model << ", " << freq << " Hz");
        sim::Config cfg;
        cfg.modelCode = model;
        cfg.inputs.a = sim::parseAnalog("gen", "--sim-a");
        testing::Started st(cfg, false);
        startAt(st, origin);
        Scope& s = st.s;
        for (int i = 0; i < 2; ++i) st.p.SmodeUP.click();  // SCOPE+GEN
        s.GenMode = s.GenStyle = 0;
        s.GenFreq = freq;
        s.GenDirty = 1;
        s.RangeA = 1;
        s.CouplingA = 1;
        s.BufA.assign(65536, 1234);
        st.p.GOBUTTON.click();
        ASSERT_EQ(s.CaptureDone, 1);
        ASSERT_GT(s.DacLastIndex, 1000);
        int wrong = 0, first = -1;
        for (std::int32_t i = 0; i < s.DacLastIndex; ++i) {
          if (s.BufA[i] == wiredCode(s.GenTable[i])) continue;
          ++wrong;
          if (first < 0) first = i;
        }
        EXPECT_EQ(wrong, 0) << "first at " << first << " of " << s.DacLastIndex;
      }
    }
  }
}

// The default 1 kHz sine on A, captured with the start values, and one counter gate on a
// 12,345,678 Hz clock on C read the same whatever the clock's origin.
TEST(SimClockOrigin, SineCaptureAndCounterGateDoNotDependOnTheClockOrigin) {
  std::vector<std::uint16_t> reference;
  for (double origin : kOrigins) {
    SCOPED_TRACE(::testing::Message() << "day " << origin / kDay);
    testing::Started st({}, false);
    startAt(st, origin);
    st.p.GOBUTTON.click();
    ASSERT_EQ(st.s.CaptureDone, 1);
    const std::vector<std::uint16_t> a(st.s.BufA.begin(), st.s.BufA.begin() + st.s.SampleCount);
    if (reference.empty())
      reference = a;
    else
      EXPECT_TRUE(a == reference);
  }

  for (double origin : kOrigins) {
    SCOPED_TRACE(::testing::Message() << "counter, day " << origin / kDay);
    sim::Config cfg;
    cfg.inputs.c = {12345678, 50};
    testing::CounterRig c(cfg);
    c.rig.host.originNanoseconds = static_cast<std::int64_t>(origin) * 1'000'000'000;
    c.runForReadings(2);
    EXPECT_EQ(c.s.FCntLastReading, 12345678);
  }
}

}  // namespace
}  // namespace qvx
