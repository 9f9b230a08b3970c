#pragma once

#include "history/ListenAddress.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtGlobal>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QTcpServer;
class QTcpSocket;

namespace solvane::metrics {

// Serves GET and HEAD /metrics with the text the source gives at that moment; other paths 404,
// other methods 405. Whatever clients do, it holds bounded memory and keeps answering: request
// heads are capped, a client that does not read its answers is not read from either, idle
// connections are closed, and past the connection limit the longest idle one makes room.
class MetricsEndpoint {
public:
    using Source = std::function<std::string()>;
    struct Limits {
        std::size_t connections = 64;
        // A connection that neither completes a request nor takes its answers for this long ends.
        std::chrono::milliseconds idle{10000};
        // Answers waiting for a client to read them; past this no further request is read.
        qint64 queuedBytes = 64 * 1024;
    };

    explicit MetricsEndpoint(Source source) : MetricsEndpoint(std::move(source), Limits{}) {}
    MetricsEndpoint(Source source, Limits limits);
    ~MetricsEndpoint();
    MetricsEndpoint(const MetricsEndpoint&) = delete;
    MetricsEndpoint& operator=(const MetricsEndpoint&) = delete;

    // The port it listens on (useful with port 0), or 0 with `error` set.
    quint16 listen(const history::ListenAddress& where, std::string& error);
    std::size_t connectionCount() const { return m_connections.size(); }

private:
    struct Connection {
        qint64 lastActive = 0; // ms on m_clock: connected, answered, or an answer taken
        bool closing = false;
    };
    void accept();
    void serve(QTcpSocket* socket);
    void send(QTcpSocket* socket, const std::string& bytes, bool close);
    void makeRoom();
    void closeIdle();
    void drop(QTcpSocket* socket);

    std::unique_ptr<QTcpServer> m_server;
    Source m_source;
    Limits m_limits;
    std::map<QTcpSocket*, Connection> m_connections;
    QElapsedTimer m_clock;
    QTimer m_idleSweep;
};

} // namespace solvane::metrics
