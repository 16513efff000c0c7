#include "remote/command_file.h"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "core/command_file_watch.h"
#include "core/plain_file.h"
#include "remote/command_syntax.h"
#include "remote/keywords.h"

namespace qvx {

namespace {

constexpr int SCOPE_COUNTER = 3;
constexpr int kWriterGraceMs = 50;

// Remembers the file so the next polls pass it by, and says why once.
void skipFromNowOn(RemoteState& s, const std::string& stamp, const std::string& what,
                   const std::string& why) {
  if (stamp.empty() || stamp == s.RemoteSkipStamp) return;
  s.RemoteSkipStamp = stamp;
  std::fprintf(stderr,
               "qvxscope: cannot %s the command file %s (%s); it is not run again until it "
               "changes\n",
               what.c_str(), s.RemoteFilePath.c_str(), why.c_str());
}

// Only a plain file is a command: a folder, FIFO or device of that name is neither read
// nor removed, and is never waited on. Returns an empty text when the file was read,
// otherwise why it was not.
std::string readWhole(const std::string& path, std::string& text) {
  std::string why;
  std::optional<std::string> bytes = readPlainFile(path, std::string::npos, &why);
  if (!bytes) return why;
  text = std::move(*bytes);
  return {};
}

void runOnce(Scope& s) {
  if (s.OperatingMode == SCOPE_COUNTER) s.FCntMode = 0;
  s.RunFlag = 1;
  s.RepeatMode = 0;
  if (s.runControl.go) s.runControl.go(s);
}

}  // namespace

void RemoteCommand(Scope& s) {
  s.RemoteFilePath = s.RemotePrefix + "com.txt";
  if (!s.host.FileExists(s.RemoteFilePath)) {
    s.RemoteExecute = 0;
    s.RemoteSkipStamp.clear();
    return;
  }
  if (!commandFileWaiting(s)) return;

  s.host.Sleep(kWriterGraceMs);
  const std::string stamp = fileStamp(s.RemoteFilePath);
  std::string text;
  if (const std::string why = readWhole(s.RemoteFilePath, text); !why.empty()) {
    skipFromNowOn(s, stamp, "read", why);
    return;
  }

  RemoteRefresh wanted;
  for (const std::string_view item : readItems(text)) {
    s.RemoteKey = item;
    Remotereadcom(s);
    if (s.RemoteExecute != 1) applyRemoteItem(s, wanted);
  }
  s.RepeatMode = 0;
  refreshAfterRemote(s, wanted);

  s.host.DoEvents();
  std::string why;
  if (s.host.RemoveFile(s.RemoteFilePath, why)) {
    s.RemoteSkipStamp.clear();
  } else {
    skipFromNowOn(s, stamp, "remove", why);
  }

  if (s.RemoteExecute == 1) runOnce(s);
  s.RemoteExecute = 0;
}

}  // namespace qvx
