#include "host/HostNimbrel.h"

#include "host/BoardSensors.h"
#include "hw/HardwareLibraries.h"

namespace solvane::host {

namespace nimbrel = hw::nimbrel;

std::shared_ptr<const platform::Module> makeHostNimbrel(std::string moduleName,
                                                        std::shared_ptr<SensorSource> sensors,
                                                        std::shared_ptr<RefusedWrites> refused) {
    auto module = std::make_shared<platform::Module>(std::move(moduleName));
    const std::function<nimbrel::LoadFunction> loaded = [] { return 1; };
    const std::function<nimbrel::UnloadFunction> unloaded = [] {};
    const std::function<nimbrel::QueryFunction> answerZero = [] { return 0; };
    module->define(std::string(nimbrel::kLoadOstrel), loaded);
    module->define(std::string(nimbrel::kLoadFalwick), loaded);
    module->define(std::string(nimbrel::kUnloadOstrel), unloaded);
    module->define(std::string(nimbrel::kUnloadFalwick), unloaded);
    module->define(std::string(nimbrel::kGetPowerMode), answerZero);
    module->define(std::string(nimbrel::kUsedNoSata), answerZero);
    module->define(std::string(nimbrel::kUnusedNoSata), answerZero);
    module->define<nimbrel::DetectSuperIOFunction>(std::string(nimbrel::kDetectSuperIO),
                                                   [](int) { return 0; });

    module->define<nimbrel::GetTempFunction>(std::string(nimbrel::kGetTemp),
                                             [sensors](nimbrel::TemperatureBuffer& buffer, int) {
                                                 const auto readings = sensors->read();
                                                 return BoardSensors::pick(readings).fillTemperatures(buffer);
                                             });
    module->define<nimbrel::GetVolFunction>(std::string(nimbrel::kGetVol),
                                            [sensors](nimbrel::SensorArray& values) {
                                                const auto readings = sensors->read();
                                                return BoardSensors::pick(readings).fillSensorArray(values);
                                            });

    const std::function<nimbrel::ModeFunction> refuseMode = [refused](int) {
        refused->refuse(WriteKind::PowerSaving);
        return 0;
    };
    const std::function<nimbrel::SataFunction> refuseSata = [refused] {
        refused->refuse(WriteKind::PowerSaving);
        return 0;
    };
    module->define(std::string(nimbrel::kSetPowerMode), refuseMode);
    module->define(std::string(nimbrel::kCpuThrottling), refuseMode);
    module->define(std::string(nimbrel::kEnableSata), refuseSata);
    module->define(std::string(nimbrel::kDisableSata), refuseSata);
    return module;
}

} // namespace solvane::host
