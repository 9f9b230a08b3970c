#include "app/Solvane.h"

#include "app/CSampleApp.h"
#include "app/CSampleDlg.h"
#include "app/CommandLine.h"
#include "app/CommandLineStart.h"
#include "app/MonitorHandOver.h"
#include "app/PowerHistoryRun.h"
#include "app/PowerProfilesDaemon.h"
#include "app/ProgramStart.h"
#include "app/QtPrompt.h"
#include "app/Report.h"
#include "app/RunningCopy.h"
#include "app/TerminationSignals.h"
#include "hw/driver/IoDriverProtocol.h"
#include "platform/DeviceIo.h"
#include "platform/NamedMutex.h"
#include "platform/QtScheduler.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "platform/StateFolder.h"
#include "ui/QtNotificationShell.h"
#include "ui/SkinFiles.h"
#include "ui/SkinResources.h"
#include "ui/SkinTheme.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <system_error>
#include <unistd.h>

namespace solvane::app {

namespace {

// A termination signal answers open message boxes (and closes the about box) with their escape
// button, then closes the main window, as its Exit button would.
void closeWindowsForSignal() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QDialog*>(widget);
            box != nullptr && box->isVisible() && qobject_cast<CSampleDlg*>(box) == nullptr)
            box->reject();
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<CSampleDlg*>(widget) != nullptr)
            widget->close();
}

// The pictures' folder exists and takes files, so a snapshot run cannot end without pictures
// yet report success.
std::string prepareSnapshotFolder(const std::filesystem::path& folder) {
    if (folder.empty())
        return {};
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return "cannot create the folder " + folder.string() + ": " + error.message();
    if (!std::filesystem::is_directory(folder, error))
        return folder.string() + " is not a folder";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "cannot write into " + folder.string() + ": " + std::strerror(errno);
    return {};
}

} // namespace

