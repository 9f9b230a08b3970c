#pragma once

#include "hw/HardwareLibraries.h"
#include "hw/MachineAccess.h"
#include "hw/MachineMeter.h"
#include "platform/MemoryStatus.h"
#include "platform/Module.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace solvane::hw {

// One hardware back-end: the libraries the program is linked with, the modules it loads at run
// time (the power-saving library), and what the I/O driver reaches. The simulated board and the
// host implement it; the program chooses one at start-up.
class Hardware {
public:
    virtual ~Hardware() = default;

    virtual Hoblin& hoblin() = 0;
    virtual Falwick& falwick() = 0;
    virtual Ostrel& ostrel() = 0;
    virtual Pexmon& pexmon() = 0;
    virtual Tressel& tressel() = 0;
    // Serves "Nimbrel_xp.dll" and "Nimbrel_vista.dll".
    virtual platform::ModuleLoader& modules() = 0;
    virtual MachineAccess& machine() = 0;

    // The graphics adapter as the operating system's management interface names it
    // ("Win32_VideoController" properties "Name" and "DriverVersion"); empty when unknown.
    virtual std::string videoControllerName() const = 0;
    virtual std::string videoDriverVersion() const = 0;

    // The vendor and device names of a PCI function in the system's PCI ID database, for people;
    // none when the back-end has no database or the database does not know the function.
    virtual std::optional<std::string> pciDeviceName(std::uint16_t /*vendorId*/, std::uint16_t /*deviceId*/) {
        return std::nullopt;
    }

    // The whole SPD EEPROM at an SMBus address (write form) as the operating system's driver reads it,
    // across the EEPROM's pages; none where the back-end has no such driver and the SMBus reaches only
    // the first 256 bytes.
    virtual std::optional<std::vector<std::uint8_t>> spdImage(std::uint8_t /*address*/) {
        return std::nullopt;
    }

    // The operating system's memory status and processor count on this machine: the host's own on
    // the host, the simulated machine's on a simulated board.
    virtual platform::MemoryStatus memoryStatus() = 0;
    virtual unsigned processorCount() const = 0;

    // The machine the program runs on rather than a simulated board: where it is not a supported
    // board, the pages that only a Tarvok board can serve step aside.
    virtual bool hostMachine() const { return false; }

    // One line for people: which board or machine this is.
    virtual std::string description() const = 0;

    // Hardware writes refused instead of performed (the read-only host back-end, replayed dumps);
    // 0 for a back-end that performs every write.
    virtual std::uint64_t refusedWrites() const { return 0; }

    // The power, temperature and fan read-outs of an ordinary PC; none on a Tarvok board, whose
    // figures come from its own sensors and power-monitor chip.
    virtual MachineMeter* machineMeter() { return nullptr; }
};

} // namespace solvane::hw
