#include "SimulatedProgram.h"

#include "BenchSupport.h"
#include "app/MainNavigation.h"
#include "hw/driver/IoDriverProtocol.h"
#include "platform/RegistrySeed.h"
#include "sim/physics/ScriptedCpuLoad.h"
#include "ui/MainWindowIds.h"

#include <QApplication>
#include <stdexcept>

namespace solvane::bench {

namespace {

constexpr std::uint32_t kSeed = 7;
constexpr int kBoardCode = 2917;

sim::SimulationOptions simulationOf(SimulatedProgram::Load load, const std::chrono::milliseconds& ahead) {
    sim::SimulationOptions options;
    options.boardCode = kBoardCode;
    options.seed = kSeed;
    if (load == SimulatedProgram::Load::Fixed)
        options.cpuLoad = std::make_shared<sim::ScriptedCpuLoad>(std::vector<double>{0.4});
    const auto started = std::chrono::steady_clock::now();
    options.clock = [started, &ahead] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     started) +
               ahead;
    };
    return options;
}

} // namespace

SimulatedProgram::SimulatedProgram(const std::filesystem::path& stateFolder, Front front, Load load)
    : m_hardware(simulationOf(load, m_boardClockAhead)), m_kernelSide(m_hardware.machine()) {
    application();
    auto opened = platform::FileRegistry::open(stateFolder / "registry.reg");
    m_registry = std::move(opened.registry);
    platform::seedWindowsValues(*m_registry, m_system);
    m_core = std::make_unique<app::SolvaneCore>(app::SolvaneCore::Services{
        m_hardware, *m_registry, m_system, m_scheduler, m_prompt, m_random, kSeed, {}});
    if (front == Front::None) {
        m_core->initialise();
        m_core->enableSettingCommands();
        return;
    }

    m_devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, m_kernelSide);
    if (m_driver.Load() != hw::IoDriver::kLoaded)
        throw std::runtime_error("the I/O driver did not load: are Zubrik*.sys beside the benchmark?");
    m_driver.SetHandleCopy(m_driver.GetHandle());
    m_window = std::make_unique<app::CSampleDlg>(m_driver, *m_core, m_shell);
    m_window->InitDialog();
    m_window->show();
    QApplication::processEvents();
}

SimulatedProgram::~SimulatedProgram() {
    if (m_window) {
        m_window->DestroyWindow();
        m_window.reset();
        QApplication::processEvents();
    } else {
        m_core->shutdown();
    }
}

void SimulatedProgram::showBasicPage() {
    m_window->OnCommand(ui::main_window_ids::kProduct);
    m_window->ShowPage(app::MainNavigation::kBasicPage);
    QApplication::processEvents();
}

} // namespace solvane::bench
