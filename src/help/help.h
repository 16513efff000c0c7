#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/scope.h"

namespace qvx {

// The help panel (HELP): twelve topic buttons and EXIT beside the page of the topic
// chosen. It runs as a request-flag panel: the buttons only note the request, the panel
// loop shows the page.
void helpbutton_Click(Scope& s);
void HELPPANEL(Scope& s);
void helpexit_Click(Scope& s);

struct HelpTopic {
  Button Panel::*button;
  const char* page;  // file name in src/help/pages, without ".txt"
};
// The topics in button order; topic n (1..12) is helpTopics()[n - 1].
const std::array<HelpTopic, 12>& helpTopics();

// The text of a page by its file name; empty when there is no such page.
std::string_view helpPageText(std::string_view page);

// A page broken into the lines it is shown in, each no wider than `width` in `area`'s
// units at the area's current font. Paragraphs are filled; list points start a line; a
// heading ("# " and its text) stands on a line of its own, prefix kept; an empty string
// is the gap between paragraphs.
std::vector<std::string> wrapHelpText(const PictureArea& area, std::string_view body, double width);

// Places the panel's buttons and its page area, and wires the buttons.
void layOutHelpPanel(Panel& p);
void wireHelpPanel(Scope& s);

}  // namespace qvx
