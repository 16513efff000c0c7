#pragma once
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/scope.h"
#include "scpi/session.h"

class QTcpSocket;

namespace qvx::app {

// The SCPI server: clients connect over TCP and send lines of SCPI commands, which run on
// the window's thread one at a time in the order their lines arrived, whoever sent them,
// whenever the instrument is free (no run, print or file panel in progress). Each client
// has its own error queue and waveform settings; the instrument is shared.
//
// What one client can make the program hold is bounded: a line longer than 64 KB is
// refused with -223 and dropped up to its line end, at most kMaxQueuedLines of its lines
// wait at a time, and once kOutputLimit bytes of its replies are unread nothing more is
// read from it or run for it until it reads them; the kernel then holds its sends back.
class ScpiServer : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMaxClients = 16;
  static constexpr std::size_t kMaxQueuedLines = 16;
  static constexpr qint64 kOutputLimit = 1 << 20;

  explicit ScpiServer(Scope& scope);
  ~ScpiServer() override;

  // Starts listening; false with `error` set when the address cannot be taken.
  bool listen(const QHostAddress& address, quint16 port, std::string& error);
  quint16 port() const { return server_.serverPort(); }
  std::size_t clientCount() const { return clients_.size(); }

 private:
  struct Line {
    std::uint64_t order;
    std::string text;
    bool tooLong = false;
  };
  struct Client {
    QTcpSocket* socket = nullptr;
    scpi::Session session;
    std::string partial;      // the line being received
    bool discarding = false;  // inside a line too long: dropped up to its end
    std::deque<Line> lines;   // complete lines waiting to run
    bool closed = false;      // the client has gone; its waiting lines still run
  };

  void accept();
  void receive(Client& c);
  void split(Client& c, const char* bytes, qint64 count);
  bool canRun(const Client& c) const;
  void runWaiting();
  void dropGone();  // forgets the clients that have gone and have nothing left to run

  Scope& scope_;
  QTcpServer server_;
  std::vector<std::unique_ptr<Client>> clients_;
  std::uint64_t nextOrder_ = 0;
  bool running_ = false;
  QTimer retry_;  // while lines wait for the instrument to be free
};

}  // namespace qvx::app
