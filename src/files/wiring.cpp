#include "files/wiring.h"

#include "files/calibration.h"
#include "files/file_panels.h"

namespace qvx {

void wireFiles(Scope& s) {
  Panel& p = s.panel;
  auto on = [&s](void (*handler)(Scope&)) { return [&s, handler] { handler(s); }; };
  auto request = [](int& flag) { return [&flag] { flag = 1; }; };

  p.fileloadbutton.onClick = on(fileloadbutton_Click);
  p.filesavebutton.onClick = on(filesavebutton_Click);

  p.chaloadbutton.onClick = request(s.ReqLoadAB);
  p.chbloadbutton.onClick = request(s.ReqLoadB);
  p.FFTloadab.onClick = request(s.ReqLoadFFT);
  p.profileloadbutton.onClick = request(s.ReqLoadProfile);
  p.Customloadbutton.onClick = request(s.ReqLoadCustom);
  p.CustomCSVbutton.onClick = request(s.ReqLoadCsv);
  p.CopyAbutton.onClick = request(s.ReqCopyA);
  p.CopyBbutton.onClick = request(s.ReqCopyB);
  p.CopyEbutton.onClick = request(s.ReqCopyC);
  p.CopyFbutton.onClick = request(s.ReqCopyD);
  p.keepcustombutton.onClick = request(s.ReqKeepCustom);
  p.loadexitbutton.onClick = request(s.LoadPanelDone);

  p.chasavebutton.onClick = request(s.ReqSaveAB);
  p.fftsaveab.onClick = request(s.ReqSaveFFT);
  p.customsavebutton.onClick = request(s.ReqSaveCustom);
  p.profilesavebutton.onClick = request(s.ReqSaveProfile);
  p.EXPORTABBUTTON.onClick = request(s.ExportKind);
  p.ExportFFTab.onClick = request(s.ReqExportFFT);
  p.exitsavebutton.onClick = request(s.SavePanelDone);
  p.File3.onClick = on(File3_Click);

  p.UtilExit.onClick = on(UtilExit_Click);
  p.Cursxwinsel.onClick = on(Cursxwinsel_Click);
  p.CAGainUp.onClick = on(CAGainUp_Click);
  p.CAGainDn.onClick = on(CAGainDn_Click);
  p.CBGainUp.onClick = on(CBGainUp_Click);
  p.CBGainDn.onClick = on(CBGainDn_Click);
  p.CAOffUp.onClick = on(CAOffUp_Click);
  p.CAOffDn.onClick = on(CAOffDn_Click);
  p.CBOffUp.onClick = on(CBOffUp_Click);
  p.CBOffDn.onClick = on(CBOffDn_Click);
  p.DACADCdelup.onClick = on(DACADCdelup_Click);
  p.DACADCdeldn.onClick = on(DACADCdeldn_Click);

  wireFileLists(s);
}

}  // namespace qvx
