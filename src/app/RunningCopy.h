#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>

class QLocalServer;

namespace solvane::app {

// A second start asks the running copy to bring its window forward, through a socket in the
// folder that holds the instance lock (private to the user). Any connection is the request.
std::filesystem::path runningCopySocket(const std::filesystem::path& lockFolder);

// The running copy's side: listens while it lives and calls bringForward for each request.
class RunningCopyListener final : public QObject {
    Q_OBJECT
public:
    RunningCopyListener(const std::filesystem::path& socket, std::function<void()> bringForward);
    ~RunningCopyListener() override;
    RunningCopyListener(const RunningCopyListener&) = delete;
    RunningCopyListener& operator=(const RunningCopyListener&) = delete;

    bool listening() const;

private:
    QLocalServer* m_server;
    std::function<void()> m_bringForward;
};

// The second copy's side: true when the running copy took the request.
bool askRunningCopyForward(const std::filesystem::path& socket);

} // namespace solvane::app
