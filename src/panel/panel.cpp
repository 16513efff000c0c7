#include "panel/panel.h"

namespace qvx {

void Panel::add(Widget& w, Widget* container) {
  w.container = container;
  controls.push_back(&w);
}

Panel::Panel() {
  for (Widget* w : std::initializer_list<Widget*>{
           &ScopeScreen, &CURSINFO,       &Picture2,       &HScroll1,  &HScroll2,
           &Picture7,    &ModeText,       &SCOPEMODE,      &GOCOLOR,   &GOBUTTON,
           &SmodeUP,     &SmodeDown,      &FFTbutton,      &Command22, &Command1,
           &helpbutton,  &fileloadbutton, &filesavebutton, &SETUP,     &UtilButton})
    add(*w);

  add(Picture6);
  for (Widget* w : std::initializer_list<Widget*>{
           &Command13, &Command15, &Command16, &Command12, &Command17, &Command18, &Command8,
           &Command9, &Command19, &Command20, &Command21, &Command23, &Command24, &Command25,
           &Command26, &Command27, &ZoomButton, &Scrollup, &scrolldown})
    add(*w, &Picture6);

  // Each channel panel also holds the position and magnify buttons of its trace.
  add(Picture3);
  for (Widget* w : std::initializer_list<Widget*>{&SCHAbutton, &Command2, &Command3, &Command4,
                                                  &scrollupA, &scrolldownA, &YMagAbutton})
    add(*w, &Picture3);
  add(Picture4);
  for (Widget* w : std::initializer_list<Widget*>{&SCHBbutton, &Command7, &Command6, &Command5,
                                                  &scrollupB, &scrolldownB, &YMagBbutton})
    add(*w, &Picture4);
  add(Picture13);
  for (Widget* w :
       std::initializer_list<Widget*>{&SCHEbutton, &scrollupE, &scrolldownE, &YMagEbutton})
    add(*w, &Picture13);
  add(Picture8);
  for (Widget* w :
       std::initializer_list<Widget*>{&SCHFbutton, &scrollupF, &scrolldownF, &YMagFbutton})
    add(*w, &Picture8);

  add(samdisp);
  for (Widget* w :
       std::initializer_list<Widget*>{&SRATEN, &SRATEP, &SSIZEN, &SSIZEP, &SRATEDISP, &SSIZEDISP})
    add(*w, &samdisp);

  add(Picture5);
  for (Widget* w : std::initializer_list<Widget*>{
           &TMODEBUTTON, &TSOURCEBUTTON, &TSLOPEBUTTON, &PRETRIGBUTTON, &TRESETBUTTON,
           &TriglevelBUTTON, &TRLARGEN, &TRSMALLN, &TRSMALLP, &TRLARGEP, &DelayWin, &levelval})
    add(*w, &Picture5);

  add(GENPICTURE);
  for (Widget* w : std::initializer_list<Widget*>{
           &STYLEDISP, &GENFREQDISP, &GENUPDATEBACK, &GENMODEBUTTON, &GENSTYLEBUTTON, &GENAMPBUTTON,
           &SWRATIOBUTTON, &GENLFREQBUTTONN, &GENSFREQBUTTONN, &GENSFREQBUTTONP, &GENLFREQBUTTONP,
           &DCUP, &DCDOWN})
    add(*w, &GENPICTURE);
  add(GENUPDATEBUTTON, &GENUPDATEBACK);

  add(Picture10);
  for (Widget* w :
       std::initializer_list<Widget*>{&Countdisp, &FCntModebutton, &FCntSourcebutton,
                                      &FCntStSpbutton, &FCntRepeatButton, &FCntResetbutton})
    add(*w, &Picture10);

  add(MeasPanel);
  add(Trigwait);
  add(BodeBox);
  for (Widget* w : std::initializer_list<Widget*>{
           &BodeStartDown, &BodeStartVal, &BodeStartUp, &BodeStopDown, &BodeStopVal, &BodeStopUp,
           &BodePpdDown, &BodePpdVal, &BodePpdUp, &BodeModeButton, &BodeRunButton, &BodeCsvButton,
           &BodeExit, &BodePlot, &BodeInfo})
    add(*w, &BodeBox);
  add(BodeSaveBox);
  for (Widget* w :
       std::initializer_list<Widget*>{&BodeDrive, &BodeDirPath, &BodeDirList, &BodeFileList,
                                      &BodeSaveName, &BodeSaveOk, &BodeSaveExit})
    add(*w, &BodeSaveBox);

  add(CONFIGWINDOW);
  for (Widget* w : std::initializer_list<Widget*>{&SETLPT1, &SETLPT2, &SETLPT3, &CONFIGEXIT})
    add(*w, &CONFIGWINDOW);
  add(fileloadwindow);
  for (Widget* w : std::initializer_list<Widget*>{
           &Drive1, &Dir1Path, &Dir1, &File1, &chaloadbutton, &chbloadbutton, &FFTloadab,
           &profileloadbutton, &Customloadbutton, &CustomCSVbutton, &keepcustombutton,
           &loadexitbutton, &CopyAbutton, &CopyBbutton, &CopyEbutton, &CopyFbutton})
    add(*w, &fileloadwindow);
  add(filesavewindow);
  for (Widget* w : std::initializer_list<Widget*>{
           &Drive2, &Dir2Path, &Dir2, &File3, &savename, &chasavebutton, &fftsaveab,
           &customsavebutton, &profilesavebutton, &EXPORTABBUTTON, &ExportFFTab, &exitsavebutton})
    add(*w, &filesavewindow);
  add(UtilBox);
  for (Widget* w : std::initializer_list<Widget*>{
           &CAGainUp, &CAGainDn, &CBGainUp, &CBGainDn, &CAOffUp, &CAOffDn, &CBOffUp, &CBOffDn,
           &DACADCdelup, &DACADCdeldn, &Cursxwinsel, &CAGainVal, &CBGainVal, &CAOffVal, &CBOffVal,
           &DACADCdelaywin, &Cursxwindow, &RemoteName, &UtilExit})
    add(*w, &UtilBox);
  add(printwindow);
  for (Widget* w :
       std::initializer_list<Widget*>{&Printsignal, &Printform, &PrintformPort, &exitprint})
    add(*w, &printwindow);
  add(helpwindow);
  for (Widget* w : std::initializer_list<Widget*>{
           &HelpTopic1, &HelpTopic2, &HelpTopic3, &HelpTopic4, &HelpTopic5, &HelpTopic6,
           &HelpTopic7, &HelpTopic8, &HelpTopic9, &HelpTopic10, &HelpTopic11, &HelpTopic12,
           &helpexit, &helppage})
    add(*w, &helpwindow);
  add(Filesavefrec);
  for (Widget* w :
       std::initializer_list<Widget*>{&FrecDrive, &FrecDirPath, &FrecDirList, &FrecFileList,
                                      &Frecname, &Frectimerx, &Command32})
    add(*w, &Filesavefrec);
  add(StatusLine);
  add(ExtrasBox);
  for (Widget* w : std::initializer_list<Widget*>{&AutoTrigButton, &FftWindowButton,
                                                  &FftScaleButton, &ExtrasExit})
    add(*w, &ExtrasBox);
  add(TypedValue);

  timers = {&Timer1, &Timer2};
}

Widget* Panel::find(const std::string& name) const {
  for (Widget* w : controls)
    if (w->name == name) return w;
  return nullptr;
}

PictureArea* Panel::findPicture(const std::string& name) const {
  Widget* w = find(name);
  return w && w->kind == Widget::Kind::Picture ? static_cast<PictureArea*>(w) : nullptr;
}

}  // namespace qvx
