#pragma once

#include "hw/HardwareLibraries.h"
#include "platform/Module.h"

#include <memory>

namespace solvane::power {

// The power-saving library once loaded: its entry points resolved by name. A call whose entry
// point the module lacks does nothing and reports 0.
class PowerSavingLibrary {
public:
    explicit PowerSavingLibrary(std::shared_ptr<const platform::Module> module);

    bool loaded() const { return m_module != nullptr; }

    int LoadOstrel();
    int LoadFalwick();
    void UnloadOSTREL();
    void UnloadFalwick();
    int DetectSuperIO(int superIoKind);
    int GetTemp(hw::nimbrel::TemperatureBuffer& buffer, int superIoKind);
    int GetVol(hw::nimbrel::SensorArray& values);
    int SetPowerMode(int mode);
    int CPU_THROTTLING(int state);
    int EnableSATA();
    int DisableSATA();

private:
    template <class Signature, class... Arguments>
    int call(std::string_view entryPoint, Arguments&&... arguments) const;

    std::shared_ptr<const platform::Module> m_module;
};

} // namespace solvane::power
