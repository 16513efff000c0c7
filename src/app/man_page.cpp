#include "app/man_page.h"

#include "app/options.h"
#include "sim/options.h"

#ifndef QVX_VERSION
#define QVX_VERSION "unknown"
#endif

namespace qvx::app {

namespace {

// "\fB\-h\fR, \fB\-\-help\fR" or "\fB\-\-print\-to\fR=\fIFILE.pdf\fR": every dash of a
// name is a minus sign, so that the option can be copied from the page as it stands.
std::string optionTerm(const QCommandLineOption& option) {
  std::string term;
  for (const QString& name : option.names()) {
    if (!term.empty()) term += ", ";
    term += "\\fB";
    for (char c : (name.size() == 1 ? "-" : "--") + name.toStdString())
      term += c == '-' ? std::string("\\-") : std::string(1, c);
    term += "\\fR";
  }
  if (!option.valueName().isEmpty())
    term += "=\\fI" + roffText(option.valueName().toStdString()) + "\\fR";
  return term;
}

const char* const kHead = R"(.TH QVXSCOPE 1 "" "qvxscope )" QVX_VERSION R"(" "User Commands"
.SH NAME
qvxscope \- storage scope, spectrum analyser, generator and counter on the printer port
.SH SYNOPSIS
.B qvxscope
[\fIoptions\fR] [\fIFILE\fR.qvx|\fIFILE\fR.fft|\fIFILE\fR.dpf ...]
.SH DESCRIPTION
QVX Scope is the control and display program of the QVX, a small measuring instrument on a
PC's parallel printer port: a two-channel 12-bit storage oscilloscope with two digital
channels, a spectrum analyser, a signal generator, a generate-and-sample mode and a
frequency counter.
Unless told \fB\-\-port=direct\fR it works with the simulated instrument built into it,
so it can be tried on any machine.
.PP
Files named after the options (captures, spectra, profiles) are loaded after start-up as
the LOAD panel loads them.
.SH OPTIONS
Options take their value after \fB=\fR or as the next argument.
)";

const char* const kTail = R"(.SH FILES
The program reads and writes these files in the folder it works in: the current folder,
the folder given with \fB\-\-folder\fR, or \fI~/QVXScope\fR with \fB\-\-user\-folder\fR,
as the desktop's menu entry starts it.
.TP
.I QVXport.cfg
the printer port (1 to 3) the instrument is plugged into; when it is missing, or nothing
answers there, the port panel opens at start-up
.TP
.I QVXcal.cfg
the gains and offsets of channels A and B, written when the UTILS panel closes
.TP
.I QVXcom.txt
the command file by which another program drives this one; the answers go to
\fIQVXAdata.dat\fR, \fIQVXBdata.dat\fR, \fIQVXcdata.dat\fR, \fIQVXddata.dat\fR and
\fIQVXFdata.txt\fR (the prefix QVX can be changed on the UTILS panel)
.SH "EXIT STATUS"
0 when the program ends normally; 1 when \fB\-\-screenshot\fR cannot save its picture or
a file named on the command line does not load; 2 for an unknown or malformed option, or
a folder that cannot be created or entered.
.SH "SEE ALSO"
.I /usr/share/doc/qvxscope/getting\-started.txt
and the help pages in
.IR /usr/share/doc/qvxscope/help/ .
)";

}  // namespace

std::string roffText(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool startsWord = i == 0 || text[i - 1] == ' ' || text[i - 1] == '(' ||
                            text[i - 1] == '-' || text[i - 1] == '|';
    if (c == '\\')
      out += "\\e";
    else if (c == '-' && startsWord)
      out += "\\-";  // an option's dash or a minus sign; a hyphen inside a word stays one
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

std::string manPage() {
  std::string page = kHead;
  const std::vector<OptionEntry> entries = programOptions();
  const std::size_t simFirst = entries.size() - sim::simOptions().size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == simFirst) page += ".SS \"Simulated instrument\"\n";
    if (hiddenFromHelp(entries[i])) continue;
    page += ".TP\n" + optionTerm(entries[i].option) + "\n" +
            roffText(entries[i].option.description().toStdString()) + "\n";
  }
  return page + kTail;
}

}  // namespace qvx::app
