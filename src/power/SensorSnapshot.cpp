#include "power/SensorSnapshot.h"

#include "board/BoardTraits.h"

namespace solvane::power {

SensorSnapshot readSensors(PowerSavingLibrary& library, hw::BoardBus& bus, const PlatformInfo& platform) {
    SensorSnapshot snapshot;
    library.GetTemp(snapshot.temperatures, platform.SensorKind & 0xFF);
    library.GetVol(snapshot.sensors);
    if (platform.SensorKind == kRawCountSensorKind && board::traitsOf(platform.BoardCode).amdRailMonitor) {
        snapshot.amdRail12 = bus.smbusRead(0x5D, 0x11);
        snapshot.amdRail5 = bus.smbusRead(0x5D, 0x12);
    }
    snapshot.powerChipPresent =
        bus.smbusRead(kPowerMonitorDevice, kPowerMonitorIdRegister) == kPowerMonitorId;
    if (snapshot.powerChipPresent) {
        snapshot.railSense33 = bus.smbusRead(kPowerMonitorDevice, 0x20);
        snapshot.railSense5 = bus.smbusRead(kPowerMonitorDevice, 0x22);
        snapshot.railSense12 = bus.smbusRead(kPowerMonitorDevice, 0x21);
    }
    return snapshot;
}

} // namespace solvane::power
