#pragma once

#include "host/RefusedWrites.h"
#include "host/SensorSource.h"
#include "platform/Module.h"

#include <memory>
#include <string>

namespace solvane::host {

// The power-saving library ("Nimbrel_xp.dll" or "Nimbrel_vista.dll") as the host provides it. The
// firmware and SMBus loads succeed; no Super I/O is detected; GetTemp and GetVol read the host's
// sensors (units in BoardSensors.h). Every call that would change the machine (SetPowerMode,
// CPU_THROTTLING, EnableSATA, DisableSATA) is refused, counted and answers 0; the entry points that
// are only looked up answer 0 too.
std::shared_ptr<const platform::Module> makeHostNimbrel(std::string moduleName,
                                                        std::shared_ptr<SensorSource> sensors,
                                                        std::shared_ptr<RefusedWrites> refused);

} // namespace solvane::host
