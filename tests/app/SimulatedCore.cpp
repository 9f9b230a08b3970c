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

} // namespace solvane::test
