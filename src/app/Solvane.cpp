#include "app/Solvane.h"

#include "app/CSampleApp.h"
#include "app/CSampleDlg.h"
#include "app/CommandLine.h"
#include "app/HardwareBackend.h"
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

std::uint32_t seedFrom(const Options& options) {
    if (options.seed)
        return *options.seed;
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// --report: the same start-up as the window's, on a copy of the registry and a virtual clock, then
// the text; nothing on disk changes.
int runReport(const Options& options, const std::filesystem::path& stateFolder) {
    platform::VirtualClockScheduler clock;
    const SimulationRun run{[&clock] { return std::chrono::milliseconds(clock.now()); }, false};
    auto backend = HardwareBackend::create(options, stateFolder, run);
    if (!backend.error.empty()) {
        std::cerr << "solvane: " << backend.error << '\n';
        return kUsageExitCode;
    }
    if (!backend.notice.empty())
        std::cerr << "solvane: " << backend.notice << '\n';
    std::string notice;
    auto registry = platform::openRegistrySnapshot(stateFolder / "registry.reg", notice);
    if (!notice.empty())
        std::cerr << "solvane: " << notice << '\n';
    platform::HostSystemFacts system;
    platform::seedWindowsValues(*registry, system);
    platform::BatchPrompt prompt(std::cerr);
    platform::LcgRandom random;

    SolvaneCore core({*backend.hardware, *registry, system, clock, prompt, random, seedFrom(options), {}});
    core.initialise();
    core.enableSettingCommands();
    runBeforeReport(core, clock, reportModeOf(options.reportMode), options.reportRefreshes);
    std::cout << buildReport(core, options.json ? ReportFormat::Json : ReportFormat::Text);
    return 0;
}

} // namespace

int runSolvane(int argc, char* argv[]) {
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = parseCommandLine(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "solvane: " << parsed.error << "\nTry 'solvane --help' for the options.\n";
        return kUsageExitCode;
    }
    const auto& options = parsed.options;
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.version) {
        std::cout << versionText();
        return 0;
    }

    const auto stateFolder =
        options.stateFolder.empty() ? platform::defaultStateFolder() : options.stateFolder;
    std::error_code folderError;
    std::filesystem::create_directories(stateFolder, folderError);
    if (folderError) {
        std::cerr << "solvane: cannot use the state folder " << stateFolder << ": " << folderError.message()
                  << '\n';
        return 1;
    }
    if (options.report)
        return runReport(options, stateFolder);

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
