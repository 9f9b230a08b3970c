#include "power/PowerSavingLibrary.h"

namespace solvane::power {

namespace nimbrel = hw::nimbrel;

PowerSavingLibrary::PowerSavingLibrary(std::shared_ptr<const platform::Module> module)
    : m_module(std::move(module)) {}

template <class Signature, class... Arguments>
int PowerSavingLibrary::call(std::string_view entryPoint, Arguments&&... arguments) const {
    if (!m_module)
        return 0;
    const auto* function = m_module->find<Signature>(entryPoint);
    if (function == nullptr || !*function)
        return 0;
    if constexpr (std::is_void_v<std::invoke_result_t<std::function<Signature>, Arguments...>>) {
        (*function)(std::forward<Arguments>(arguments)...);
        return 0;
    } else {
        return (*function)(std::forward<Arguments>(arguments)...);
    }
}

int PowerSavingLibrary::LoadOstrel() {
    return call<nimbrel::LoadFunction>(nimbrel::kLoadOstrel);
}

int PowerSavingLibrary::LoadFalwick() {
    return call<nimbrel::LoadFunction>(nimbrel::kLoadFalwick);
}

void PowerSavingLibrary::UnloadOSTREL() {
    call<nimbrel::UnloadFunction>(nimbrel::kUnloadOstrel);
}

void PowerSavingLibrary::UnloadFalwick() {
    call<nimbrel::UnloadFunction>(nimbrel::kUnloadFalwick);
}

int PowerSavingLibrary::DetectSuperIO(int superIoKind) {
    return call<nimbrel::DetectSuperIOFunction>(nimbrel::kDetectSuperIO, superIoKind);
}

int PowerSavingLibrary::GetTemp(nimbrel::TemperatureBuffer& buffer, int superIoKind) {
    return call<nimbrel::GetTempFunction>(nimbrel::kGetTemp, buffer, superIoKind);
}

int PowerSavingLibrary::GetVol(nimbrel::SensorArray& values) {
    return call<nimbrel::GetVolFunction>(nimbrel::kGetVol, values);
}

int PowerSavingLibrary::SetPowerMode(int mode) {
    return call<nimbrel::ModeFunction>(nimbrel::kSetPowerMode, mode);
}

int PowerSavingLibrary::CPU_THROTTLING(int state) {
    return call<nimbrel::ModeFunction>(nimbrel::kCpuThrottling, state);
}

int PowerSavingLibrary::EnableSATA() {
    return call<nimbrel::SataFunction>(nimbrel::kEnableSata);
}

int PowerSavingLibrary::DisableSATA() {
    return call<nimbrel::SataFunction>(nimbrel::kDisableSata);
}

} // namespace solvane::power
