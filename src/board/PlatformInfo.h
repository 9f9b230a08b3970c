#pragma once

#include <string>
#include <string_view>

namespace solvane::power {

// Which power-saving library the operating system calls for.
enum class OsFlavour : int {
    None = -1, // no power-saving library: the monitor stays inactive
    Xp = 0,    // Nimbrel_xp.dll
    Vista = 1, // Nimbrel_vista.dll
};

// The platform record: who the board is, the firmware strings the information pages show, and the
// board's capabilities. Filled once at start-up by IdentifyPlatform, DetectOsKind and
// InitBoardCapabilities; owned by the application and passed by reference.
struct PlatformInfo {
    // "KX-" and the four-digit board code, cut from the SMBIOS product names.
    std::string BoardString;
    // The number left after removing every "KX-" from BoardString; 0 when that is not a number.
    int BoardCode = 0;
    // Text before "(" in the baseboard product name ("Elm-E4 " of "Elm-E4 (KX-2917)").
    std::string BoardModelPrefix;

    // SMBIOS strings: BIOS (type 0), baseboard (type 2), processor (type 4).
    std::string biosVendor;
    std::string biosVersion;
    std::string biosReleaseDate;
    std::string baseboardManufacturer;
    std::string baseboardVersion; // also picks a model-name variant and a voltage correction
    std::string baseboardSerialNumber;
    std::string processorId; // "%.8X %.8X" of the ProcessorID halves, high half first
    std::string processorVersion;
    std::string externalClock; // "%d MHz"

    // Capabilities of the identified board.
    std::string_view CpuVendor; // "Intel" or "AMD" from the board table; empty for other boards
    OsFlavour OsKind = OsFlavour::None;
    bool BoardSupported = false;
    bool TestPlatform = false; // only read for a board that is not supported
    int SensorKind = 0;        // 27, 100 or 0, passed to the temperature and Super I/O functions
    int MaxCpuPhases = 0;      // 0 where the board table does not set it
    bool FanCapable = false;
};

// The sensor kind whose voltage slots hold the monitor's raw counts, which the measurement scales
// (the core voltage 8 mV a count, the rails by their dividers); the other kinds give millivolts.
inline constexpr int kRawCountSensorKind = 100;

// Where the fan speed sits in the sensor array of the power-saving library, on every board.
inline constexpr int kFanSpeedSensorIndex = 8;

} // namespace solvane::power
