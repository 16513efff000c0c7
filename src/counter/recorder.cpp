#include "counter/recorder.h"

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

// Recording must never look as if it went on when it cannot: the user is told, and the
// recorder is switched off so the panel says OFF.
void recorderFailed(Scope& s) {
  s.host.MsgBox(
      "Unable to write the frequency recorder file " + s.FilePath + " - recording is switched off",
      mb::OK, "Help");
  s.FRecInterval = 0;
  CountDisplay(s);
}
}  // namespace

bool recorderDue(double now, double due) {
  if (now >= due) return !(now > kLateEvening && due < kEarlyMorning);
  return now < kEarlyMorning && due > kLateEvening && (due <= kDay || now + kDay >= due);
}

double recorderInterval(const std::string& typed) {
  const double v = std::strtod(typed.c_str(), nullptr);
  if (!std::isfinite(v) || v < kMinInterval || v > kMaxInterval) return 0;
  return v;
}

std::string recorderText(const CounterState& s) {
  if (s.FRecInterval == 0) return " OFF     ";
  return numberText(s.FRecInterval) + "s       ";
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
  s.FRecField1 = plainNumber(s.FRecElapsed);
  s.FRecField2 = plainNumber(s.FCntValue);
  s.FRecElapsed += s.FRecInterval;
  s.FRecNextTime += s.FRecInterval;
  if (s.FRecNextTime > kDueWrapAt) s.FRecNextTime -= kDay;

  PictureArea& p = s.panel.Picture10;
  p.foreColour = s.TraceColour[2];
  p.fontSize = 9;
  p.printAt(800, 390, recorderText(s));
  if (!frecsave(s, s, s)) recorderFailed(s);
}

}  // namespace qvx
