#pragma once
#include <functional>
#include <string>
#include <vector>

#include "panel/picture.h"
#include "panel/widget.h"

namespace qvx {

// The main window's panel model: every control under its own name, with what the
// window toolkit would hold for it. Procedures set these; the skin shows them.
struct Panel {
  Panel();
  Panel(const Panel&) = delete;
  Panel& operator=(const Panel&) = delete;

  std::string title;
  Rect windowPlace;   // outer place of the main window, twips
  std::string focus;  // name of the control holding the keyboard focus

  // Run control and mode
  Button GOBUTTON{"GOBUTTON", "GO"};
  PictureArea GOCOLOR{"GOCOLOR"};
  PictureArea ModeText{"ModeText"};
  PictureArea SCOPEMODE{"SCOPEMODE"};
  Button SmodeUP{"SmodeUP", ">"};
  Button SmodeDown{"SmodeDown", "<"};
  Button FFTbutton{"FFTbutton", ""};
  Button Command22{"Command22", "EXIT"};
  Button Command1{"Command1", "PRINT"};
  Button helpbutton{"helpbutton", "HELP"};
  Button fileloadbutton{"fileloadbutton", "LOAD"};
  Button filesavebutton{"filesavebutton", "SAVE"};
  Button SETUP{"SETUP", "PORT"};
  Button UtilButton{"UtilButton", "UTILS"};
  TextBox savename{"savename"};

  // Signal display
  PictureArea ScopeScreen{"ScopeScreen"};
  PictureArea CURSINFO{"CURSINFO"};
  PictureArea Picture2{"Picture2"};    // buffer-position bar
  ScrollBar HScroll1{"HScroll1"};      // window position
  ScrollBar HScroll2{"HScroll2"};      // window width (X magnify)
  PictureArea Picture7{"Picture7"};    // magnifier label
  PictureArea Trigwait{"Trigwait"};    // status box over the display
  PictureArea MeasPanel{"MeasPanel"};  // measurements beside the display, while open

  // Display panel
  PictureArea Picture6{"Picture6"};
  Button Command13{"Command13", "GRID"};
  Button Command15{"Command15", "JOIN"};
  Button Command16{"Command16", "UNITS"};
  Button Command12{"Command12", "Y Mag"};
  Button Command17{"Command17", "A"};
  Button Command18{"Command18", "B"};
  Button Command8{"Command8", "C"};
  Button Command9{"Command9", "D"};
  Button Command19{"Command19", "E"};
  Button Command20{"Command20", "A+B"};
  Button Command21{"Command21", "A-B"};
  Button Command23{"Command23", "CURSOR"};
  Button Command24{"Command24", "<<"};
  Button Command25{"Command25", ">>"};
  Button Command26{"Command26", "<"};
  Button Command27{"Command27", ">"};
  Button ZoomButton{"ZoomButton", "Z"};
  Button Cursxwinsel{"Cursxwinsel", "X"};

  // Per-trace position and magnify buttons (they draw their own faces)
  PictureArea scrollupA{"scrollupA"}, scrolldownA{"scrolldownA"};
  PictureArea scrollupB{"scrollupB"}, scrolldownB{"scrolldownB"};
  PictureArea scrollupE{"scrollupE"}, scrolldownE{"scrolldownE"};
  PictureArea scrollupF{"scrollupF"}, scrolldownF{"scrolldownF"};
  PictureArea Scrollup{"Scrollup"}, scrolldown{"scrolldown"};
  PictureArea YMagAbutton{"YMagAbutton"}, YMagBbutton{"YMagBbutton"};
  PictureArea YMagEbutton{"YMagEbutton"}, YMagFbutton{"YMagFbutton"};

  // Channel panels
  PictureArea Picture3{"Picture3"};  // CH A
  Button SCHAbutton{"SCHAbutton", "OFF"};
  Button Command2{"Command2", "AC"};
  Button Command3{"Command3", "Range"};
  Button Command4{"Command4", "Probe"};
  PictureArea Picture4{"Picture4"};  // CH B
  Button SCHBbutton{"SCHBbutton", "OFF"};
  Button Command7{"Command7", "AC"};
  Button Command6{"Command6", "Range"};
  Button Command5{"Command5", "Probe"};
  PictureArea Picture13{"Picture13"};  // CH C
  Button SCHEbutton{"SCHEbutton", "OFF"};
  PictureArea Picture8{"Picture8"};  // CH D
  Button SCHFbutton{"SCHFbutton", "OFF"};

