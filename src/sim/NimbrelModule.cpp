#include "sim/NimbrelModule.h"

#include <algorithm>

namespace solvane::sim {

namespace {

namespace nimbrel = hw::nimbrel;

// Loads one of the libraries the power-saving library initialises; false when it is to fail.
int load(SimulatedBoard& board, SimulatedBoard::Library library, bool fails) {
    board.setLoaded(library, !fails);
    return fails ? 0 : 1;
}

} // namespace

std::shared_ptr<const platform::Module> makeNimbrelModule(SimulatedBoard& board, std::string_view fileName) {
    auto module = std::make_shared<platform::Module>(std::string(fileName));
    const auto& missing = board.options().missingEntryPoints;
    const auto define = [&]<class Signature>(std::string_view name, std::function<Signature> function) {
        if (std::find(missing.begin(), missing.end(), name) == missing.end())
            module->define<Signature>(std::string(name), std::move(function));
    };
    const auto& faults = board.options().faults;
    using Library = SimulatedBoard::Library;
    define(nimbrel::kLoadOstrel,
           std::function<nimbrel::LoadFunction>(
               [&board, fails = faults.ostrelLoadFails] { return load(board, Library::Ostrel, fails); }));
    define(nimbrel::kUnloadOstrel,
           std::function<nimbrel::UnloadFunction>([&board] { board.setLoaded(Library::Ostrel, false); }));
    define(nimbrel::kLoadFalwick,
           std::function<nimbrel::LoadFunction>(
               [&board, fails = faults.falwickLoadFails] { return load(board, Library::Falwick, fails); }));
    define(nimbrel::kUnloadFalwick,
           std::function<nimbrel::UnloadFunction>([&board] { board.setLoaded(Library::Falwick, false); }));
    define(nimbrel::kDetectSuperIO, std::function<nimbrel::DetectSuperIOFunction>(
                                        [&board](int kind) { return board.detectSuperIo(kind); }));
    define(nimbrel::kGetTemp,
           std::function<nimbrel::GetTempFunction>([&board](nimbrel::TemperatureBuffer& buffer, int kind) {
               return board.readTemperatures(buffer, kind);
           }));
    define(nimbrel::kGetVol, std::function<nimbrel::GetVolFunction>([&board](nimbrel::SensorArray& values) {
               return board.readVoltages(values);
           }));
    define(nimbrel::kSetPowerMode,
           std::function<nimbrel::ModeFunction>([&board](int mode) { return board.setPowerMode(mode); }));
    define(nimbrel::kGetPowerMode,
           std::function<nimbrel::QueryFunction>([&board] { return board.powerMode(); }));
    define(nimbrel::kCpuThrottling,
           std::function<nimbrel::ModeFunction>([&board](int state) { return board.setThrottling(state); }));
    define(nimbrel::kEnableSata,
           std::function<nimbrel::SataFunction>([&board] { return board.enableSata(); }));
    define(nimbrel::kDisableSata,
           std::function<nimbrel::SataFunction>([&board] { return board.disableSata(); }));
    define(nimbrel::kUsedNoSata,
           std::function<nimbrel::QueryFunction>([&board] { return board.usedSataPorts(); }));
    define(nimbrel::kUnusedNoSata,
           std::function<nimbrel::QueryFunction>([&board] { return board.unusedSataPorts(); }));
    return module;
}

} // namespace solvane::sim
