#include "app/Solvane.h"

#include "app/CSampleApp.h"
#include "app/CSampleDlg.h"
#include "app/CommandLine.h"
#include "app/CommandLineStart.h"
#include "app/HardwareBackend.h"
#include "app/PowerHistoryRun.h"
#include "app/QtPrompt.h"
#include "app/Report.h"
#include "app/SolvaneCore.h"
#include "app/TerminationSignals.h"
#include "hw/IoDriverProtocol.h"
#include "platform/DeviceIo.h"
#include "platform/FileRegistry.h"
#include "platform/NamedMutex.h"
#include "platform/QtScheduler.h"
#include "platform/Random.h"
#include "platform/RegistrySeed.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "platform/StateFolder.h"
#include "ui/QtNotificationShell.h"

#include <QApplication>
#include <QMessageBox>
#include <chrono>
#include <iostream>
#include <system_error>

namespace solvane::app {

namespace {

// A termination signal answers open message boxes with their escape button and closes the main
// window, as its Exit button would.
void closeWindowsForSignal() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible())
            box->reject();
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<CSampleDlg*>(widget) != nullptr)
            widget->close();
}

} // namespace

int runSolvane(int argc, char* argv[]) {
    const auto start = startFromCommandLine(argc, argv);
    if (start.exitCode)
        return *start.exitCode;
    const auto& options = start.options;
    const auto& stateFolder = start.stateFolder;

    auto backend = HardwareBackend::create(options, stateFolder);
    if (!backend.error.empty()) {
        std::cerr << "solvane: " << backend.error << '\n';
        return kUsageExitCode;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Solvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    QtPrompt screenPrompt;
    platform::BatchPrompt batchPrompt(std::cerr);
    platform::Prompt& prompt = options.batch ? static_cast<platform::Prompt&>(batchPrompt) : screenPrompt;

    platform::HostSystemFacts system;
    platform::ServiceTable services(stateFolder / "services.tsv");
    platform::DeviceNamespace devices(services);
    devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, *backend.driver);
    platform::ThreadSleeper sleeper;
    platform::FileLockMutexService mutexes(platform::FileLockMutexService::defaultFolder());
    platform::QtScheduler scheduler;
    platform::LcgRandom random;
    ui::QtNotificationShell notificationShell;

    TerminationSignals terminationSignals([](int) { closeWindowsForSignal(); });

    // The registry and the core come up only once this copy holds the instance lock, so a refused
    // second copy never touches the files the running one keeps.
    std::unique_ptr<platform::FileRegistry> registry;
    std::unique_ptr<SolvaneCore> core;
    std::unique_ptr<PowerHistoryRun> historyRun; // outlives the window, which shows it
    CSampleApp sample(
        mutexes, prompt, [&] { return std::make_unique<hw::IoDriver>(system, services, devices, sleeper); },
        [&](hw::IoDriver& driver) {
            if (!backend.notice.empty())
                prompt.tell(backend.notice);
            auto opened = platform::FileRegistry::open(stateFolder / "registry.reg");
            if (!opened.notice.empty())
                prompt.tell(opened.notice);
            registry = std::move(opened.registry);
            platform::seedWindowsValues(*registry, system);
            core = std::make_unique<SolvaneCore>(SolvaneCore::Services{
                *backend.hardware, *registry, system, scheduler, prompt, random, seedFrom(options), [] {
                    QMetaObject::invokeMethod(
                        qApp, [] { closeWindowsForSignal(); }, Qt::QueuedConnection);
                }});
            auto window =
                std::make_unique<CSampleDlg>(driver, *core, notificationShell, options.snapshotFolder);
            // The basic page has started the monitor: its history, limits and metrics begin.
            historyRun =
                std::make_unique<PowerHistoryRun>(*core, stateFolder, options.metricsAddress, systemSeconds);
            if (!historyRun->notice().empty())
                prompt.tell(historyRun->notice());
            window->setPowerHistory(historyRun->history(), systemSeconds);
            // A signal that came before the main window existed closes it as soon as it runs.
            if (terminationSignals.received())
                QMetaObject::invokeMethod(window.get(), &QDialog::close, Qt::QueuedConnection);
            return window;
        });
    sample.InitInstance();
    switch (sample.outcome()) {
    case CSampleApp::Outcome::DriverFailed:
    case CSampleApp::Outcome::HandleFailed:
        return 0; // the process ends at once; the kernel drops the lock
    default:
        return sample.ExitInstance();
    }
}

} // namespace solvane::app
