#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace solvane::app {

// Turns SIGINT, SIGTERM and SIGHUP into a call on the event loop, so the program can end the way its
// Exit button ends it instead of dying mid-write.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

    bool received() const { return m_received; }

private:
    void drain();

    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
    bool m_received = false;
};

} // namespace solvane::app
