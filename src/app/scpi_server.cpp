#include "app/scpi_server.h"

#include <QTcpSocket>
#include <algorithm>

namespace qvx::app {

namespace {

constexpr qint64 kReadChunk = 4096;
constexpr int kRetryMs = 10;

}  // namespace

ScpiServer::ScpiServer(Scope& scope) : scope_(scope) {
  connect(&server_, &QTcpServer::newConnection, this, &ScpiServer::accept);
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMs);
  connect(&retry_, &QTimer::timeout, this, &ScpiServer::runWaiting);
}

ScpiServer::~ScpiServer() {
  for (auto& c : clients_) {
    QObject::disconnect(c->socket, nullptr, this, nullptr);
    delete c->socket;
  }
}

bool ScpiServer::listen(const QHostAddress& address, quint16 port, std::string& error) {
  server_.setMaxPendingConnections(kMaxClients);
  if (server_.listen(address, port)) return true;
  error = server_.errorString().toStdString();
  return false;
}

void ScpiServer::accept() {
  while (QTcpSocket* socket = server_.nextPendingConnection()) {
    if (clients_.size() >= kMaxClients) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    auto client = std::make_unique<Client>();
    Client* c = client.get();
    c->socket = socket;
    // Qt reads no more than this from the kernel ahead of the server.
    socket->setReadBufferSize(kReadChunk * 4);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    clients_.push_back(std::move(client));
    connect(socket, &QTcpSocket::readyRead, this, [this, c] {
      receive(*c);
      runWaiting();
    });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, c] {
      if (canRun(*c)) {
        receive(*c);
        runWaiting();
      }
    });
    // Lines a client sent before it closed still run in their turn; their replies go
    // nowhere.
    connect(socket, &QTcpSocket::disconnected, this, [this, c] {
      c->closed = true;
      receive(*c);
      runWaiting();
    });
  }
}

void ScpiServer::receive(Client& c) {
  char bytes[kReadChunk];
  while (c.lines.size() < kMaxQueuedLines && canRun(c) && c.socket->bytesAvailable() > 0) {
    const qint64 got = c.socket->read(bytes, sizeof bytes);
    if (got <= 0) break;
    split(c, bytes, got);
  }
}

void ScpiServer::split(Client& c, const char* bytes, qint64 count) {
  for (qint64 i = 0; i < count; ++i) {
    const char b = bytes[i];
    if (b == '\n') {
      if (!c.discarding) {
        if (!c.partial.empty() && c.partial.back() == '\r') c.partial.pop_back();
        Line line{nextOrder_++, std::move(c.partial)};
        // STOP is seen at once, so a capture waiting for its trigger ends; the line
        // still runs in its turn.
        if (scope_.RunFlag == 1 && scpi::asksToStop(line.text)) scope_.RunFlag = 0;
        c.lines.push_back(std::move(line));
      }
      c.partial.clear();
      c.discarding = false;
    } else if (!c.discarding) {
      c.partial += b;
      if (c.partial.size() > scpi::kMaxLine) {
        c.partial.clear();
        c.partial.shrink_to_fit();
        c.discarding = true;
        c.lines.push_back({nextOrder_++, {}, true});
      }
    }
  }
}

bool ScpiServer::canRun(const Client& c) const {
  return c.closed || c.socket->bytesToWrite() <= kOutputLimit;
}

void ScpiServer::runWaiting() {
  // A command that runs the instrument lets events run; lines that arrive meanwhile wait.
  if (running_) return;
  running_ = true;
  for (;;) {
    Client* next = nullptr;
    for (auto& c : clients_)
      if (canRun(*c) && !c->lines.empty() &&
          (!next || c->lines.front().order < next->lines.front().order))
        next = c.get();
    if (!next) break;
    if (!scpi::instrumentReady(scope_)) {
      retry_.start();
      break;
    }
    Line line = std::move(next->lines.front());
    next->lines.pop_front();
    std::string reply;
    if (line.tooLong)
      next->session.fail(scpi::err::TooMuchData, "lines end within 64 KB");
    else
      reply = next->session.execute(scope_, line.text);
    if (!next->closed && !reply.empty()) next->socket->write(reply.data(), qint64(reply.size()));
    receive(*next);
  }
  running_ = false;
  dropGone();
}

void ScpiServer::dropGone() {
  std::erase_if(clients_, [this](const std::unique_ptr<Client>& c) {
    if (!c->closed || !c->lines.empty() || c->socket->bytesAvailable() > 0) return false;
    QObject::disconnect(c->socket, nullptr, this, nullptr);
    c->socket->deleteLater();
    return true;
  });
}

}  // namespace qvx::app
