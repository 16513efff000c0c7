#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/headless.h"
#include "app/man_page.h"
#include "app/options.h"
#include "app/port_choice.h"
#include "app/scpi_start.h"
#include "app/stop_signals.h"
#include "app/unattended_host.h"
#include "app/work_folder.h"
#include "bode/view.h"
#include "control/startup.h"
#include "core/scope.h"
#include "files/file_panels.h"
#include "measure/panel.h"
#include "ui/main_window.h"
#include "ui/print_output.h"
#include "ui/qt_host.h"

namespace {

// Screenshots show the window at 1.5 times the layout's natural size: 1190 x 818 pixels.
constexpr double kScreenshotScale = 1.5;

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
  interrupted = 1;
}

bool saveWindow(qvx::ui::MainWindow& window, const std::string& file) {
  window.sync();
  QCoreApplication::processEvents();
  if (window.grab().save(QString::fromStdString(file), "PNG")) return true;
  std::cerr << "qvxscope: cannot save the screenshot to " << file << "\n";
  return false;
}

// Leaves the program from inside a long operation, where the main loop cannot be reached.
[[noreturn]] void leaveNow(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

// Steps the mode as a user would, with the mode buttons: up to the generator modes and
// the counter, down to FFT.
void stepToMode(qvx::Scope& scope, int mode) {
  qvx::Button& step = mode == 4 ? scope.panel.SmodeDown : scope.panel.SmodeUP;
  for (int presses = 0; scope.OperatingMode != mode && presses < 5; ++presses) step.press();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qvx;
  app::Options options;
  std::string error;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!app::parseOptions(args, options, error)) {
    std::cerr << "qvxscope: " << error << "\n";
    return 2;
  }
  if (options.help) {
    std::cout << app::usage("qvxscope");
    return 0;
  }
  if (options.version) {
    std::cout << app::versionText("qvxscope");
    return 0;
  }
  if (options.man) {
    std::cout << app::manPage();
    return 0;
  }
  if (!options.folder.empty()) {
    app::anchorFileArguments(options);
    if (!app::enterFolder(options.folder, error)) {
      std::cerr << "qvxscope: " << error << "\n";
      return 2;
    }
  }
  int qtArgc = 1;
  if (options.headless) return app::runHeadless(options, qtArgc, argv);

  // Without a display the window is drawn offscreen, so screenshots and the remote
  // command file still work on a headless machine.
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    std::cerr << "qvxscope: no display found, running offscreen (stop with Ctrl-C)\n";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(qtArgc, argv);
  application.setStyle("Fusion");
  app::onStopSignals(onInterrupt);

  ui::QtHost host;
  std::unique_ptr<PortIO> port = app::openPort(options, [&host] { return host.NowNanoseconds(); });
  app::UnattendedHost unattended(host);
  Host& scopeHost = options.screenshot.empty() ? static_cast<Host&>(host) : unattended;
  Scope scope(scopeHost, *port);
  host.attach(scope.panel);

  std::unique_ptr<app::ScpiServer> scpi;
  if (options.scpi && !(scpi = app::startScpiServer(scope, options))) return 2;

  ui::MainWindow window(scope.panel);
  host.setOwner(&window);
  // Screenshots are taken at a fixed size so pictures stay comparable.
  if (!options.screenshot.empty()) window.setOpeningScale(kScreenshotScale);
  ui::installPrinting(scope, window, options.printTo);
  host.setSync([&window] { window.sync(); });
  window.onClose = [&scope] {
    if (!scope.unloaded) Form_Unload(scope);
    scope.unloaded = true;
  };

  bool inMainLoop = false;
  host.setQuitCheck([&scope] { return scope.unloaded || interrupted; },
                    [&] {
                      if (!scope.unloaded) {
                        Form_Unload(scope);
                        scope.unloaded = true;
                      }
                      if (inMainLoop && host.depth() == 0)
                        application.quit();
                      else
                        leaveNow(0);
                    });

  // A screenshot must not wait for a person: if start-up is held in a panel that waits
  // for its EXIT button, the picture is taken there.
  bool startupDone = false;
  if (!options.screenshot.empty())
    QTimer::singleShot(4000, &window, [&] {
      if (startupDone) return;
      leaveNow(saveWindow(window, options.screenshot) ? 0 : 1);
    });

  Form_Load(scope);
  window.sync();
  window.show();
  Form_Activate(scope);
  startupDone = true;
  window.sync();
  if (scope.unloaded) return 0;
  stepToMode(scope, options.mode);
  for (const std::string& panel : options.show)
    if (panel == "measurements")
      showMeasurements(scope, true);
    else if (panel == "bode")
      showBode(scope, true);
  if (options.bode) setBodePlan(scope, *options.bode);
  window.sync();

  bool filesLoaded = true;
  for (const std::string& file : options.files)
    filesLoaded = openFileFromCommandLine(scope, file) && filesLoaded;
  window.sync();

  // The counter measures until STOP, in COUNTER mode and under the generator: a picture
  // of the finished measurement is taken once the first reading is shown, or after a
  // while without one (no input), showing the count as it stands.
  QTimer stopAfterReading;
  const double giveUpAt = host.Now() + 30;
  QObject::connect(&stopAfterReading, &QTimer::timeout, [&scope, &host, giveUpAt] {
    if (scope.RunFlag == 1 && (scope.FCntReadings >= 1 || host.Now() > giveUpAt))
      scope.panel.GOBUTTON.click();
  });
  if (options.go && scope.panel.BodeBox.visible) {
    // The sweep runs inside its button's click, letting events run, until it is done.
    scope.panel.BodeRunButton.click();
  } else if (options.go) {
    if (!options.screenshot.empty()) stopAfterReading.start(20);
    scope.panel.GOBUTTON.click();
    double until = host.Now() + 120;
    while (scope.RunFlag != 0 && !scope.unloaded && host.Now() < until) {
      host.DoEvents();
      host.Sleep(5);
    }
  }
  if (!options.screenshot.empty())
    return saveWindow(window, options.screenshot) && filesLoaded ? 0 : 1;

  inMainLoop = true;
  return application.exec();
}
