#include "support/RecordingPowerModule.h"

namespace solvane::test {

namespace nimbrel = hw::nimbrel;

std::shared_ptr<const platform::Module> RecordingPowerModule::module(std::string name) {
    auto module = std::make_shared<platform::Module>(std::move(name));
    const auto logCall = [this](std::string_view entry) {
        return [this, entry] {
            calls.push_back(std::string(entry));
            return 1;
        };
    };
    const auto logMode = [this](std::string_view entry) {
        return [this, entry](int argument) {
            calls.push_back(std::string(entry) + "(" + std::to_string(argument) + ")");
            return 1;
        };
    };
    module->define<nimbrel::LoadFunction>(std::string(nimbrel::kLoadOstrel), logCall(nimbrel::kLoadOstrel));
    module->define<nimbrel::LoadFunction>(std::string(nimbrel::kLoadFalwick), logCall(nimbrel::kLoadFalwick));
    module->define<nimbrel::UnloadFunction>(std::string(nimbrel::kUnloadOstrel),
                                            [this] { calls.emplace_back(nimbrel::kUnloadOstrel); });
    module->define<nimbrel::UnloadFunction>(std::string(nimbrel::kUnloadFalwick),
                                            [this] { calls.emplace_back(nimbrel::kUnloadFalwick); });
    module->define<nimbrel::DetectSuperIOFunction>(std::string(nimbrel::kDetectSuperIO),
                                                   logMode(nimbrel::kDetectSuperIO));
    module->define<nimbrel::ModeFunction>(std::string(nimbrel::kSetPowerMode),
                                          logMode(nimbrel::kSetPowerMode));
    module->define<nimbrel::ModeFunction>(std::string(nimbrel::kCpuThrottling),
                                          logMode(nimbrel::kCpuThrottling));
    module->define<nimbrel::SataFunction>(std::string(nimbrel::kEnableSata), logCall(nimbrel::kEnableSata));
    module->define<nimbrel::SataFunction>(std::string(nimbrel::kDisableSata), logCall(nimbrel::kDisableSata));
    module->define<nimbrel::GetTempFunction>(std::string(nimbrel::kGetTemp),
                                             [this](nimbrel::TemperatureBuffer& buffer, int) {
                                                 buffer = temperatures;
                                                 return 1;
                                             });
    module->define<nimbrel::GetVolFunction>(std::string(nimbrel::kGetVol),
                                            [this](nimbrel::SensorArray& values) {
                                                values = sensors;
                                                return 1;
                                            });
    return module;
}

std::vector<std::string> RecordingPowerModule::planCalls() const {
    std::vector<std::string> plan;
    for (const auto& call : calls)
        if (call.starts_with("SetPowerMode") || call.starts_with("CPU_THROTTLING") || call.ends_with("SATA"))
            plan.push_back(call);
    return plan;
}

} // namespace solvane::test
