#pragma once

#include <QObject>
#include <functional>

namespace solvane::app {

// Tells the power-saving page when the machine goes to sleep and when it wakes, from the login
// manager's PrepareForSleep signal on the system bus. Without a system bus (containers, CI) it
// stays quiet.
class SleepWatcher final : public QObject {
    Q_OBJECT
public:
    // Power events as the page knows them: suspend, and resume.
    static constexpr int kSuspend = 4;
    static constexpr int kResumeAutomatic = 18;

    explicit SleepWatcher(std::function<void(int event)> onEvent, QObject* parent = nullptr);

    bool connected() const { return m_connected; }

private slots:
    void prepareForSleep(bool goingToSleep);

private:
    std::function<void(int)> m_onEvent;
    bool m_connected = false;
};

} // namespace solvane::app
