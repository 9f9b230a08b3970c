#include "app/RunningCopy.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace solvane::app {

namespace {

constexpr int kWaitMilliseconds = 1000;

QString pathOf(const std::filesystem::path& socket) {
    return QString::fromStdString(socket.string());
}

} // namespace

std::filesystem::path runningCopySocket(const std::filesystem::path& lockFolder) {
    return lockFolder / "solvane-running.socket";
}

RunningCopyListener::RunningCopyListener(const std::filesystem::path& socket,
                                         std::function<void()> bringForward)
    : m_server(new QLocalServer(this)), m_bringForward(std::move(bringForward)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the instance lock, so a socket left there belongs to a copy that has ended.
    QLocalServer::removeServer(pathOf(socket));
    m_server->listen(pathOf(socket));
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = m_server->nextPendingConnection()) {
            caller->disconnectFromServer();
            caller->deleteLater();
            if (m_bringForward)
                m_bringForward();
        }
    });
}

RunningCopyListener::~RunningCopyListener() {
    m_server->close(); // removes the socket file
}

bool RunningCopyListener::listening() const {
    return m_server->isListening();
}

bool askRunningCopyForward(const std::filesystem::path& socket) {
    QLocalSocket caller;
    caller.connectToServer(pathOf(socket));
    // The connection itself is the request: nothing is written, so a copy that closes at that
    // moment cannot break this one with a broken pipe.
    const bool connected = caller.waitForConnected(kWaitMilliseconds);
    caller.abort();
    return connected;
}

} // namespace solvane::app
