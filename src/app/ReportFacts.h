#pragma once

#include "app/DefaultModeTwin.h"
#include "app/MemoryReport.h"
#include "app/SolvaneCore.h"
#include "history/HistoryStore.h"
#include "power/BasicPageReadouts.h"
#include "power/PlatformReport.h"
#include "power/PowerModeNames.h"
#include "power/ThisPcMeasurement.h"
#include "sim/physics/BoardPhysics.h"
#include "sysinfo/MotherboardInfo.h"
#include "sysinfo/PciDeviceReport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::app {

// How many days of the history the report shows.
inline constexpr int kReportHistoryDays = 7;

// The saved motherboard profiles are kept per mode; the report names each store so.
struct ModeProfileStore {
    std::string_view name;
    std::string_view key;
};
inline constexpr std::array<ModeProfileStore, 3> kModeProfileStores{{
    {power::modeWord(power::PowerMode::Default), power::kDefaultModeKey},
    {power::modeWord(power::PowerMode::Optimize), power::kOptimizeModeKey},
    {power::modeWord(power::PowerMode::Max), power::kMaxModeKey},
}};

// Everything the report tells, read from the running program once; the text and the JSON report
// are two writings of the same facts.
struct ReportFacts {
    struct Setting {
        std::string key;
        power::SettingValue value;
        std::string text; // as the pages show the value
    };
    struct LedCaption {
        std::string key;
        std::string caption;
    };
    struct Lamp {
        int lampId = 0;
        bool lit = false;
    };
    // What the simulated board's own model says, for scripts that hold the read-outs against it.
    struct Simulation {
        sim::PhysicsState physics;
        std::optional<DefaultModeTwin::Figures> defaultModeTwin;
    };
    // An ordinary PC's own read-outs, in place of the board read-outs.
    struct ThisPc {
        power::ThisPcFigures figures;
        power::Measurements values;
    };

    power::PlatformReport identification;
    std::vector<Setting> settings;
    std::string_view activeMode; // "Default Mode", ... or "none"
    std::vector<LedCaption> ledCaptions;
    std::vector<Lamp> lamps;
    bool boardSupported = false;
    std::vector<power::BasicReadout> readouts; // captions on one line each; none without a monitor
    std::optional<ThisPc> thisPc;              // on an ordinary PC only
    std::vector<sysinfo::PciDeviceReport> pciDevices;
    sysinfo::PciPlatformFacts pciFacts;
    MemoryReportFacts memory;
    sysinfo::MotherboardInfo motherboard;
    std::array<std::vector<std::string>, kModeProfileStores.size()> modeProfiles;
    std::vector<std::string> ledProfiles;
    std::uint64_t refusedHardwareWrites = 0;
    std::vector<history::DayRow> historyDays;
    std::optional<Simulation> simulation; // on a simulated board only
};

// Reads the report's facts from an initialised core; driver is the loaded I/O driver (null: none),
// history the power history (null: none) and twin the Default-mode twin of a simulated board (null:
// none).
ReportFacts gatherReport(SolvaneCore& core, hw::IoDriver* driver, const history::HistoryStore* history,
                         const DefaultModeTwin* twin);

} // namespace solvane::app
