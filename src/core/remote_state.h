#pragma once
#include <string>

namespace qvx {

// The remote command file (remote/) and the data files a remote run answers with.
struct RemoteState {
  int RemoteExecute = 0;
  std::string RemotePrefix = "QVX";
  std::string RemoteKey, RemoteValue, RemoteFilePath;
  int RemoteDisplayUpdate = 1;
  int WriteDataA = 0, WriteDataB = 0, WriteDataC = 0, WriteDataD = 0;
  int DataFilesReady = 0;
  int DataFileNumber = 0;
  // The command file last read but not removable (or not readable), identified by its
  // size and time of writing; it is not run again until it changes. Empty when none.
  std::string RemoteSkipStamp;
};

}  // namespace qvx
