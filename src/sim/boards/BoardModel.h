#pragma once

#include "sim/boards/GraphicsCard.h"
#include "sim/boards/MemoryModule.h"
#include "sim/boards/PciFunctionSpec.h"
#include "sim/boards/ProcessorModel.h"
#include "sim/boards/RegisterInventory.h"
#include "sim/physics/BoardControls.h"
#include "sim/physics/RegulatorLosses.h"
#include "sim/physics/SensorCalibration.h"

#include <array>
#include <span>
#include <string_view>

namespace solvane::sim {

// A later revision of a board that rewired some controls. Fields: marker (text in the baseboard
// version that identifies the revision); registers (replacing the base board's registers at the same
// address); phases (replacing the base board's phase controls when not empty); coreSensorGain (what
// the core-voltage sensor reads per volt at the socket).
struct BoardRevision {
    std::string_view marker = {};
    RegisterTable registers = {};
    std::span<const PhaseControl> phases = {};
    double coreSensorGain = 1.0;
};

// Everything that makes one simulated board. Its register map is written here on its own rather
// than taken from hw's setting tables: the board routines are then checked against an independent
// description of the hardware, so a wrong address or bit in hw's tables shows as a wrong reading or a
// rejected write instead of agreeing with itself.
//
// Fields:
//   code               2901 to 2918, or 0 for a board of another maker;
//   maker              the manufacturer its firmware names;
//   modelName          the model name its firmware puts before "(KX-code)" (empty: it reports the code
//                      alone); for a board of another maker its whole product name;
//   processor          the CPU it carries;
//   sensorKind         the Super I/O kind its sensor library answers to (27, 100 or 0);
//   phases             the phase count of each regulator (indexed by Regulator);
//   fewestCorePhases   the fewest phases the CPU regulator drops to when it chooses for itself;
//   cpuOnOwnSupply     whether the CPU regulator has its own 12 V connector (the boards whose sensors
//                      measure the CPU's power) rather than hanging on the board's 12 V rail;
//   coreLosses         the CPU regulator's losses;
//   nominalMillivolts  each regulator's output at its neutral setting (the core's comes from the CPU);
//   loadWatts          the power each regulator feeds at nominal voltage (core: computed from the CPU;
//                      memory: per rank at full activity);
//   registers          the register tables of the board (identification, fan, monitor, own);
//   pciRegisters       configuration registers of PCI functions the board routines use;
//   voltages, phaseControls  which registers set the regulators;
//   sensors, boardSensors    the sensor library's layout for its kind, and this board's own slots;
//   revision           a rewired later revision, or null;
//   pci                the PCI functions of chipset and on-board devices;
//   graphicsBus        the bus of the graphics slot (for an add-in graphics card);
//   graphics           the graphics controller it ships with;
//   memory             the memory modules it ships with;
//   biosVendor, biosVersion, biosDate, baseboardVersion  firmware identity;
//   otherWatts33, otherWatts5, otherWatts12  loads on each rail beyond the regulators above;
//   sataPorts, sataPortsUsed  the chipset's SATA ports and how many have a drive.
struct BoardModel {
    int code = 0;
    std::string_view maker = {};
    std::string_view modelName = {};
    const ProcessorModel* processor = nullptr;
    int sensorKind = 0;
    std::array<std::uint8_t, kRegulatorCount> phases{};
    int fewestCorePhases = 1;
    bool cpuOnOwnSupply = false;
    RegulatorLosses coreLosses = kCoreLosses;
    std::array<std::int16_t, kRegulatorCount> nominalMillivolts{};
    std::array<double, kRegulatorCount> loadWatts{};
    std::span<const RegisterTable> registers = {};
    std::span<const PciRegisterSpec> pciRegisters = {};
    std::span<const VoltageControl> voltages = {};
    std::span<const PhaseControl> phaseControls = {};
    SensorLayout sensors = {};
    SensorLayout boardSensors = {};
    const BoardRevision* revision = nullptr;
    std::span<const PciBlock> pci = {};
    std::uint8_t graphicsBus = 1;
    const GraphicsCard* graphics = nullptr;
    std::span<const MemoryModule> memory = {};
    std::string_view biosVendor = {};
    std::string_view biosVersion = {};
    std::string_view biosDate = {};
    std::string_view baseboardVersion = {};
    double otherWatts33 = 0;
    double otherWatts5 = 0;
    double otherWatts12 = 0;
    int sataPorts = 6;
    int sataPortsUsed = 2;
};

// The model name a board's firmware reports for its revision (baseboard version) and memory: board 2904
// names its variants by revision and by whether it carries DDR3 modules.
std::string_view firmwareModelName(const BoardModel& board, std::string_view baseboardVersion, bool hasDdr3);

// The board of a code: 2901 to 2918, or 0 for a board of another maker. Null for any other code.
const BoardModel* findBoardModel(int code);
// Every board that can be simulated, in code order, the board of another maker first.
std::span<const BoardModel> boardModels();

} // namespace solvane::sim
