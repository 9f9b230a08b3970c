#include "sim/boards/AmdBoards.h"
#include "sim/boards/BoardModel.h"
#include "sim/boards/IntelBoards.h"

#include <algorithm>

namespace solvane::sim {

namespace {

constexpr std::string_view kTarvok = "Tarvok";
constexpr std::string_view kAmi = "American Megatrends Inc.";
constexpr std::string_view kPhoenix = "Phoenix Technologies, LTD";

// Register tables of each board: Super I/O identification, the fan bytes, the monitors, its own map.
constexpr RegisterTable kTablesOtherMaker[] = {kSuperIoOtherMaker, kCmosFanMode, kCmosFansLegacy};
constexpr RegisterTable kTables2918[] = {kSuperIoF71882, kCmosFanMode, kCmosFansIntel, kPowerMonitor,
                                         kRegisters2918};
constexpr RegisterTable kTables2917[] = {kSuperIoF71882, kCmosFanMode,        kCmosFansIntel,
                                         kPowerMonitor,  kVoltageGeneratorsA, kRegisters2917};
constexpr RegisterTable kTables2916[] = {kSuperIoF71882, kCmosFanMode,        kCmosFansIntel,
                                         kPowerMonitor,  kVoltageGeneratorsB, kRegisters2916};
constexpr RegisterTable kTables2915[] = {kSuperIoF71882, kCmosFanMode,        kCmosFansIntel,
                                         kPowerMonitor,  kVoltageGeneratorsA, kRegisters2915};
constexpr RegisterTable kTables2910[] = {kSuperIoF71882, kCmosFanMode,        kCmosFansIntel,
                                         kPowerMonitor,  kVoltageGeneratorsB, kRegisters2910};
constexpr RegisterTable kTables2904[] = {kSuperIoF71882, kCmosFanMode, kCmosFansIntel, kPowerMonitor,
                                         kRegisters2904};
constexpr RegisterTable kTables2908[] = {kSuperIoOtherMaker, kCmosFanMode, kCmosFansLegacy, kPowerMonitor};
constexpr RegisterTable kTables2909[] = {kSuperIoF71862, kCmosFanMode, kCmosFansLegacy, kPowerMonitor,
                                         kRegisters2909};
constexpr RegisterTable kTables2911[] = {kSuperIoF71889, kCmosFanMode,  kCmosFansAmd,
                                         kRailMonitor,   kPowerMonitor, kRegisters2911};
constexpr RegisterTable kTables2912[] = {kSuperIoF71889, kCmosFanMode, kCmosFansAmd, kPowerMonitor,
                                         kRegisters2912};
constexpr RegisterTable kTables2907[] = {kSuperIoF71889, kCmosFanMode, kCmosFansAmd, kPowerMonitor,
                                         kRegisters2907};
constexpr RegisterTable kTables2906[] = {kSuperIoF71889, kCmosFanMode, kCmosFansAmd, kPowerMonitor,
                                         kRegisters2906};
constexpr RegisterTable kTables2903[] = {kSuperIoF71889, kCmosFanMode, kCmosFansAmd, kPowerMonitor,
                                         kRegisters2903};
constexpr RegisterTable kTables2902[] = {kSuperIoF71889, kCmosFanMode, kCmosFansAmd, kPowerMonitor,
                                         kRegisters2902};
constexpr RegisterTable kTables2901[] = {kSuperIoF71882, kCmosFanMode, kCmosFansAmd, kPowerMonitor,
                                         kRegisters2901};

// Phase counts of the regulators, indexed by Regulator: core, VTT, memory, northbridge, southbridge.
using Phases = std::array<std::uint8_t, kRegulatorCount>;
// Nominal outputs in millivolts (the core's comes from the processor).
using Millivolts = std::array<std::int16_t, kRegulatorCount>;
// Loads in watts: VTT, memory per rank at full activity, northbridge, southbridge.
using Watts = std::array<double, kRegulatorCount>;

constexpr Millivolts kX58Volts{0, 1100, 1500, 1100, 1500};
constexpr Watts kX58Watts{0, 18.0, 1.4, 18.0, 4.0};
constexpr Millivolts kCore2Volts{0, 1200, 1800, 1100, 1500};
constexpr Millivolts kAmdDdr3Volts{0, 1100, 1500, 1100, 1200};
constexpr Millivolts kAmdDdr2Volts{0, 1200, 1800, 1100, 1200};
constexpr Watts kAmdWatts{0, 9.0, 1.6, 9.0, 4.0};

// clang-format off
constexpr BoardModel kBoards[] = {
    {.code = 0, .maker = "Hollis Computer Corp.", .modelName = "G41M-HQ", .processor = &kCore2DuoE6550,
     .sensorKind = 0, .phases = Phases{4, 1, 1, 1, 1}, .nominalMillivolts = kCore2Volts,
     .loadWatts = Watts{0, 4.0, 1.8, 14.0, 3.5}, .registers = kTablesOtherMaker,
     .sensors = kMillivoltSensors, .boardSensors = kGenericCurrentSense, .pci = kTopologyOtherMaker,
     .graphics = &kIntelG41, .memory = kMemoryOtherMaker, .biosVendor = kAmi, .biosVersion = "0406",
     .biosDate = "03/18/2008", .baseboardVersion = "Rev 1.xx", .otherWatts33 = 5, .otherWatts5 = 7,
     .otherWatts12 = 6},
    {.code = 2901, .maker = kTarvok, .modelName = "Alder-A1", .processor = &kAthlon64X2_4400,
     .sensorKind = 0, .phases = Phases{2, 1, 1, 1, 1}, .nominalMillivolts = kAmdDdr2Volts,
     .loadWatts = kAmdWatts, .registers = kTables2901, .phaseControls = kPhases2901,
     .sensors = kMillivoltSensors, .boardSensors = kGenericCurrentSense, .pci = kTopology2901,
     .graphics = &kGeForce7600Gt, .memory = kMemory2901, .biosVendor = kPhoenix, .biosVersion = "V1.3",
     .biosDate = "11/02/2007", .baseboardVersion = "1.0", .otherWatts33 = 5, .otherWatts5 = 7,
     .otherWatts12 = 6},
    {.code = 2902, .maker = kTarvok, .modelName = "Alder-A2", .processor = &kPhenomII940,
     .sensorKind = 0, .phases = Phases{4, 2, 1, 1, 1}, .nominalMillivolts = Millivolts{0, 1265, 1800, 1100, 1200},
     .loadWatts = kAmdWatts, .registers = kTables2902, .pciRegisters = kPciRegisters2902,
     .voltages = kVoltages2902, .phaseControls = kPhasesPowerIndicator, .sensors = kMillivoltSensors,
     .boardSensors = kGenericCurrentSense, .pci = kTopology2902, .graphics = &kGeForce9500Gt,
     .memory = kMemory2902, .biosVendor = kPhoenix, .biosVersion = "V1.8", .biosDate = "02/16/2009",
     .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8, .otherWatts12 = 8},
    {.code = 2903, .maker = kTarvok, .modelName = "Alder-A3", .processor = &kPhenom9550,
     .sensorKind = 100, .phases = Phases{2, 1, 1, 1, 1}, .nominalMillivolts = kAmdDdr2Volts,
     .loadWatts = kAmdWatts, .registers = kTables2903, .pciRegisters = kPciRegistersPowerIndicator,
     .phaseControls = kPhasesPowerIndicator, .sensors = kDividedSensors,
     .boardSensors = kGenericCurrentSense, .pci = kTopology2903, .graphics = &kRadeonHd3870,
     .memory = kMemory2903, .biosVendor = kPhoenix, .biosVersion = "V1.5", .biosDate = "07/21/2008",
     .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8, .otherWatts12 = 8},
    {.code = 2904, .maker = kTarvok, .modelName = "Birch-B1", .processor = &kCore2DuoE8400,
     .sensorKind = 100, .phases = Phases{2, 1, 1, 1, 1}, .nominalMillivolts = kCore2Volts,
     .loadWatts = Watts{0, 4.0, 1.4, 14.0, 3.5}, .registers = kTables2904, .phaseControls = kPhases2904,
     .sensors = kDividedSensors, .boardSensors = kGenericCurrentSense, .revision = &kRevision2904,
     .pci = kTopology2904, .graphics = &kIntelG41, .memory = kMemory2904, .biosVendor = kAmi,
     .biosVersion = "V1.4", .biosDate = "05/08/2009", .baseboardVersion = "1.0", .otherWatts33 = 5,
     .otherWatts5 = 7, .otherWatts12 = 6},
    {.code = 2905, .maker = kTarvok, .modelName = "Cedar-C1", .processor = &kAthlonII620,
     .sensorKind = 0, .phases = Phases{4, 2, 1, 1, 1}, .nominalMillivolts = Millivolts{0, 1265, 1500, 1100, 1200},
     .loadWatts = kAmdWatts, .registers = kTables2902, .pciRegisters = kPciRegisters2905,
     .voltages = kVoltages2902, .phaseControls = kPhasesPowerIndicator, .sensors = kMillivoltSensors,
     .boardSensors = kGenericCurrentSense, .pci = kTopology2905, .graphics = &kRadeonHd4670,
     .memory = kMemory2905, .biosVendor = kPhoenix, .biosVersion = "V1.2", .biosDate = "10/05/2009",
     .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8, .otherWatts12 = 8},
    {.code = 2906, .maker = kTarvok, .modelName = "Cedar-C2", .processor = &kAthlon64X2_5000,
     .sensorKind = 100, .phases = Phases{2, 1, 1, 1, 1}, .nominalMillivolts = kAmdDdr2Volts,
     .loadWatts = Watts{0, 0.0, 1.6, 12.0, 0.0}, .registers = kTables2906, .phaseControls = kPhases2906,
     .sensors = kDividedSensors, .boardSensors = kGenericCurrentSense, .pci = kTopology2906,
     .graphicsBus = 2, .graphics = &kGeForce8800Gt, .memory = kMemory2906, .biosVendor = kPhoenix,
     .biosVersion = "V1.6", .biosDate = "04/14/2008", .baseboardVersion = "1.0", .otherWatts33 = 5,
     .otherWatts5 = 8, .otherWatts12 = 7},
    {.code = 2907, .maker = kTarvok, .modelName = "Cedar-C3", .processor = &kAthlonII250,
     .sensorKind = 100, .phases = Phases{4, 1, 1, 1, 1}, .nominalMillivolts = kAmdDdr3Volts,
     .loadWatts = kAmdWatts, .registers = kTables2907, .phaseControls = kPhases2907,
     .sensors = kDividedSensors, .boardSensors = kGenericCurrentSense, .pci = kTopology2907,
     .graphics = &kRadeonHd3200, .memory = kMemory2907, .biosVendor = kPhoenix, .biosVersion = "V1.1",
     .biosDate = "08/27/2009", .baseboardVersion = "1.0", .otherWatts33 = 5, .otherWatts5 = 7,
     .otherWatts12 = 6},
    {.code = 2908, .maker = kTarvok, .modelName = "Dogwood-D1", .processor = &kPentiumE5200,
     .sensorKind = 100, .phases = Phases{3, 1, 1, 1, 1}, .nominalMillivolts = kCore2Volts,
     .loadWatts = Watts{0, 4.0, 1.8, 16.0, 4.0}, .registers = kTables2908, .sensors = kDividedSensors,
     .boardSensors = kGenericCurrentSense, .pci = kTopology2908, .graphics = &kIntelQ45,
     .memory = kMemory2908, .biosVendor = kAmi, .biosVersion = "V1.0", .biosDate = "01/12/2009",
     .baseboardVersion = "1.0", .otherWatts33 = 5, .otherWatts5 = 7, .otherWatts12 = 6},
    {.code = 2909, .maker = kTarvok, .modelName = "Dogwood-D2", .processor = &kPentium4_630,
     .sensorKind = 100, .phases = Phases{3, 1, 1, 1, 1}, .nominalMillivolts = Millivolts{0, 1200, 2600, 1500, 1500},
     .loadWatts = Watts{0, 4.0, 2.0, 12.0, 3.0}, .registers = kTables2909, .sensors = kDividedSensors,
     .boardSensors = kGenericCurrentSense, .pci = kTopology2909, .graphics = &kGeForce7600Gs,
     .memory = kMemory2909, .biosVendor = kAmi, .biosVersion = "V2.3", .biosDate = "09/30/2005",
     .baseboardVersion = "1.0", .otherWatts33 = 5, .otherWatts5 = 8, .otherWatts12 = 6},
    {.code = 2910, .maker = kTarvok, .modelName = "Elm-E1", .processor = &kCoreI7_950,
     .sensorKind = 100, .phases = Phases{6, 1, 2, 2, 1}, .cpuOnOwnSupply = true, .coreLosses = kCoreLosses2910,
     .nominalMillivolts = kX58Volts, .loadWatts = kX58Watts,
     .registers = kTables2910, .voltages = kVoltagesWiringB, .phaseControls = kPhases2910,
     .sensors = kDividedSensors, .boardSensors = kSensors2910, .pci = kTopology2910,
     .graphics = &kRadeonHd4850, .memory = kMemory2910, .biosVendor = kAmi, .biosVersion = "V1.3",
     .biosDate = "12/03/2009", .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8,
     .otherWatts12 = 9},
    {.code = 2911, .maker = kTarvok, .modelName = "Cedar-C4", .processor = &kPhenomII955,
     .sensorKind = 100, .phases = Phases{4, 1, 2, 2, 1}, .cpuOnOwnSupply = true,
     .nominalMillivolts = kAmdDdr3Volts,
     .loadWatts = kAmdWatts, .registers = kTables2911, .voltages = kVoltages2911, .phaseControls = kPhases2911,
     .sensors = kDividedSensors, .boardSensors = kSensors2911, .pci = kTopology2911,
     .graphics = &kRadeonHd4250, .memory = kMemory2911, .biosVendor = kPhoenix, .biosVersion = "V1.4",
     .biosDate = "11/19/2009", .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8,
     .otherWatts12 = 7},
    {.code = 2912, .maker = kTarvok, .modelName = "Cedar-C5", .processor = &kPhenomII1055T,
     .sensorKind = 100, .phases = Phases{4, 1, 1, 1, 1}, .cpuOnOwnSupply = true,
     .nominalMillivolts = kAmdDdr3Volts,
     .loadWatts = kAmdWatts, .registers = kTables2912, .phaseControls = kPhases2912,
     .sensors = kDividedSensors, .boardSensors = kSensors2912, .pci = kTopology2912,
     .graphics = &kGeForce9600Gt, .memory = kMemory2912, .biosVendor = kPhoenix, .biosVersion = "V1.2",
     .biosDate = "06/02/2010", .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8,
     .otherWatts12 = 8},
    {.code = 2913, .maker = kTarvok, .modelName = "Birch-B6", .processor = &kCore2DuoE8400,
     .sensorKind = 100, .phases = Phases{2, 1, 1, 1, 1}, .nominalMillivolts = kCore2Volts,
     .loadWatts = Watts{0, 4.0, 1.4, 14.0, 3.5}, .registers = kTables2904, .phaseControls = kPhases2904,
     .sensors = kDividedSensors, .boardSensors = kGenericCurrentSense, .pci = kTopology2904,
     .graphics = &kIntelG41, .memory = kMemory2904, .biosVendor = kAmi, .biosVersion = "V1.0",
     .biosDate = "09/14/2009", .baseboardVersion = "1.0", .otherWatts33 = 5, .otherWatts5 = 7,
     .otherWatts12 = 6},
    {.code = 2914, .maker = kTarvok, .modelName = "Dogwood-D3", .processor = &kPentiumE5200,
     .sensorKind = 100, .phases = Phases{3, 1, 1, 1, 1}, .nominalMillivolts = kCore2Volts,
     .loadWatts = Watts{0, 4.0, 1.8, 16.0, 4.0}, .registers = kTables2908, .sensors = kDividedSensors,
     .boardSensors = kGenericCurrentSense, .pci = kTopology2908, .graphics = &kIntelQ45,
     .memory = kMemory2908, .biosVendor = kAmi, .biosVersion = "V1.1", .biosDate = "03/09/2009",
     .baseboardVersion = "1.0", .otherWatts33 = 5, .otherWatts5 = 7, .otherWatts12 = 6},
    {.code = 2915, .maker = kTarvok, .modelName = "Elm-E2", .processor = &kCoreI7_920,
     .sensorKind = 0, .phases = Phases{6, 2, 3, 2, 1}, .cpuOnOwnSupply = true, .coreLosses = kCoreLosses2917,
     .nominalMillivolts = kX58Volts, .loadWatts = kX58Watts,
     .registers = kTables2915, .voltages = kVoltagesWiringA, .phaseControls = kPhases2915,
     .sensors = kMillivoltSensors, .boardSensors = kSensors2915, .pci = kTopology2915,
     .graphics = &kGeForce9800Gt, .memory = kMemory2915, .biosVendor = kAmi, .biosVersion = "V2.1",
     .biosDate = "04/22/2009", .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8,
     .otherWatts12 = 9},
    {.code = 2916, .maker = kTarvok, .modelName = "Elm-E3", .processor = &kCoreI7_940,
     .sensorKind = 0, .phases = Phases{5, 1, 2, 2, 1}, .fewestCorePhases = 2, .cpuOnOwnSupply = true,
     .coreLosses = kCoreLosses2916,
     .nominalMillivolts = kX58Volts, .loadWatts = kX58Watts, .registers = kTables2916,
     .voltages = kVoltagesWiringB, .phaseControls = kPhases2916,
     .sensors = kMillivoltSensors, .boardSensors = kSensors2916, .pci = kTopology2916,
     .graphics = &kRadeonHd4870, .memory = kMemory2916, .biosVendor = kAmi, .biosVersion = "V6.3",
     .biosDate = "07/15/2009", .baseboardVersion = "2.0", .otherWatts33 = 6, .otherWatts5 = 8,
     .otherWatts12 = 9},
    {.code = 2917, .maker = kTarvok, .modelName = "Elm-E4", .processor = &kCoreI7_965,
     .sensorKind = 0, .phases = Phases{6, 2, 2, 2, 1}, .cpuOnOwnSupply = true, .coreLosses = kCoreLosses2917,
     .nominalMillivolts = kX58Volts, .loadWatts = kX58Watts,
     .registers = kTables2917, .voltages = kVoltagesWiringA, .phaseControls = kPhases2917,
     .sensors = kMillivoltSensors, .boardSensors = kSensors2917, .pci = kTopology2917,
     .graphics = &kGeForceGtx260, .memory = kMemory2917, .biosVendor = kAmi, .biosVersion = "V1.7",
     .biosDate = "09/22/2009", .baseboardVersion = "1.0", .otherWatts33 = 6, .otherWatts5 = 8,
     .otherWatts12 = 9},
    {.code = 2918, .maker = kTarvok, .modelName = "", .processor = &kCore2QuadQ9550,
     .sensorKind = 27, .phases = Phases{5, 1, 2, 2, 1}, .cpuOnOwnSupply = true, .coreLosses = kCoreLosses2918,
     .nominalMillivolts = Millivolts{0, 1200, 1900, 1100, 1500},
     .loadWatts = Watts{0, 4.0, 1.8, 16.0, 4.0}, .registers = kTables2918, .voltages = kVoltages2918,
     .phaseControls = kPhases2918, .sensors = kMillivoltSensors, .boardSensors = kSensors2918,
     .pci = kTopology2918, .graphics = &kIntelG43, .memory = kMemory2918, .biosVendor = kAmi,
     .biosVersion = "V1.6", .biosDate = "06/12/2009", .baseboardVersion = "1.0", .otherWatts33 = 5,
     .otherWatts5 = 8, .otherWatts12 = 7},
};
// clang-format on

// Model names of board variants: a revision text in the baseboard version, or a variant without DDR3
// memory (an empty revision).
struct ModelVariant {
    int code;
    std::string_view revision;
    std::string_view name;
};
constexpr ModelVariant kModelVariants[] = {
    {2904, "4.0", "Birch-B3"},
    {2904, "5.0", "Birch-B4"},
    {2904, "6.0", "Birch-B5"},
    {2904, "", "Birch-B2"},
};

constexpr bool sortedByCode() {
    for (std::size_t i = 1; i < std::size(kBoards); ++i)
        if (kBoards[i - 1].code >= kBoards[i].code)
            return false;
    return true;
}
static_assert(sortedByCode(), "board codes are unique and in ascending order");

constexpr bool cpuPhasesInRange() {
    for (const auto& board : kBoards)
        if (board.phases[0] < 1 || board.phases[0] > kMaxPhases)
            return false;
    return true;
}
static_assert(cpuPhasesInRange(), "every board's CPU regulator has 1 to 6 phases");

} // namespace

const BoardModel* findBoardModel(int code) {
    const auto found =
        std::lower_bound(std::begin(kBoards), std::end(kBoards), code,
                         [](const BoardModel& board, int wanted) { return board.code < wanted; });
    return found != std::end(kBoards) && found->code == code ? &*found : nullptr;
}

std::span<const BoardModel> boardModels() {
    return kBoards;
}

std::string_view firmwareModelName(const BoardModel& board, std::string_view baseboardVersion, bool hasDdr3) {
    for (const auto& variant : kModelVariants)
        if (variant.code == board.code && !variant.revision.empty() &&
            baseboardVersion.find(variant.revision) != std::string_view::npos)
            return variant.name;
    if (!hasDdr3)
        for (const auto& variant : kModelVariants)
            if (variant.code == board.code && variant.revision.empty())
                return variant.name;
    return board.modelName;
}

} // namespace solvane::sim
