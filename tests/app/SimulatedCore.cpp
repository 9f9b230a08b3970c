#include "SimulatedCore.h"

#include "platform/RegistrySeed.h"
#include "sim/physics/ScriptedCpuLoad.h"

namespace solvane::test {

CoreServices::CoreServices(bool vista) {
    if (vista)
        registry.writeString(platform::kWindowsVersionKey, "BuildLabEx",
                             "6002.18005.amd64fre.lh_sp2rtm.090410-1830");
}

app::SolvaneCore::Services CoreServices::on(hw::Hardware& hardware, std::uint32_t seed,
                                            std::function<void()> requestClose) {
    return {hardware, registry, system, clock, prompt, random, seed, std::move(requestClose)};
}

std::unique_ptr<sim::SimulatedHardware> simulatedBoard(const SimulatedBoardSetup& setup) {
    sim::SimulationOptions options;
    options.boardCode = setup.board;
    options.seed = setup.seed;
    options.cpuLoad = std::make_shared<sim::ScriptedCpuLoad>(std::vector<double>{setup.load});
    options.faults = setup.faults;
    options.clock = setup.clock;
    options.biosVersion = setup.biosVersion;
    return std::make_unique<sim::SimulatedHardware>(options);
}

CoreOnBoard::CoreOnBoard(int board, double load, std::uint32_t boardSeed, std::uint32_t coreSeed)
    : hardware(simulatedBoard({.board = board,
                               .load = load,
                               .seed = boardSeed,
                               .clock = [this] { return std::chrono::milliseconds(services.clock.now()); }})),
      core(std::make_unique<app::SolvaneCore>(services.on(*hardware, coreSeed))) {
    core->initialise();
    core->enableSettingCommands();
}

} // namespace solvane::test
