#include "app/headless.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/port_choice.h"
#include "app/qt_event_source.h"
#include "app/scpi_start.h"
#include "app/stop_signals.h"
#include "bode/measurement.h"
#include "control/startup.h"
#include "core/console_host.h"
#include "core/scope.h"
#include "core/whole_file.h"

namespace qvx::app {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
  stopRequested = 1;
}

// One frequency response measurement into the CSV file: 0 when written, 1 when the
// instrument could not be used or the file not written.
int measureResponse(Scope& scope, const Options& options) {
  bode::Response response;
  const std::string failure = bode::measure(scope, *options.bode, response);
  int status = 0;
  if (!failure.empty()) {
    std::fprintf(stderr, "qvxscope: no frequency response measured: %s\n", failure.c_str());
    status = 1;
  } else if (!writeWholeFile(options.bodeCsv, bode::csvText(response))) {
    status = 1;
  } else {
    std::fprintf(stderr, "qvxscope: %zu frequency points written to %s\n", response.points.size(),
                 options.bodeCsv.c_str());
  }
  Form_Unload(scope);
  return status;
}

}  // namespace

int runHeadless(const Options& options, int argc, char** argv) {
  onStopSignals(onStopSignal);

  ConsoleHost host;
  std::unique_ptr<PortIO> port = openPort(options, [&host] { return host.NowNanoseconds(); });
  Scope scope(host, *port);
  host.attach(scope.panel);
  // A stop request inside a run or a wait ends the program there: the window's state is
  // not saved at exit anyway, and the data files are only ever complete or absent.
  host.setQuitCheck([] { return stopRequested != 0; },
                    [&scope] {
                      Form_Unload(scope);
                      std::fflush(nullptr);
                      std::_Exit(0);
                    });

  // The SCPI server's sockets need Qt's event loop, which the console host then runs
  // with its own events; without --scpi the program stays free of it.
  std::optional<QCoreApplication> qt;
  std::optional<QtEventSource> qtEvents;
  std::unique_ptr<ScpiServer> scpi;
  if (options.scpi) {
    qt.emplace(argc, argv);
    qtEvents.emplace();
    host.setEventSource(&*qtEvents);
    scpi = startScpiServer(scope, options);
    if (!scpi) return 2;
  }

  Form_Load(scope);
  Form_Activate(scope);
  if (options.bode) return measureResponse(scope, options);
  std::fprintf(stderr, "qvxscope: running without a window; polling %scom.txt (stop with Ctrl-C)\n",
               scope.RemotePrefix.c_str());
  if (options.go) scope.panel.GOBUTTON.click();
  namespace fs = std::filesystem;
  while (!scope.unloaded) {
    const fs::path folder = fs::path(scope.RemotePrefix + "com.txt").parent_path();
    host.watchFolder(folder.empty() ? "." : folder.string());
    host.idle();
  }
  return 0;
}

}  // namespace qvx::app
