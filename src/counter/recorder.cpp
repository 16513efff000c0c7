#include "counter/recorder.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/plain_file.h"
#include "counter/panel.h"
#include "panel/numeric.h"

namespace qvx {

namespace {
constexpr double kDay = 86400;
constexpr double kEarlyMorning = 10000, kLateEvening = 76400;
constexpr double kDueWrapAt = 96399;
constexpr double kMinInterval = 3, kMaxInterval = 9999;
constexpr Colour kLostColour = 0x0000FF;  // red

// A record that cannot be appended is lost, and only that one: the counting goes on
// without a box to answer, the panel counts the lost records, stderr hears of it once
// per recording, and the next due record tries the file again.
void recordLost(Scope& s) {
  ++s.FRecLost;
  if (s.FRecLost == 1)
    std::fprintf(stderr,
                 "qvxscope: cannot append to the frequency recorder file %s; its records are "
                 "lost (counted on the counter panel) until it can be written again\n",
                 s.FilePath.c_str());
  PictureArea& p = s.panel.Picture10;
  p.foreColour = kLostColour;
  p.fontSize = 9;
  p.printAt(800, 390, recorderText(s));
}
}  // namespace

bool recorderDue(double now, double due) {
  if (now >= due) return !(now > kLateEvening && due < kEarlyMorning);
  return now < kEarlyMorning && due > kLateEvening && (due <= kDay || now + kDay >= due);
}

double recorderInterval(const std::string& typed) {
  return recorderInterval(std::strtod(typed.c_str(), nullptr));
}

double recorderInterval(double v) {
  if (!std::isfinite(v) || v < kMinInterval || v > kMaxInterval) return 0;
  return v;
}

void setRecorderInterval(Scope& s, double seconds) {
  s.FRecInterval = recorderInterval(seconds);
  CountDisplay(s);
}

std::string recorderText(const CounterState& s) {
  if (s.FRecInterval == 0) return " OFF     ";
  // The panel has room for one short word here: lost records matter more than the
  // interval the user chose a moment ago, and red sets them apart.
  if (s.FRecLost > 0) return std::to_string(s.FRecLost) + " lost   ";
  return numberText(s.FRecInterval) + "s       ";
}

std::string recorderField(double value) {
  // Shortest decimal that reads back to the value, never in exponent form: a count of
  // 1,073,741,823 keeps all ten digits.
  char text[400];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return error == std::errc{} ? std::string(text, end) : std::string("0");
}

std::string recorderFileName(const std::string& typed, const std::string& ext) {
  // Only the last part of a typed path carries the extension.
  const std::size_t base = typed.find_last_of('/');
  const std::size_t from = base == std::string::npos ? 0 : base + 1;
  const std::size_t dot = typed.find('.', from);
  if (dot == std::string::npos) return typed + "." + ext;
  return typed.substr(0, dot + 1) + ext;
}

bool frecsave(const CounterState& counter, const SaveDialogState& dialog, RemoteState& remote) {
  remote.DataFilesReady = 0;
  std::FILE* f = openPlainFile(dialog.FilePath, "ab");
  if (!f) return false;
  // One write per line and a flush, so the file only ever ends in a whole line.
  const std::string line = counter.FRecField1 + "," + counter.FRecField2 + "\r\n";
  bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fflush(f) == 0;
  ok = std::fclose(f) == 0 && ok;
  if (ok) remote.DataFilesReady = 1;
  return ok;
}

void frecnametest(Scope& s) {
  s.SaveConfirmed = 0;
  const std::string typed = s.panel.Frecname.text;
  if (typed.empty()) {
    s.host.MsgBox("No File name to save", mb::OK, "Help");
    return;
  }
  const std::string name = recorderFileName(typed, s.SaveExt);
  const std::string& folder = s.FRecFolder;
  s.FilePath = folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
  if (s.host.MsgBox("Save " + s.SaveWhat + " as " + s.FilePath, mb::OKCancel, "Save message") ==
      mb::AnswerOK)
    s.SaveConfirmed = 1;
}

void FRecTest(Scope& s) {
  if (s.FRecInterval == 0) return;
  const double now = std::fmod(s.host.TimeOfDay(), kDay);
  if (!recorderDue(now, s.FRecNextTime)) return;
  s.FRecField1 = recorderField(s.FRecElapsed);
  s.FRecField2 = recorderField(s.FCntValue);
  s.FRecElapsed += s.FRecInterval;
  s.FRecNextTime += s.FRecInterval;
  if (s.FRecNextTime > kDueWrapAt) s.FRecNextTime -= kDay;

  PictureArea& p = s.panel.Picture10;
  p.foreColour = s.FRecLost > 0 ? kLostColour : s.TraceColour[2];
  p.fontSize = 9;
  p.printAt(800, 390, recorderText(s));
  if (!frecsave(s, s, s)) recordLost(s);
}

}  // namespace qvx