  // Timebase panel
  PictureArea samdisp{"samdisp"};
  Button SRATEN{"SRATEN", "<"};
  Button SRATEP{"SRATEP", ">"};
  Button SSIZEN{"SSIZEN", "<"};
  Button SSIZEP{"SSIZEP", ">"};
  PictureArea SRATEDISP{"SRATEDISP"};
  PictureArea SSIZEDISP{"SSIZEDISP"};

  // Trigger panel
  PictureArea Picture5{"Picture5"};
  Button TMODEBUTTON{"TMODEBUTTON", "Mode"};
  Button TSOURCEBUTTON{"TSOURCEBUTTON", "Source"};
  Button TSLOPEBUTTON{"TSLOPEBUTTON", "Slope"};
  Button PRETRIGBUTTON{"PRETRIGBUTTON", "PreTrig"};
  Button TRESETBUTTON{"TRESETBUTTON", "Single"};
  Button TriglevelBUTTON{"TriglevelBUTTON", "Level"};
  Button TRLARGEN{"TRLARGEN", "<<"};
  Button TRSMALLN{"TRSMALLN", "<"};
  Button TRSMALLP{"TRSMALLP", ">"};
  Button TRLARGEP{"TRLARGEP", ">>"};
  PictureArea DelayWin{"DelayWin"};
  PictureArea levelval{"levelval"};

  // Generator panel
  PictureArea GENPICTURE{"GENPICTURE"};
  PictureArea STYLEDISP{"STYLEDISP"};
  PictureArea GENFREQDISP{"GENFREQDISP"};
  PictureArea GENUPDATEBACK{"GENUPDATEBACK"};
  Button GENMODEBUTTON{"GENMODEBUTTON", "Mode"};
  Button GENSTYLEBUTTON{"GENSTYLEBUTTON", "Style"};
  Button GENAMPBUTTON{"GENAMPBUTTON", "Amp"};
  Button SWRATIOBUTTON{"SWRATIOBUTTON", "Ratio"};
  Button GENLFREQBUTTONN{"GENLFREQBUTTONN", "<<"};
  Button GENSFREQBUTTONN{"GENSFREQBUTTONN", "<"};
  Button GENSFREQBUTTONP{"GENSFREQBUTTONP", ">"};
  Button GENLFREQBUTTONP{"GENLFREQBUTTONP", ">>"};
  Button DCUP{"DCUP", "+"};
  Button DCDOWN{"DCDOWN", "-"};
  Button GENUPDATEBUTTON{"GENUPDATEBUTTON", "UPDATE"};

  // Counter panel
  PictureArea Picture10{"Picture10"};
  PictureArea Countdisp{"Countdisp"};
  Button FCntModebutton{"FCntModebutton", "Mode"};
  Button FCntSourcebutton{"FCntSourcebutton", "Input"};
  Button FCntStSpbutton{"FCntStSpbutton", "Rec"};
  Button FCntRepeatButton{"FCntRepeatButton", "Single"};
  Button FCntResetbutton{"FCntResetbutton", "Start"};

