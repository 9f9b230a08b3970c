#pragma once

#include "hw/driver/IoDriver.h"
#include "platform/NamedMutex.h"
#include "platform/Prompt.h"

#include <functional>
#include <memory>
#include <string_view>

namespace solvane::app {

// The main window as start-up sees it: something run modally until the user exits.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    virtual int DoModal() = 0;
};

// The process entry: takes the single-instance lock, brings up the I/O driver, runs the main window
// modally and releases the lock when it has closed.
class CSampleApp {
public:
    // Shared with a sibling utility of the same maker, so either one blocks the other.
    static constexpr std::string_view kInstanceLockName = "SolvaneII System";
    static constexpr std::string_view kAlreadyRunningMessage = "Trimbalt or SolvaneCenter Already Running!";
    static constexpr std::string_view kDriverLoadMessage = "Driver can't Load !";
    static constexpr std::string_view kDriverHandleMessage = "Driver Handle Can't Load!!";

    // WindowFailed: the main window could not be made (the factory gave none, having told the user).
    enum class Outcome { NotStarted, Refused, DriverFailed, HandleFailed, WindowFailed, Ran };

    using DriverFactory = std::function<std::unique_ptr<hw::IoDriver>()>;
    using WindowFactory = std::function<std::unique_ptr<MainWindowHost>(hw::IoDriver&)>;

    CSampleApp(platform::NamedMutexService& mutexes, platform::Prompt& prompt, DriverFactory makeDriver,
               WindowFactory makeMainWindow);

    // Asked when another copy holds the instance lock: true once that copy has let go of it (a
    // window-less monitor handing over to the window).
    void setTakeOver(std::function<bool()> takeOver) { m_takeOver = std::move(takeOver); }

    // The whole start-up and the modal main window. Always reports failure (false), so that no
    // message loop of its own follows. After DriverFailed or HandleFailed the process must end at
    // once, without ExitInstance.
    bool InitInstance();
    // Releases and closes the instance lock.
    int ExitInstance();
    // Called when another copy holds the lock, before the user is told: the running copy is asked
    // to bring its window forward.
    void setOnRefused(std::function<void()> onRefused) { m_onRefused = std::move(onRefused); }

    Outcome outcome() const { return m_outcome; }
    // What the main window's run gave (its dialog result), after Ran.
    int windowResult() const { return m_windowResult; }
    // The driver object lives to the end of the process: the service and its device stay up.
    hw::IoDriver* driver() const { return m_driver.get(); }
    bool holdsInstanceLock() const { return m_instanceLock != nullptr && m_instanceLock->owned(); }

private:
    bool refuse();
    std::function<void()> m_onRefused;

    platform::NamedMutexService& m_mutexes;
    platform::Prompt& m_prompt;
    DriverFactory m_makeDriver;
    WindowFactory m_makeMainWindow;
    std::function<bool()> m_takeOver;
    std::unique_ptr<platform::NamedMutex> m_instanceLock;
    std::unique_ptr<hw::IoDriver> m_driver;
    Outcome m_outcome = Outcome::NotStarted;
    int m_windowResult = 0;
};

} // namespace solvane::app
