#pragma once
#include <string>

#include "core/scope.h"

namespace qvx {

// The frequency recorder: completed frequency readings appended to a CSV file at the
// chosen interval, each line "elapsed seconds,count", after a header pair of the start
// date and time and the column names.

// After each completed frequency reading: appends a record when one is due.
void FRecTest(Scope& s);
// Appends "FRecField1,FRecField2" as one whole line and flushes it; DataFilesReady
// tells whether it reached the file. Returns the same.
bool frecsave(const CounterState& counter, const SaveDialogState& dialog, RemoteState& remote);
// Builds FilePath from the folder and the name box (extension forced to SaveExt) and
// asks the user to confirm; SaveConfirmed says whether they did.
void frecnametest(Scope& s);
// Runs the recorder panel until a file is set up or recording is turned off.
void frecfilesave(Scope& s);
// Recorder panel controls: go to the place or folder clicked, take the file name
// clicked, EXIT.
void FrecDrive_Click(Scope& s);
void FrecDirList_Click(Scope& s);
void FrecFileList_Click(Scope& s);
void Command32_Click(Scope& s);

// Whether a record is due at time of day `now` (seconds since midnight) when the next
// one was due at `due`, which may have run past midnight (above 86,400).
bool recorderDue(double now, double due);
// The interval typed into the panel: its leading number, or 0 (recording off) outside
// 3..9999 seconds.
double recorderInterval(const std::string& typed);
// The same rule for a number: itself within 3..9999 seconds, else 0.
double recorderInterval(double seconds);
// A new interval for the recording under way (the typed readout on the counter panel),
// by the panel's rule: outside 3..9999 seconds it turns recording off. The next record
// stays due when it was; the ones after follow the new interval.
void setRecorderInterval(Scope& s, double seconds);
// The recorder's word on the counter panel: " OFF     ", the interval, e.g. " 5s       ",
// or while records of this recording are lost their number, e.g. "2 lost   ".
std::string recorderText(const CounterState& s);
// A number as a record's field holds it.
std::string recorderField(double value);
// The file name the panel's name box gives: the extension replaced by `ext`.
std::string recorderFileName(const std::string& typed, const std::string& ext);

inline constexpr const char* kRecorderHeader1 = "Elaspe(sec)";
inline constexpr const char* kRecorderHeader2 = "Frequency(Hz)";

}  // namespace qvx
