#pragma once

#include "sim/boards/GraphicsCard.h"
#include "sim/boards/MemoryModule.h"
#include "sim/physics/CpuLoadSource.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace solvane::sim {

// How the firmware names the baseboard in its SMBIOS tables.
enum class ProductNaming : std::uint8_t {
    WithModelName, // "Elm-E4 (KX-2917)", as the boards ship
    CodeOnly,      // "KX-2917", as early firmware releases report it
};

// Library failures a test can provoke, to see how the program copes with them.
struct LibraryFaults {
    bool hoblinLoadFails = false;  // LoadNTHoblin returns 0
    bool ostrelLoadFails = false;  // LoadOstrel returns 0
    bool falwickLoadFails = false; // LoadFalwick returns 0
    bool pexmonUnusable = false;   // Init returns 0
    int tresselError = 0;          // TresselInit returns this error code when not 0
};

// What to simulate. Empty or unset fields take the board's own value.
struct SimulationOptions {
    int boardCode = 2917;                   // 2901 to 2918; 0: a board of another maker
    std::filesystem::path stateFolder;      // where the board keeps its registers and CMOS; empty: nowhere
    std::uint32_t seed = 1;                 // for sensor noise
    std::shared_ptr<CpuLoadSource> cpuLoad; // null: this machine's own CPU usage
    std::function<std::chrono::milliseconds()> clock; // empty: the steady clock of the process
    std::string baseboardVersion;                     // such as "5.0" or "6.0"
    std::string biosVersion;                          // such as "V7.1"
    std::optional<GraphicsVendor> graphics;           // replaces the board's graphics controller
    std::optional<std::vector<MemoryModule>> memory;  // replaces the board's memory modules
    ProductNaming productNaming = ProductNaming::WithModelName;
    std::vector<std::string> missingEntryPoints; // entry points the power-saving modules lack
    LibraryFaults faults;
    bool sensorNoise = true; // one count of noise on the analogue readings
    bool keepState = true;   // false: the board reads its kept state but never writes it (a report)
};

} // namespace solvane::sim
