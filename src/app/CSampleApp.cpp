#include "app/CSampleApp.h"

namespace solvane::app {

CSampleApp::CSampleApp(platform::NamedMutexService& mutexes, platform::Prompt& prompt,
                       DriverFactory makeDriver, WindowFactory makeMainWindow)
    : m_mutexes(mutexes), m_prompt(prompt), m_makeDriver(std::move(makeDriver)),
      m_makeMainWindow(std::move(makeMainWindow)) {}

bool CSampleApp::refuse() {
    m_outcome = Outcome::Refused;
    if (m_onRefused)
        m_onRefused();
    m_prompt.tell(std::string(kAlreadyRunningMessage));
    return false;
}

bool CSampleApp::InitInstance() {
    m_instanceLock = m_mutexes.open(kInstanceLockName);
    if (m_instanceLock) {
        m_instanceLock.reset();
        if (!m_takeOver || !m_takeOver())
            return refuse();
    }
    auto created = m_mutexes.create(kInstanceLockName);
    m_instanceLock = std::move(created.mutex);
    if (!m_instanceLock || created.alreadyExisted)
        return refuse();

    m_driver = m_makeDriver();
    if (m_driver->Load() == hw::IoDriver::kLoadFailed) {
        m_outcome = Outcome::DriverFailed;
        m_prompt.tell(std::string(kDriverLoadMessage));
        return false;
    }
    const auto handle = m_driver->GetHandle();
    if (handle == platform::kInvalidDeviceHandle) {
        m_outcome = Outcome::HandleFailed;
        m_prompt.tell(std::string(kDriverHandleMessage));
        return false;
    }
    m_driver->SetHandleCopy(handle);

    auto mainWindow = m_makeMainWindow(*m_driver);
    if (!mainWindow) {
        m_outcome = Outcome::WindowFailed;
        return false;
    }
    m_windowResult = mainWindow->DoModal();
    mainWindow.reset();
    m_outcome = Outcome::Ran;
    return false;
}

int CSampleApp::ExitInstance() {
    if (m_instanceLock) {
        m_instanceLock->release();
        m_instanceLock.reset();
    }
    return 0;
}

} // namespace solvane::app
