#include "app/HistoryCommands.h"

#include "app/CSampleApp.h"
#include "app/CommandLineStart.h"
#include "app/HardwareBackend.h"
#include "app/PowerHistoryRun.h"
#include "app/SolvaneCore.h"
#include "history/HistoryCsv.h"
#include "history/IsoTime.h"
#include "platform/AtomicFile.h"
#include "platform/FileRegistry.h"
#include "platform/NamedMutex.h"
#include "platform/QtScheduler.h"
#include "platform/Random.h"
#include "platform/RegistrySeed.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <iostream>
#include <limits>
#include <sstream>
#include <sys/signalfd.h>
#include <unistd.h>

namespace solvane::app {

int runHistoryExport(const Options& options, const std::filesystem::path& stateFolder) {
    const auto file = stateFolder / history::kHistoryFileName;
    const auto opened = history::HistoryStore::openForReading(file);
    if (!opened.store) {
        std::cerr << "solvane: " << opened.notice << '\n';
        return 1;
    }
    const auto from = options.historyFrom.empty()
                          ? std::numeric_limits<std::int64_t>::min()
                          : history::parseIsoTime(options.historyFrom, history::Bound::Start).value_or(0);
    const auto to = options.historyTo.empty()
                        ? std::numeric_limits<std::int64_t>::max()
                        : history::parseIsoTime(options.historyTo, history::Bound::End).value_or(0);
    std::ostringstream csv;
    const auto rows = history::writeHistoryCsv(
        *opened.store, options.historyDays ? history::CsvRows::Days : history::CsvRows::Minutes, from, to,
        csv);
    if (const auto error = platform::writeFileAtomically(options.exportHistoryFile, csv.str());
        !error.empty()) {
        std::cerr << "solvane: cannot write " << options.exportHistoryFile << ": " << error << '\n';
        return 1;
    }
    std::cerr << "solvane: " << rows << (options.historyDays ? " day" : " minute")
              << (rows == 1 ? " row" : " rows") << " written to " << options.exportHistoryFile.string()
              << '\n';
    return 0;
}

namespace {

// SIGTERM and SIGINT arrive on the event loop through a signal descriptor and end it, so the run
// ends the way a window's Exit ends it: history written, exit sequence run. (The window's own
// signal object lives with the window's code, which a run without a window does not load.)
class EndOnSignal {
public:
    EndOnSignal() {
        sigset_t ending;
        sigemptyset(&ending);
        sigaddset(&ending, SIGTERM);
        sigaddset(&ending, SIGINT);
        sigprocmask(SIG_BLOCK, &ending, nullptr);
        m_descriptor = signalfd(-1, &ending, SFD_CLOEXEC | SFD_NONBLOCK);
        if (m_descriptor < 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            // A signal that came before the event loop ran waits here until it runs.
            signalfd_siginfo info{};
            while (read(m_descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            }
            QCoreApplication::quit();
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

int runWithoutWindow(const Options& options, const std::filesystem::path& stateFolder) {
    int argc = 1;
    char name[] = "solvane";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    // One monitor per machine, window or not.
    platform::FileLockMutexService mutexes(platform::FileLockMutexService::defaultFolder());
    if (mutexes.open(CSampleApp::kInstanceLockName)) {
        std::cerr << "solvane: another Solvane is running; this one ends.\n";
        return 1;
    }
    auto created = mutexes.create(CSampleApp::kInstanceLockName);
    if (!created.mutex || created.alreadyExisted) {
        std::cerr << "solvane: another Solvane is running; this one ends.\n";
        return 1;
    }

    auto backend = HardwareBackend::create(options, stateFolder);
    if (!backend.error.empty()) {
        std::cerr << "solvane: " << backend.error << '\n';
        return kUsageExitCode;
    }
    if (!backend.notice.empty())
        std::cerr << "solvane: " << backend.notice << '\n';
    auto opened = platform::FileRegistry::open(stateFolder / "registry.reg");
    if (!opened.notice.empty())
        std::cerr << "solvane: " << opened.notice << '\n';
    auto& registry = *opened.registry;
    platform::HostSystemFacts system;
    platform::seedWindowsValues(registry, system);
    platform::QtScheduler scheduler;
    platform::BatchPrompt prompt(std::cerr);
    platform::LcgRandom random;
    EndOnSignal termination;

    SolvaneCore core({*backend.hardware, registry, system, scheduler, prompt, random, seedFrom(options), [] {
                          QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
                      }});
    core.initialise();
    core.enableSettingCommands();
    int exitCode = 0;
    {
        PowerHistoryRun run(core, stateFolder, options.metricsAddress, systemSeconds);
        if (!run.notice().empty())
            std::cerr << "solvane: " << run.notice() << '\n';
        if (auto* history = run.history())
            history->setAlertNotifier([](const history::AlertRow& alert) {
                std::cerr << "solvane: " << history::alertMessage(alert) << '\n';
            });
        if (run.metricsPort() != 0)
            std::cout << "Serving metrics on http://"
                      << metrics::parseListenAddress(options.metricsAddress)->address.toString().toStdString()
                      << ':' << run.metricsPort() << "/metrics" << std::endl;
        if (!options.metricsAddress.empty() && run.metricsPort() == 0)
            exitCode = 1;
        else
            exitCode = QCoreApplication::exec();
    }
    core.shutdown();
    return exitCode;
}

} // namespace solvane::app
