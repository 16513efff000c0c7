#pragma once
#include <string>
#include <vector>

namespace qvx {

// Gains and offsets of channels A and B (files/calibration), applied by the readout.
struct CalibrationState {
  double CalGainA = 1, CalGainB = 1;
  double CalOffsetA = 0, CalOffsetB = 0;
};

// The file name, what is saved and the answers of the save dialog; shared by the save
// panel (files/) and the recorder panel (counter/).
struct SaveDialogState {
  std::string FilePath, SaveWhat, SaveExt;
  int SaveConfirmed = 0, SavePanelDone = 0;
};

// The load and save panels' requests and results (files/file_panels).
struct FilePanelState {
  int FileInvalid = 0;
  int LoadResult = 0;        // 1 after a successful load, copy or keep
  int LoadPanelGeneral = 1;  // 0: the custom-wave form of the load panel
  int LoadPanelDone = 0;
  int ReqLoadAB = 0, ReqLoadB = 0, ReqLoadFFT = 0, ReqLoadProfile = 0, ReqLoadCustom = 0,
      ReqLoadCsv = 0;
  int ReqCopyA = 0, ReqCopyB = 0, ReqCopyC = 0, ReqCopyD = 0, ReqKeepCustom = 0;
  int ReqSaveAB = 0, ReqSaveFFT = 0, ReqSaveCustom = 0, ReqSaveProfile = 0, ReqExportFFT = 0;
  int ExportKind = 0;      // 1: export samples (also the save panel's request), else spectra
  std::string LoadFolder;  // the folder the load panel shows; empty: the current one
  std::string SaveFolder;  // the folder the save panel shows; empty: the current one
  std::vector<std::string> LoadPlaces;  // the paths behind the load panel's place list
  std::vector<std::string> SavePlaces;  // the paths behind the save panel's place list
};

}  // namespace qvx
