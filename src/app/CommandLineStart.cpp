#include "app/CommandLineStart.h"

#include "app/DefaultModeTwin.h"
#include "app/HardwareBackend.h"
#include "app/HistoryExport.h"
#include "app/ProgramStart.h"
#include "app/Report.h"
#include "hw/driver/IoDriver.h"
#include "hw/driver/IoDriverProtocol.h"
#include "platform/DeviceIo.h"
#include "platform/FileRegistry.h"
#include "platform/Prompt.h"
#include "platform/RegistrySeed.h"
#include "platform/Scheduler.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "platform/StateFolder.h"

#include <chrono>
#include <iostream>
#include <system_error>

namespace solvane::app {

namespace {

// The state folder made or checked: a shared fallback only when it is this user's alone; a
// report creates nothing.
std::string prepareStateFolder(const platform::ChosenFolder& folder, bool report) {
    if (folder.shared)
        return platform::preparePrivateFolder(folder.path);
    std::error_code error;
    if (!report)
        std::filesystem::create_directories(folder.path, error);
    if (error)
        return folder.path.string() + ": " + error.message();
    if (std::filesystem::exists(folder.path, error) && !std::filesystem::is_directory(folder.path, error))
        return folder.path.string() + " is not a folder";
    return {};
}

// A JSON report on a simulated board also tells what the board would draw in Default mode: a twin
// board, started from the same state and registry, runs beside it. Null on any other back-end.
std::unique_ptr<DefaultModeTwin> defaultModeTwin(const Options& options,
                                                 const std::filesystem::path& stateFolder,
                                                 const SimulationRun& run, SolvaneCore& core,
                                                 platform::VirtualClockScheduler& clock,
                                                 const platform::SystemFacts& system) {
    if (!options.json || dynamic_cast<sim::SimulatedHardware*>(&core.hardware()) == nullptr)
        return nullptr;
    auto backend = HardwareBackend::create(options, stateFolder, run);
    if (dynamic_cast<sim::SimulatedHardware*>(backend.hardware.get()) == nullptr)
        return nullptr;
    // The twin owns its board from here; its type was checked above.
    std::unique_ptr<sim::SimulatedHardware> twinHardware(
        static_cast<sim::SimulatedHardware*>(backend.hardware.release()));
    std::string notice;
    auto registry = platform::openRegistrySnapshot(stateFolder / "registry.reg", notice);
    platform::seedWindowsValues(*registry, system);
    return std::make_unique<DefaultModeTwin>(core, clock, std::move(twinHardware), std::move(registry));
}

// --report: the same start-up as the window's, on a copy of the registry and a virtual clock, then
// the text; nothing on disk changes.
int runReport(const Options& options, const std::filesystem::path& stateFolder) {
    // The board comes up as the last run left it, runs on the report's virtual clock, and what the
    // start-up writes to it stays in memory.
    platform::VirtualClockScheduler clock;
    const SimulationRun run{[&clock] { return std::chrono::milliseconds(clock.now()); }, false};
    ProgramStart start(options, stateFolder, run);
    if (const auto failed = start.backendFailed())
        return *failed;
    platform::BatchPrompt prompt(std::cerr);
    const auto started = start.startCore(RegistryUse::Snapshot, clock, prompt, printNotice, {});
    auto& core = *started.core;
    core.initialise();
    core.enableSettingCommands();
    const auto twin = defaultModeTwin(options, stateFolder, run, core, clock, start.system());
    runBeforeReport(core, clock, reportModeOf(options.reportMode), options.reportRefreshes);
    // The graphics BIOS probe reads through the I/O driver: loaded as start-up loads it, from a
    // service table kept in memory.
    platform::ServiceTable services;
    platform::DeviceNamespace devices(services);
    devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, *start.backend().driver);
    platform::ThreadSleeper sleeper;
    hw::IoDriver driver(start.system(), services, devices, sleeper);
    const bool driverLoaded = driver.Load() == hw::IoDriver::kLoaded;
    if (driverLoaded)
        driver.SetHandleCopy(driver.GetHandle());
    else
        std::cerr << "solvane: the I/O driver cannot be loaded; the graphics BIOS probe reads nothing\n";
    // The history as the monitor left it; the report never writes to it. Without a history file
    // there is nothing to read, and no database to start.
    // A file that cannot even be looked at is opened all the same, for the reason it gives.
    const auto historyFile = stateFolder / history::kHistoryFileName;
    history::HistoryStore::Opened history;
    if (std::error_code unknown; std::filesystem::exists(historyFile, unknown) || unknown)
        history = history::HistoryStore::openForReading(historyFile);
    if (!history.notice.empty())
        std::cerr << "solvane: " << history.notice << '\n';
    std::cout << buildReport(core, options.json ? ReportFormat::Json : ReportFormat::Text,
                             driverLoaded ? &driver : nullptr, history.store.get(), twin.get());
    return 0;
}

} // namespace

std::uint32_t seedFrom(const Options& options) {
    if (options.seed)
        return *options.seed;
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

CommandLineStart startFromCommandLine(int argc, char* argv[]) {
    CommandLineStart start;
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = parseCommandLine(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "solvane: " << parsed.error << "\nTry 'solvane --help' for the options.\n";
        start.exitCode = kUsageExitCode;
        return start;
    }
    start.options = parsed.options;
    const auto& options = start.options;
    if (options.help) {
        std::cout << usageText();
        start.exitCode = 0;
        return start;
    }
    if (options.version) {
        std::cout << versionText();
        start.exitCode = 0;
        return start;
    }

    const auto chosenFolder = options.stateFolder.empty()
                                  ? platform::defaultStateFolder()
                                  : platform::ChosenFolder{options.stateFolder, false};
    start.stateFolder = chosenFolder.path;
    if (const auto problem = prepareStateFolder(chosenFolder, options.report); !problem.empty()) {
        std::cerr << "solvane: cannot use the state folder: " << problem << '\n';
        start.exitCode = kUsageExitCode;
        return start;
    }
    if (options.report)
        start.exitCode = runReport(options, start.stateFolder);
    else if (!options.exportHistoryFile.empty())
        start.exitCode = runHistoryExport(options, start.stateFolder);

    return start;
}

} // namespace solvane::app
