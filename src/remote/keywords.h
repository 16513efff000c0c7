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

// What an item asks to be done at once, before the next item is read, beyond the
// setting it changed: build the generator's table, check the new mode, show the
// counter's input.
enum class RemoteAction { None, RegenerateWave, CheckMode, ShowCounter };

// The keyword effects on the settings alone: sets what `key` and `value` ask for, notes
// the refresh it needs and returns the action still to do. Touches neither the panel nor
// the port.
RemoteAction applyRemoteSetting(InstrumentState& s, const std::string& key,
                                const std::string& value, RemoteRefresh& refresh);

// Applies the decoded item (`RemoteKey`, `RemoteValue`) as the panel buttons would, and
// notes which refresh it needs. Unknown keys change nothing; a known key with a value
// outside its list leaves the setting as it was but still asks for its refresh.
void applyRemoteItem(Scope& s, RemoteRefresh& refresh);

// The same for a keyword and its value given directly (upper case, trimmed), with the
// action it asks for done at once: the one decoder of effects that the command file and
// the SCPI server share.
void applyRemoteKeyword(Scope& s, const std::string& key, const std::string& value,
                        RemoteRefresh& refresh);

// Refreshes what the settings asked for once they are all applied: the channel and
// trigger panels and the timebase, the level clamped to its source's range with its
// marker, the generator panel.
void refreshAfterRemote(Scope& s, const RemoteRefresh& refresh);

}  // namespace qvx
