#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// What the items of one poll have asked to be refreshed once the whole file is read.
struct RemoteRefresh {
  bool channels = false;   // channel panels, trigger panel and timebase
  bool level = false;      // a TRIGLEVEL item was read: clamp it and move the marker
  bool generator = false;  // the generator panel
};

// Applies the decoded item (`RemoteKey`, `RemoteValue`) as the panel buttons would, and
// notes which refresh it needs. Unknown keys change nothing; a known key with a value
// outside its list leaves the setting as it was but still asks for its refresh.
void applyRemoteItem(Scope& s, RemoteRefresh& refresh);

// The same for a keyword and its value given directly (upper case, trimmed): the one
// decoder of settings, shared by the command file and the SCPI server.
void applyRemoteSetting(Scope& s, const std::string& key, const std::string& value,
                        RemoteRefresh& refresh);

// Refreshes what the settings asked for once they are all applied: the channel and
// trigger panels and the timebase, the level clamped to its source's range with its
// marker, the generator panel.
void refreshAfterRemote(Scope& s, const RemoteRefresh& refresh);

}  // namespace qvx