  // Pop-up panels, each covering the window while it is open
  PictureArea CONFIGWINDOW{"CONFIGWINDOW"};
  Button SETLPT1{"SETLPT1", "LPT1"};
  Button SETLPT2{"SETLPT2", "LPT2"};
  Button SETLPT3{"SETLPT3", "LPT3"};
  Button CONFIGEXIT{"CONFIGEXIT", "EXIT"};
  PictureArea fileloadwindow{"fileloadwindow"};
  ListBox Drive1{"Drive1"};  // places: the filesystem root, home, mounted volumes
  PictureArea Dir1Path{"Dir1Path"};
  ListBox Dir1{"Dir1"};
  ListBox File1{"File1"};
  Button chaloadbutton{"chaloadbutton", "Load A,B,C,D Waves (qvx)"};
  Button chbloadbutton{"chbloadbutton", "Load B Waves (qvx)"};
  Button FFTloadab{"FFTloadab", "Load A + B FFT plots (fft)"};
  Button profileloadbutton{"profileloadbutton", "Load Scope Profile (dpf)"};
  Button Customloadbutton{"Customloadbutton", "Load Custom Wave (dcg)"};
  Button CustomCSVbutton{"CustomCSVbutton", "Load CSV Excel Wave"};
  Button keepcustombutton{"keepcustombutton", "Keep existing data"};
  Button loadexitbutton{"loadexitbutton", "EXIT"};
  Button CopyAbutton{"CopyAbutton", "Copy Ch A signal"};
  Button CopyBbutton{"CopyBbutton", "Copy Ch B signal"};
  Button CopyEbutton{"CopyEbutton", "Copy Ch C signal"};
  Button CopyFbutton{"CopyFbutton", "Copy Ch D signal"};
  PictureArea filesavewindow{"filesavewindow"};
  ListBox Drive2{"Drive2"};
  PictureArea Dir2Path{"Dir2Path"};
  ListBox Dir2{"Dir2"};
  ListBox File3{"File3"};
  Button chasavebutton{"chasavebutton", "Save A,B,C,D Waves"};
  Button fftsaveab{"fftsaveab", "Save A + B FFT Plots"};
  Button customsavebutton{"customsavebutton", "Save Custom Wave"};
  Button profilesavebutton{"profilesavebutton", "Save Scope Profile"};
  Button EXPORTABBUTTON{"EXPORTABBUTTON", "Export A,B,C,D (Excel)"};
  Button ExportFFTab{"ExportFFTab", "Export A + B FFT (Excel csv)"};
  Button exitsavebutton{"exitsavebutton", "EXIT"};
  // The adjustment panel: calibration, SCOPE+GEN pre-delay, cursor reference, remote prefix.
  PictureArea UtilBox{"UtilBox"};
  Button CAGainUp{"CAGainUp", "+"}, CAGainDn{"CAGainDn", "-"};
  Button CBGainUp{"CBGainUp", "+"}, CBGainDn{"CBGainDn", "-"};
  Button CAOffUp{"CAOffUp", "+"}, CAOffDn{"CAOffDn", "-"};
  Button CBOffUp{"CBOffUp", "+"}, CBOffDn{"CBOffDn", "-"};
  Button DACADCdelup{"DACADCdelup", "+"}, DACADCdeldn{"DACADCdeldn", "-"};
  PictureArea CAGainVal{"CAGainVal"}, CBGainVal{"CBGainVal"};
  PictureArea CAOffVal{"CAOffVal"}, CBOffVal{"CBOffVal"};
  PictureArea DACADCdelaywin{"DACADCdelaywin"};
  PictureArea Cursxwindow{"Cursxwindow"};
  TextBox RemoteName{"RemoteName"};
  Button UtilExit{"UtilExit", "EXIT"};
  PictureArea printwindow{"printwindow"};
  Button Printsignal{"Printsignal", "SIGNAL"};
  Button Printform{"Printform", "LANDSCAPE"};
  Button PrintformPort{"PrintformPort", "PORTRAIT"};
  Button exitprint{"exitprint", "EXIT"};
  PictureArea helpwindow{"helpwindow"};
  Button HelpTopic1{"HelpTopic1", "Readme 1st"};
  Button HelpTopic2{"HelpTopic2", "Software"};
  Button HelpTopic3{"HelpTopic3", "Using Scope"};
  Button HelpTopic4{"HelpTopic4", "Using Generator"};
  Button HelpTopic5{"HelpTopic5", "Using FFT"};
  Button HelpTopic6{"HelpTopic6", "Using Counter"};
  Button HelpTopic7{"HelpTopic7", "Loading Files"};
  Button HelpTopic8{"HelpTopic8", "Saving Files"};
  Button HelpTopic9{"HelpTopic9", "Printing"};
  Button HelpTopic10{"HelpTopic10", "Utils"};
  Button HelpTopic11{"HelpTopic11", "Specifications"};
  Button HelpTopic12{"HelpTopic12", "Contact us"};
  Button helpexit{"helpexit", "EXIT"};
  PictureArea helppage{"helppage"};          // the page of the topic chosen
  PictureArea Filesavefrec{"Filesavefrec"};  // frequency recorder panel
  ListBox FrecDrive{"FrecDrive"};            // places, as on the load and save panels
  PictureArea FrecDirPath{"FrecDirPath"};
  ListBox FrecDirList{"FrecDirList"};
  ListBox FrecFileList{"FrecFileList"};
  TextBox Frecname{"Frecname"};
  TextBox Frectimerx{"Frectimerx"};
  Button Command32{"Command32", "EXIT"};

