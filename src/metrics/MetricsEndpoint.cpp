#include "metrics/MetricsEndpoint.h"

#include "metrics/HttpExchange.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <vector>

namespace solvane::metrics {

MetricsEndpoint::MetricsEndpoint(Source source, Limits limits)
    : m_server(std::make_unique<QTcpServer>()), m_source(std::move(source)), m_limits(limits) {
    m_clock.start();
    QObject::connect(m_server.get(), &QTcpServer::newConnection, m_server.get(), [this] { accept(); });
    m_idleSweep.setInterval(std::clamp<std::chrono::milliseconds>(
        m_limits.idle / 4, std::chrono::milliseconds(10), std::chrono::milliseconds(1000)));
    QObject::connect(&m_idleSweep, &QTimer::timeout, [this] { closeIdle(); });
}

MetricsEndpoint::~MetricsEndpoint() {
    m_idleSweep.stop();
    // The sockets are the server's children; they go with it, unheard.
    for (auto& [socket, connection] : m_connections)
        QObject::disconnect(socket, nullptr, nullptr, nullptr);
    m_connections.clear();
}

quint16 MetricsEndpoint::listen(const history::ListenAddress& where, std::string& error) {
    if (!m_server->listen(QHostAddress(QString::fromStdString(where.host)), where.port)) {
        error = "cannot listen on " + where.host + ":" + std::to_string(where.port) + " (" +
                m_server->errorString().toStdString() + ")";
        return 0;
    }
    m_idleSweep.start();
    return m_server->serverPort();
}

void MetricsEndpoint::accept() {
    while (auto* socket = m_server->nextPendingConnection()) {
        if (m_connections.size() >= m_limits.connections)
            makeRoom();
        // Qt reads no more from the kernel than one request head: a huge header or a flood of
        // pipelined requests waits in the client's own buffers, not in ours.
        socket->setReadBufferSize(static_cast<qint64>(kMaxRequestHeadBytes));
        m_connections[socket] = {m_clock.elapsed(), false};
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
            if (auto found = m_connections.find(socket); found != m_connections.end())
                found->second.lastActive = m_clock.elapsed();
            serve(socket);
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            m_connections.erase(socket);
            socket->deleteLater();
        });
        serve(socket);
    }
}

void MetricsEndpoint::serve(QTcpSocket* socket) {
    const auto found = m_connections.find(socket);
    if (found == m_connections.end() || found->second.closing)
        return;
    // One request at a time, and none while the client leaves its answers unread.
    while (socket->bytesToWrite() <= m_limits.queuedBytes) {
        const auto waiting = socket->peek(static_cast<qint64>(kMaxRequestHeadBytes));
        const auto end =
            requestHeadEnd(std::string_view(waiting.constData(), static_cast<std::size_t>(waiting.size())));
        if (!end) {
            if (static_cast<std::size_t>(waiting.size()) >= kMaxRequestHeadBytes)
                send(socket, errorAnswer(431).bytes, true);
            return;
        }
        const auto head = socket->read(static_cast<qint64>(*end));
        const auto request =
            parseRequestHead(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
        const auto answer = request ? answerRequest(*request, m_source) : errorAnswer(400);
        found->second.lastActive = m_clock.elapsed();
        send(socket, answer.bytes, answer.close);
        if (answer.close)
            return;
    }
}

void MetricsEndpoint::send(QTcpSocket* socket, const std::string& bytes, bool close) {
    socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (!close)
        return;
    m_connections[socket].closing = true;
    socket->disconnectFromHost();
}

void MetricsEndpoint::makeRoom() {
    const auto idlest =
        std::min_element(m_connections.begin(), m_connections.end(), [](const auto& a, const auto& b) {
            return a.second.lastActive < b.second.lastActive;
        });
    if (idlest != m_connections.end())
        drop(idlest->first);
}

void MetricsEndpoint::drop(QTcpSocket* socket) {
    QObject::disconnect(socket, nullptr, nullptr, nullptr);
    m_connections.erase(socket);
    socket->abort();
    socket->deleteLater();
}

void MetricsEndpoint::closeIdle() {
    const auto now = m_clock.elapsed();
    std::vector<QTcpSocket*> idle;
    for (const auto& [socket, connection] : m_connections)
        if (now - connection.lastActive > m_limits.idle.count())
            idle.push_back(socket);
    for (auto* socket : idle)
        drop(socket);
}

} // namespace solvane::metrics
