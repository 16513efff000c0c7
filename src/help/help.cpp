#include "help/help.h"

#include "core/remote_poll.h"
#include "help/pages.h"

namespace qvx {

namespace {

constexpr int kPollMs = 10;
constexpr double kTitleSize = 14, kBodySize = 9;
constexpr Colour kTopicColour = 0xE8E8E8, kShownColour = 0xFFF0C8;
constexpr const char* kPoint = "\u2022  ";
constexpr const char* kPointIndent = "    ";
constexpr std::string_view kHeading = "# ";

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Fills `words` into lines no wider than `width`, the first starting with `first`, the
// others with `rest`.
void fill(const PictureArea& area, std::string_view words, double width, const std::string& first,
          const std::string& rest, std::vector<std::string>& out) {
  std::string line = first;
  bool empty = true;
  while (!words.empty()) {
    const std::size_t start = words.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    words.remove_prefix(start);
    const std::size_t end = words.find(' ');
    const std::string_view word = words.substr(0, end);
    words.remove_prefix(end == std::string_view::npos ? words.size() : end);
    const std::string candidate = empty ? line + std::string(word) : line + " " + std::string(word);
    if (!empty && area.textWidth(candidate) > width) {
      out.push_back(line);
      line = rest + std::string(word);
    } else {
      line = candidate;
    }
    empty = false;
  }
  out.push_back(line);
}

void showTopic(Scope& s, int topic) {
  Panel& p = s.panel;
  const auto& topics = helpTopics();
  for (std::size_t i = 0; i < topics.size(); ++i) {
    Button& b = p.*(topics[i].button);
    b.backColour = int(i) + 1 == topic ? kShownColour : kTopicColour;
  }
  PictureArea& page = p.helppage;
  page.cls();
  const std::string_view text = helpPageText(topics[topic - 1].page);
  const std::size_t titleEnd = text.find('\n');
  const double margin = 200;
  page.fontBold = true;
  page.fontSize = kTitleSize;
  page.printAt(margin, 120, std::string(text.substr(0, titleEnd)));
  page.fontBold = false;
  page.fontSize = kBodySize;
  page.CurrentY += page.textHeight() / 2;
  const std::string_view body =
      titleEnd == std::string_view::npos ? std::string_view() : text.substr(titleEnd + 1);
  // Widths here are estimated from the character count; lines of capitals run wider than
  // the estimate, so they are filled to a tenth less than the room to stay whole.
  const double room = 0.9 * (page.ScaleWidth() - 2 * margin);
  for (const std::string& line : wrapHelpText(page, body, room)) {
    if (line.empty()) {
      page.CurrentY += page.textHeight() / 2;
      continue;
    }
    const bool heading = line.starts_with(kHeading);
    page.fontBold = heading;
    page.printAt(margin, page.CurrentY, heading ? line.substr(kHeading.size()) : line);
  }
  page.fontBold = false;
  s.HelpTopicShown = topic;
}

}  // namespace

const std::array<HelpTopic, 12>& helpTopics() {
  static const std::array<HelpTopic, 12> topics = {{
      {&Panel::HelpTopic1, "readme_1st"},
      {&Panel::HelpTopic2, "software"},
      {&Panel::HelpTopic3, "using_scope"},
      {&Panel::HelpTopic4, "using_generator"},
      {&Panel::HelpTopic5, "using_fft"},
      {&Panel::HelpTopic6, "using_counter"},
      {&Panel::HelpTopic7, "loading_files"},
      {&Panel::HelpTopic8, "saving_files"},
      {&Panel::HelpTopic9, "printing"},
      {&Panel::HelpTopic10, "utils"},
      {&Panel::HelpTopic11, "instrument_figures"},
      {&Panel::HelpTopic12, "contact_us"},
  }};
  return topics;
}

std::string_view helpPageText(std::string_view page) {
  for (const HelpPageFile& f : helpPageFiles())
    if (f.name == page) return f.text;
  return {};
}

std::vector<std::string> wrapHelpText(const PictureArea& area, std::string_view body,
                                      double width) {
  std::vector<std::string> out;
  std::string paragraph;
  auto flush = [&] {
    if (!paragraph.empty()) fill(area, paragraph, width, "", "", out);
    paragraph.clear();
  };
  for (std::string_view line : splitLines(body)) {
    if (line.find_first_not_of(' ') == std::string_view::npos) {
      flush();
      if (!out.empty() && !out.back().empty()) out.emplace_back();
    } else if (line.starts_with("# ")) {
      flush();
      out.emplace_back(line);
    } else if (line.starts_with("- ")) {
      flush();
      fill(area, line.substr(2), width, kPoint, kPointIndent, out);
    } else {
      if (!paragraph.empty()) paragraph += ' ';
      paragraph += line;
    }
  }
  flush();
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

void helpbutton_Click(Scope& s) {
  holdRemotePoll(s);
  HELPPANEL(s);
  s.panel.focus = s.panel.FFTbutton.name;
  resumeRemotePoll(s);
}

void HELPPANEL(Scope& s) {
  PictureArea& w = s.panel.helpwindow;
  s.HelpExitReq = 0;
  s.HelpTopicReq = 1;
  w.visible = true;
  while (s.HelpExitReq != 1 && !s.unloaded) {
    if (s.HelpTopicReq >= 1 && s.HelpTopicReq <= int(helpTopics().size()))
      showTopic(s, s.HelpTopicReq);
    s.HelpTopicReq = 0;
    s.host.DoEvents();
    if (s.HelpExitReq != 1 && s.HelpTopicReq == 0) s.host.Sleep(kPollMs);
  }
  s.HelpTopicReq = 0;
  s.HelpTopicShown = 0;
  w.visible = false;
}

void helpexit_Click(Scope& s) {
  s.HelpExitReq = 1;
}

void layOutHelpPanel(Panel& p) {
  const auto& topics = helpTopics();
  int y = 150;
  for (const HelpTopic& t : topics) {
    Button& b = p.*(t.button);
    b.place = {150, y, 2000, 520};
    b.fontSize = 9;
    b.fontBold = true;
    b.backColour = kTopicColour;
    y += 600;
  }
  p.helpexit.place = {150, y + 60, 2000, 520};
  p.helpexit.fontSize = 10;
  p.helpexit.fontBold = true;
  p.helppage.place = {2350, 150, 9395, 7875};
  p.helppage.backColour = 0xFFFFFF;
  p.helppage.foreColour = 0x202020;
}

void wireHelpPanel(Scope& s) {
  const auto& topics = helpTopics();
  for (std::size_t i = 0; i < topics.size(); ++i)
    (s.panel.*(topics[i].button)).onClick = [&s, i] { s.HelpTopicReq = int(i) + 1; };
  s.panel.helpexit.onClick = [&s] { helpexit_Click(s); };
  s.panel.helpbutton.onClick = [&s] { helpbutton_Click(s); };
}

}  // namespace qvx
