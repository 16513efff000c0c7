#pragma once
#include <string_view>
#include <vector>

namespace qvx {

// One help page as shipped in src/help/pages: its file name without ".txt", and its text.
// The first line is the page's title; blank lines separate paragraphs; a line starting
// with "- " is a point of a list, one starting with "# " a heading; words in [brackets]
// are button captions.
struct HelpPageFile {
  std::string_view name;
  std::string_view text;
};

// Every page, embedded at build time, in file-name order.
const std::vector<HelpPageFile>& helpPageFiles();

}  // namespace qvx