int runSolvane(int argc, char* argv[]) {
    const auto start = startFromCommandLine(argc, argv);
    if (start.exitCode)
        return *start.exitCode;
    const auto& options = start.options;
    const auto& stateFolder = start.stateFolder;

    if (const auto problem = prepareSnapshotFolder(options.snapshotFolder); !problem.empty()) {
        std::cerr << "solvane: --snapshot: " << problem << '\n';
        return kUsageExitCode;
    }
    const auto lockFolder = platform::FileLockMutexService::defaultFolder();
    if (lockFolder.shared)
        if (const auto problem = platform::preparePrivateFolder(lockFolder.path); !problem.empty()) {
            std::cerr << "solvane: cannot keep the instance lock without XDG_RUNTIME_DIR: " << problem
                      << '\n';
            return 1;
        }

    ProgramStart program(options, stateFolder);
    if (const auto failed = program.backendFailed())
        return *failed;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Solvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    ui::applySkinTheme(application);

    QtPrompt screenPrompt;
    platform::BatchPrompt batchPrompt(std::cerr);
    platform::Prompt& prompt = options.batch ? static_cast<platform::Prompt&>(batchPrompt) : screenPrompt;

    platform::ServiceTable services(stateFolder / "services.tsv");
    if (!services.problem().empty()) {
        std::cerr << "solvane: " << services.problem() << '\n';
        return 1;
    }
    platform::DeviceNamespace devices(services);
    devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, *program.backend().driver);
    platform::ThreadSleeper sleeper;
    // The lock is held in the state folder too: two copies with different runtime folders must
    // still not share one set of files.
    platform::FileLockMutexService mutexes(lockFolder.path, {stateFolder});
    platform::QtScheduler scheduler;
    ui::QtNotificationShell notificationShell;

    TerminationSignals terminationSignals([](int) { closeWindowsForSignal(); });

    // The registry and the core come up only once this copy holds the instance lock, so a refused
    // second copy never touches the files the running one keeps.
    StartedCore started;
    std::unique_ptr<PowerHistoryRun> historyRun; // outlives the window, which shows it
    const auto runningSocket = runningCopySocket(lockFolder.path);
    std::unique_ptr<RunningCopyListener> runningCopy;
    CSampleApp sample(
        mutexes, prompt,
        [&] { return std::make_unique<hw::IoDriver>(program.system(), services, devices, sleeper); },
        [&](hw::IoDriver& driver) -> std::unique_ptr<MainWindowHost> {
            // Without its skin the window has no visible buttons and no way out.
            const auto skinFolder = ui::SkinResources::program().folder();
            if (const auto missing = ui::skin::missingSkinFiles(skinFolder); !missing.empty()) {
                prompt.tell(ui::skin::describeMissingSkinFiles(missing, skinFolder));
                return nullptr;
            }
            // A PC's modes switch its power profile through the daemon on the system bus (after the
            // application exists, which the bus connection needs).
            if (options.hardware == HardwareKind::Host)
                program.useProfileDaemon(std::make_unique<PowerProfilesDaemon>());
            started = program.startCore(
                RegistryUse::File, scheduler, prompt,
                [&prompt](const std::string& notice) { prompt.tell(notice); },
                [] {
                    QMetaObject::invokeMethod(
                        qApp, [] { closeWindowsForSignal(); }, Qt::QueuedConnection);
                });
            auto window = std::make_unique<CSampleDlg>(driver, *started.core, notificationShell,
                                                       options.snapshotFolder);
            if (options.minimized)
                window->setStartShown(CSampleDlg::StartShown::NotificationArea);
            runningCopy = std::make_unique<RunningCopyListener>(
                runningSocket, [shown = QPointer<CSampleDlg>(window.get())] {
                    if (shown)
                        shown->OnCommand(ui::CMyAppTrayIcon::kCommandRestore);
                });
            // The history, limits and metrics begin once the window's basic page has started the
            // monitor.
            window->setPowerHistoryStart(
                [&] {
                    historyRun = std::make_unique<PowerHistoryRun>(*started.core, stateFolder,
                                                                   options.metricsAddress, systemSeconds);
                    if (!historyRun->notice().empty())
                        prompt.tell(historyRun->notice());
                    if (auto* history = historyRun->history())
                        history->onWriteFailure(
                            [&prompt](const std::string& message) { prompt.tell(message); });
                    return historyRun->history();
                },
                systemSeconds);
            // A signal that came before the main window existed closes it as soon as it runs.
            if (terminationSignals.received())
                QMetaObject::invokeMethod(window.get(), &QDialog::close, Qt::QueuedConnection);
            return window;
        });
    // A second start brings this copy's window forward; a window-less monitor hands over instead.
    sample.setOnRefused([&runningSocket] { askRunningCopyForward(runningSocket); });
    sample.setTakeOver([&] {
        return takeOverFromMonitor(systemHandOverCalls(
            lockFolder.path, [&] { return mutexes.open(CSampleApp::kInstanceLockName) != nullptr; }));
    });
    sample.InitInstance();
    // A snapshot run that made no pictures failed, whatever stopped it.
    const bool snapshotMissing =
        !options.snapshotFolder.empty() && sample.outcome() != CSampleApp::Outcome::Ran;
    if (snapshotMissing)
        std::cerr << "solvane: --snapshot: no pictures were made\n";
    switch (sample.outcome()) {
    case CSampleApp::Outcome::DriverFailed:
    case CSampleApp::Outcome::HandleFailed:
        return snapshotMissing ? 1 : 0; // the process ends at once; the kernel drops the lock
    case CSampleApp::Outcome::WindowFailed:
        sample.ExitInstance();
        return 1;
    default:
        break;
    }
    const int code = sample.ExitInstance();
    if (snapshotMissing)
        return 1;
    if (!options.snapshotFolder.empty() && sample.windowResult() == CSampleDlg::kSnapshotsNotSaved) {
        std::cerr << "solvane: --snapshot: the pictures could not all be saved into "
                  << options.snapshotFolder.string() << '\n';
        return 1;
    }
    return code;
}

} // namespace solvane::app
