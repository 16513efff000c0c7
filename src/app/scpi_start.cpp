#include "app/scpi_start.h"

#include <cstdio>

namespace qvx::app {

std::unique_ptr<ScpiServer> startScpiServer(Scope& scope, const Options& options) {
  const QHostAddress address(QString::fromStdString(options.scpiAddress));
  auto server = std::make_unique<ScpiServer>(scope);
  std::string error;
  if (!server->listen(address, static_cast<quint16>(options.scpiPort), error)) {
    std::fprintf(stderr, "qvxscope: cannot serve SCPI on %s:%d: %s\n", options.scpiAddress.c_str(),
                 options.scpiPort, error.c_str());
    return nullptr;
  }
  std::fprintf(stderr, "qvxscope: SCPI server listening on %s:%u\n", options.scpiAddress.c_str(),
               static_cast<unsigned>(server->port()));
  if (!address.isLoopback())
    std::fprintf(stderr,
                 "qvxscope: warning: the SCPI server listens beyond this machine; anyone who "
                 "can reach %s can drive the instrument\n",
                 options.scpiAddress.c_str());
  return server;
}

}  // namespace qvx::app