  // Extras around the described window, all hidden until used: the handling settings
  // (a small panel over the display) and the status line that keeps a run's refusal.
  PictureArea ExtrasBox{"ExtrasBox"};
  Button AutoTrigButton{"AutoTrigButton", "Auto trigger OFF"};
  Button FftWindowButton{"FftWindowButton", "FFT window Rect"};
  Button FftScaleButton{"FftScaleButton", "FFT scale Linear"};
  Button ExtrasExit{"ExtrasExit", "EXIT"};
  PictureArea StatusLine{"StatusLine"};
  // The Bode view over the display while open: its plan, its run button, the picture of
  // gain and phase, the readouts, and the pop-up that saves the response as CSV.
  PictureArea BodeBox{"BodeBox"};
  Button BodeStartDown{"BodeStartDown", "<"}, BodeStartUp{"BodeStartUp", ">"};
  PictureArea BodeStartVal{"BodeStartVal"};
  Button BodeStopDown{"BodeStopDown", "<"}, BodeStopUp{"BodeStopUp", ">"};
  PictureArea BodeStopVal{"BodeStopVal"};
  Button BodePpdDown{"BodePpdDown", "<"}, BodePpdUp{"BodePpdUp", ">"};
  PictureArea BodePpdVal{"BodePpdVal"};
  Button BodeModeButton{"BodeModeButton", "Stepped"};
  Button BodeRunButton{"BodeRunButton", "GO"};
  Button BodeCsvButton{"BodeCsvButton", "Save CSV"};
  Button BodeExit{"BodeExit", "EXIT"};
  PictureArea BodePlot{"BodePlot"};
  PictureArea BodeInfo{"BodeInfo"};
  PictureArea BodeSaveBox{"BodeSaveBox"};
  ListBox BodeDrive{"BodeDrive"};
  PictureArea BodeDirPath{"BodeDirPath"};
  ListBox BodeDirList{"BodeDirList"};
  ListBox BodeFileList{"BodeFileList"};
  TextBox BodeSaveName{"BodeSaveName"};
  Button BodeSaveOk{"BodeSaveOk", "Save"};
  Button BodeSaveExit{"BodeSaveExit", "EXIT"};
  // The field a readout's number is typed into, laid over the readout while open.
  TextBox TypedValue{"TypedValue"};
  // Keys typed anywhere in the window go here first; true when a shortcut took the key.
  std::function<bool(int key)> onShortcut;
  // The order Tab visits the controls, by name: the layout's groups one after another.
  std::vector<std::string> tabOrder;

  // Timers
  Timer Timer1{"Timer1"};  // removes the trigger-level marker
  Timer Timer2{"Timer2"};  // polls for the remote command file

  // Keys that act wherever the keyboard focus is, each with what it does.
  struct Shortcut {
    int key;
    std::function<void()> action;
  };
  std::vector<Shortcut> shortcuts;

  // Every control, in the order the skin stacks them (later ones on top), and the timers.
  std::vector<Widget*> controls;
  std::vector<Timer*> timers;

  Widget* find(const std::string& name) const;
  PictureArea* findPicture(const std::string& name) const;

 private:
  void add(Widget& w, Widget* container = nullptr);
};

}  // namespace qvx
