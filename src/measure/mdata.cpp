#include "measure/mdata.h"

#include <cstdio>

#include "core/whole_file.h"
#include "measure/channels.h"
#include "measure/format.h"

namespace qvx {

namespace {
constexpr int kFft = 4, kFilePeaks = 5;

void line(std::string& out, char channel, const std::string& name, const std::string& unit,
          const std::string& value) {
  out += std::string(1, channel) + "_" + name + "_" + unit + "=" + value + "\r\n";
}
}  // namespace

std::string measurementFileText(const InstrumentState& s) {
  const int written[] = {s.WriteDataA, s.WriteDataB, s.WriteDataC, s.WriteDataD};
  // A run that left the display as it was has not taken the display's snapshot.
  const measure::TakenWith taken =
      s.RemoteDisplayUpdate == 1 ? measure::shownData(s) : measure::lastRun(s);
  std::string out;
  for (int c = 0; c < 4; ++c) {
    if (written[c] != 1) continue;
    const char name = measure::kChannelNames[c];
    if (s.OperatingMode == kFft && c < 2) {
      if ((c == 0 ? s.FftDoneA : s.FftDoneB) != 1) continue;
      int k = 0;
      for (const measure::Peak& p : measure::spectrumPeaks(s, taken, c, kFilePeaks)) {
        const std::string peak = "PEAK" + std::to_string(++k);
        line(out, name, peak, "HZ", measure::fileNumber(p.frequency));
        line(out, name, peak, "PCT", measure::fileNumber(p.level));
      }
      continue;
    }
    const measure::WaveReadings r = measure::measureWave(measure::traceOf(s, taken, c));
    for (const measure::Quantity& q : measure::quantities()) {
      if (c >= 2 && !q.digitalToo) continue;
      const measure::Reading& v = r.*q.reading;
      line(out, name, q.fileName, q.fileUnit,
           v.ok() ? measure::fileNumber(v.value) : "NaN ; " + v.why);
    }
  }
  return out;
}

bool writeMeasurementFile(const InstrumentState& s) {
  if (s.WriteMeasurements != 1) return true;
  if (writeWholeFile(s.RemotePrefix + "Mdata.txt", measurementFileText(s))) return true;
  std::fprintf(stderr, "qvxscope: the measurement file of this run was not written\n");
  return false;
}

}  // namespace qvx
