#include "app/NoWindowRun.h"

#include "app/CSampleApp.h"
#include "app/CommandLineStart.h"
#include "app/MonitorHandOver.h"
#include "app/PowerHistoryRun.h"
#include "app/PowerProfilesDaemon.h"
#include "app/ProgramStart.h"
#include "platform/NamedMutex.h"
#include "platform/Prompt.h"
#include "platform/QtScheduler.h"
#include "platform/StateFolder.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <iostream>
#include <sys/signalfd.h>
#include <unistd.h>

namespace solvane::app {

namespace {

// SIGTERM, SIGINT and SIGHUP (the terminal closed) arrive on the event loop through a signal
// descriptor and end it, so the run ends the way a window's Exit ends it: history written, exit
// sequence run. SIGUSR1 ends it the same way for a window that takes over. (The window's own
// signal object lives with the window's code, which a run without a window does not load.)
class EndOnSignal {
public:
    EndOnSignal() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1})
            sigaddset(&ending, signal);
        sigprocmask(SIG_BLOCK, &ending, nullptr);
        m_descriptor = signalfd(-1, &ending, SFD_CLOEXEC | SFD_NONBLOCK);
        if (m_descriptor < 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            // A signal that came before the event loop ran waits here until it runs.
            signalfd_siginfo info{};
            int code = 0;
            while (read(m_descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
                if (info.ssi_signo == SIGUSR1)
                    code = kHandedOverExitCode;
            if (code == kHandedOverExitCode)
                std::cerr << "solvane: a window takes over; this monitor ends.\n";
            QCoreApplication::exit(code);
        });
    }
    ~EndOnSignal() {
        m_notifier.reset();
        if (m_descriptor >= 0)
            close(m_descriptor);
    }
    EndOnSignal(const EndOnSignal&) = delete;
    EndOnSignal& operator=(const EndOnSignal&) = delete;

private:
    int m_descriptor = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace

int runWithoutWindow(int argc, char* argv[]) {
    const auto start = startFromCommandLine(argc, argv);
    if (start.exitCode)
        return *start.exitCode;
    const auto& options = start.options;
    const auto& stateFolder = start.stateFolder;
    QCoreApplication application(argc, argv);

    // One monitor per machine, window or not: the same lock as the window's, in the same folders.
    const auto lockFolder = platform::FileLockMutexService::defaultFolder();
    const auto lockProblem =
        lockFolder.shared ? platform::preparePrivateFolder(lockFolder.path) : std::string();
    if (!lockProblem.empty()) {
        std::cerr << "solvane: cannot keep the instance lock without XDG_RUNTIME_DIR: " << lockProblem
                  << '\n';
        return 1;
    }
    platform::FileLockMutexService mutexes(lockFolder.path, {stateFolder});
    auto created = mutexes.create(CSampleApp::kInstanceLockName);
    if (!created.mutex) {
        std::cerr << (created.alreadyExisted
                          ? "solvane: another Solvane is running; this one ends.\n"
                          : "solvane: cannot take the instance lock in " + lockFolder.path.string() + "\n");
        return 1;
    }

    const MonitorProcessFile processFile(monitorProcessFile(lockFolder.path));

    ProgramStart program(options, stateFolder);
    if (const auto failed = program.backendFailed())
        return *failed;
    platform::QtScheduler scheduler;
    platform::BatchPrompt prompt(std::cerr);
    EndOnSignal termination;
    // A PC's modes switch its power profile through the daemon on the system bus (after the
    // application exists, which the bus connection needs).
    if (options.hardware == HardwareKind::Host)
        program.useProfileDaemon(std::make_unique<PowerProfilesDaemon>());
    const auto started = program.startCore(RegistryUse::File, scheduler, prompt, printNotice, [] {
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    auto& core = *started.core;
    core.initialise();
    core.enableSettingCommands();
    int exitCode = 0;
    {
        PowerHistoryRun run(core, stateFolder, options.metricsAddress, systemSeconds);
        if (!run.notice().empty())
            std::cerr << "solvane: " << run.notice() << '\n';
        if (const auto reason = run.notMonitoredReason(); !reason.empty())
            std::cerr << "solvane: nothing is monitored: " << reason << ".\n";
        if (auto* history = run.history()) {
            history->setAlertNotifier([](const history::AlertRow& alert) {
                std::cerr << "solvane: " << history::alertMessage(alert) << '\n';
            });
            history->onWriteFailure(
                [](const std::string& message) { std::cerr << "solvane: " << message << '\n'; });
        }
        if (run.metricsPort() != 0)
            std::cout << "Serving metrics on "
                      << history::metricsUrl(*history::parseListenAddress(options.metricsAddress),
                                             run.metricsPort())
                      << std::endl;
        if (!options.metricsAddress.empty() && run.metricsPort() == 0)
            exitCode = kMetricsUnavailableExitCode;
        else
            exitCode = QCoreApplication::exec();
    }
    core.shutdown();
    return exitCode;
}

} // namespace solvane::app
