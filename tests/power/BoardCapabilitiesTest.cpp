#include "power/BoardCapabilities.h"

#include "FakeFirmware.h"
#include "hw/BoardModelNames.h"
#include "platform/MemoryRegistry.h"
#include "power/BoardTable.h"
#include "power/IdentifyPlatform.h"
#include "power/ModeTargets.h"
#include "power/PlatformReport.h"
#include "power/PowerModeState.h"
#include "support/FakeRegisters.h"
#include "support/SmbiosBuilder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace solvane::power {
namespace {

constexpr SettingValue kNo = kNotPresent;

// Records the order in which the initialisation calls out.
class RecordingHooks final : public BoardInitHooks {
public:
    std::vector<std::string> calls;
    SettingVector derivedFrom = notPresentVector();

    void setChecksEnabled(bool enabled) override { calls.push_back(enabled ? "checks on" : "checks off"); }
    void deriveModeVectors(const SettingVector& defaultTargets) override {
        calls.push_back("derive");
        derivedFrom = defaultTargets;
    }
    void readAllSettings() override { calls.push_back("read all"); }
};

// A machine with the given baseboard product name, identified and initialised as at start-up.
struct Machine {
    PlatformInfo platform;
    BoardOptions options;
    SettingVector defaults = notPresentVector();
    RecordingHooks hooks;
    test::FakeRegisters chipset;
    platform::MemoryRegistry registry;

    explicit Machine(const std::string& baseboardProduct, std::uint32_t cpuVoltageBaseRegister = 0) {
        test::SmbiosIdentity identity;
        identity.systemProduct = "To be filled by O.E.M.";
        identity.baseboardProduct = baseboardProduct;
        chipset.northbridge[0xE8] = cpuVoltageBaseRegister;
        test::FakeFirmware firmware;
        firmware.table = test::identityTable(identity);
        IdentifyPlatform(firmware, platform);
    }
    void init() { InitBoardCapabilities(registry, chipset, platform, options, defaults, hooks); }
};

std::string productName(int code) {
    const auto record = hw::findBoardModelNameRecord(std::to_string(code));
    const auto model = record ? hw::boardModelName(*record, 1) : std::string_view("Tarvok");
    return std::string(model) + " (KX-" + std::to_string(code) + ")";
}

// What each board must report, written out setting by setting.
struct BoardExpectation {
    int code;
    const char* vendor;
    int maxCpuPhases;
    int sensorKind;
    std::map<int, SettingValue> defaults; // every slot not listed is kNotPresent
};

std::map<int, SettingValue> intelDefaults(SettingValue cpuPhase, SettingValue ddrPhase, SettingValue mch) {
    std::map<int, SettingValue> values = {
        {0, 16},  {1, 16},  {2, 16},  {3, 1},         {6, cpuPhase}, {7, 31}, {8, 16},  {9, 16}, {10, 16},
        {11, 16}, {12, 16}, {13, 16}, {14, ddrPhase}, {15, mch},     {17, 1}, {18, 16}, {19, 0}};
    for (int led = 20; led <= 28; ++led)
        values[led] = 0;
    return values;
}

std::map<int, SettingValue> phaseLedOnly(SettingValue cpuPhase) {
    return {{6, cpuPhase}, {19, 0}, {21, 0}};
}

std::vector<BoardExpectation> expectations() {
    auto with2915Leds = intelDefaults(5, 2, 16);
    with2915Leds[29] = 0;
    with2915Leds[30] = 0;
    return {
        {2918, "Intel", 5, 27, intelDefaults(4, 1, 31)},
        {2917, "Intel", 6, 0, intelDefaults(5, 1, 16)},
        {2910, "Intel", 6, 100, intelDefaults(5, 1, 16)},
        {2916, "Intel", 5, 0, intelDefaults(4, 1, 31)},
        {2915, "Intel", 6, 0, with2915Leds},
        {2904, "Intel", 2, 100, phaseLedOnly(1)},
        {2909, "Intel", 0, 100, {{19, 0}}},
        {2908, "Intel", 0, 100, {{19, 0}}},
        {2903, "AMD", 2, 100, {{2, 0}, {6, 1}, {7, 2}, {15, 0}, {19, 0}, {21, 0}}},
        {2912, "AMD", 4, 100, phaseLedOnly(3)},
        {2907, "AMD", 4, 100, phaseLedOnly(3)},
        {2911,
         "AMD",
         4,
         100,
         {{0, 16},
          {6, 3},
          {7, 41},
          {14, 1},
          {15, 7},
          {17, 1},
          {18, 16},
          {19, 0},
          {20, 0},
          {21, 0},
          {22, 0},
          {24, 0},
          {25, 0}}},
        {2902, "AMD", 4, 0, {{0, 30}, {1, 1}, {6, 3}, {7, 0}, {8, 0}, {15, 0}, {18, 0}, {19, 0}, {21, 0}}},
        {2905, "AMD", 4, 0, {{0, 30}, {1, 1}, {6, 3}, {7, 0}, {8, 0}, {15, 0}, {18, 0}, {19, 0}, {21, 0}}},
        {2906, "AMD", 2, 100, phaseLedOnly(1)},
        {2901, "AMD", 2, 0, phaseLedOnly(1)},
    };
}

TEST(BoardCapabilities, EverySupportedBoardIdentifiesWithItsCapabilitiesAndDefaults) {
    const auto boards = expectations();
    ASSERT_EQ(boards.size(), 16U);
    for (const auto& board : boards) {
        Machine machine(productName(board.code));
        machine.init();
        const auto& platform = machine.platform;
        const auto code = std::to_string(board.code);
        EXPECT_EQ(platform.BoardString, "KX-" + code);
        EXPECT_EQ(platform.BoardCode, board.code);
        EXPECT_TRUE(platform.BoardSupported) << code;
        EXPECT_EQ(platform.CpuVendor, board.vendor) << code;
        EXPECT_EQ(platform.MaxCpuPhases, board.maxCpuPhases) << code;
        EXPECT_EQ(platform.SensorKind, board.sensorKind) << code;
        EXPECT_EQ(sensorKindFor(board.code), board.sensorKind) << code;
        EXPECT_TRUE(platform.FanCapable) << code;
        EXPECT_FALSE(platform.TestPlatform) << code;
        for (std::size_t slot = 0; slot < kSettingSlots; ++slot) {
            const auto found = board.defaults.find(static_cast<int>(slot));
            EXPECT_EQ(machine.defaults[slot], found == board.defaults.end() ? kNo : found->second)
                << code << " slot " << slot;
            // A voltage default is the default option of the board's list; other settings have none.
            if (slot < kModeSettingCount && machine.options.lists[slot].exists()) {
                EXPECT_EQ(machine.options.lists[slot].defaultIndex, machine.defaults[slot])
                    << code << " " << slot;
            }
        }
        EXPECT_EQ(machine.hooks.calls,
                  (std::vector<std::string>{"checks on", "derive", "read all", "checks off"}))
            << code;
        EXPECT_EQ(machine.hooks.derivedFrom, machine.defaults) << code;
    }
}

TEST(BoardCapabilities, UnknownBoardHasNoSettingsAndReadsTheTestPlatformFlag) {
    for (const char* flag : std::initializer_list<const char*>{"1", "0", "yes", nullptr}) {
        Machine machine("P5Q Deluxe Rev 1.0");
        if (flag != nullptr)
            machine.registry.writeString(kProductKey, kTestPlatformValue, flag);
        machine.init();
        const auto& platform = machine.platform;
        EXPECT_EQ(platform.BoardString, "To be f");
        EXPECT_EQ(platform.BoardCode, 0);
        EXPECT_FALSE(platform.BoardSupported);
        EXPECT_EQ(platform.TestPlatform, flag != nullptr && std::string(flag) == "1")
            << (flag ? flag : "none");
        EXPECT_EQ(platform.CpuVendor, "");
        EXPECT_EQ(platform.SensorKind, 0);
        EXPECT_EQ(platform.MaxCpuPhases, 0);
        EXPECT_FALSE(platform.FanCapable);
        EXPECT_EQ(machine.defaults, notPresentVector());
        for (const auto& list : machine.options.lists)
            EXPECT_FALSE(list.exists());
        // No mode vectors for an unknown board, but the settings are still read back.
        EXPECT_EQ(machine.hooks.calls, (std::vector<std::string>{"checks on", "read all", "checks off"}));
    }
}

TEST(BoardCapabilities, BoardsNamedOnlyInTheModelTableAreNotSupported) {
    for (const int code : {2913, 2914}) {
        Machine machine(productName(code));
        machine.registry.writeString(kProductKey, kTestPlatformValue, "1");
        machine.init();
        EXPECT_EQ(machine.platform.BoardCode, code);
        EXPECT_FALSE(machine.platform.BoardSupported);
        EXPECT_TRUE(machine.platform.TestPlatform);
    }
    // The flag means nothing on a supported board.
    Machine supported(productName(2917));
    supported.registry.writeString(kProductKey, kTestPlatformValue, "1");
    supported.init();
    EXPECT_FALSE(supported.platform.TestPlatform);
}

TEST(BoardCapabilities, ProcessorDoesNotDecideTheCpuVendor) {
    test::SmbiosIdentity identity;
    identity.baseboardProduct = productName(2917);
    identity.processorVersion = "AMD Phenom(tm) II X4 955 Processor";
    test::FakeFirmware firmware;
    firmware.table = test::identityTable(identity);
    PlatformInfo platform;
    IdentifyPlatform(firmware, platform);
    BoardOptions options;
    SettingVector defaults{};
    BoardInitHooks hooks;
    test::FakeRegisters chipset;
    InitBoardCapabilities(platform::MemoryRegistry{}, chipset, platform, options, defaults, hooks);
    EXPECT_EQ(platform.CpuVendor, "Intel");
}

// One option list checked at its ends, its default and wherever its formula changes piece.
struct ListExpectation {
    int board;
    Setting setting;
    std::size_t count;
    SettingValue defaultIndex;
    std::vector<std::pair<int, const char*>> texts;
    std::uint32_t cpuVoltageBaseRegister = 0;
};

std::vector<ListExpectation> listExpectations() {
    const std::vector<std::pair<int, const char*>> intelOffset = {
        {0, "-0.320 V"}, {15, "-0.020 V"}, {16, "+0.000 V"}, {17, "+0.010 V"}, {79, "+0.630 V"}};
    const std::vector<std::pair<int, const char*>> intelPll = {
        {0, "1.000 V"}, {12, "1.600 V"}, {16, "1.800 V"}, {17, "1.810 V"}, {79, "2.430 V"}};
    const std::vector<std::pair<int, const char*>> intelIch = {
        {0, "0.700 V"}, {16, "1.500 V"}, {17, "1.510 V"}, {79, "2.130 V"}};
    const std::vector<std::pair<int, const char*>> vrefCa = {
        {0, "1.150 V"}, {16, "0.750 V"}, {17, "0.745 V"}, {79, "0.435 V"}};
    const std::vector<std::pair<int, const char*>> vrefDa = {
        {0, "0.910 V"}, {16, "0.750 V"}, {17, "0.748 V"}, {79, "0.624 V"}};
    const std::vector<std::pair<int, const char*>> mchOffset = {
        {0, "0.780 V"}, {16, "1.100 V"}, {17, "1.110 V"}, {79, "1.730 V"}};
    const std::vector<std::pair<int, const char*>> mchSteps = {
        {0, "0.790 V"}, {31, "1.100 V"}, {158, "2.370 V"}};
    const std::vector<std::pair<int, const char*>> ddr = {
        {0, "1.190 V"}, {28, "1.470 V"}, {31, "1.500 V"}, {158, "2.770 V"}};
    const std::vector<std::pair<int, const char*>> cpu2902High = {
        {0, "1.007 V"},  {13, "1.278 V"}, {14, "1.298 V"}, {29, "1.337 V"},
        {30, "1.340 V"}, {64, "1.374 V"}, {65, "1.384 V"}, {124, "2.033 V"}};
    const std::vector<std::pair<int, const char*>> cpu2902Low = {
        {0, "0.907 V"},  {13, "1.178 V"}, {14, "1.198 V"}, {29, "1.237 V"},
        {30, "1.240 V"}, {64, "1.274 V"}, {65, "1.284 V"}, {124, "1.933 V"}};
    const std::vector<std::pair<int, const char*>> vtt2902 = {
        {0, "1.261 V"}, {1, "1.265 V"}, {11, "1.307 V"}, {12, "1.341 V"}, {20, "1.613 V"}};

    std::vector<ListExpectation> lists;
    for (const int board : {2918, 2917, 2916, 2915, 2910}) {
        lists.push_back({board, Setting::CpuVoltage, 80, 16, intelOffset});
        lists.push_back({board, Setting::VttFsbVoltage, 80, 16, intelOffset});
        lists.push_back({board, Setting::CpuPllVoltage, 80, 16, intelPll});
        lists.push_back({board, Setting::IchVoltage, 80, 16, intelIch});
        for (const auto setting : {Setting::DdrVrefCaA, Setting::DdrVrefCaB, Setting::DdrVrefCaC})
            lists.push_back({board, setting, 80, 16, vrefCa});
        for (const auto setting : {Setting::DdrVrefDaA, Setting::DdrVrefDaB, Setting::DdrVrefDaC})
            lists.push_back({board, setting, 80, 16, vrefDa});
    }
    for (const int board : {2917, 2910, 2915})
        lists.push_back({board, Setting::MchVoltage, 80, 16, mchOffset});
    for (const int board : {2918, 2916})
        lists.push_back({board, Setting::MchVoltage, 159, 31, mchSteps});
    for (const int board : {2917, 2910, 2916, 2915})
        lists.push_back({board, Setting::DdrVoltage, 159, 31, ddr});
    lists.push_back(
        {2918, Setting::DdrVoltage, 159, 31, {{0, "1.590 V"}, {31, "1.900 V"}, {158, "3.170 V"}}});

    lists.push_back({2911,
                     Setting::CpuVoltage,
                     80,
                     16,
                     {{0, "0.880 V"}, {15, "1.180 V"}, {16, "Auto"}, {17, "1.210 V"}, {79, "1.830 V"}}});
    lists.push_back({2911,
                     Setting::DdrVoltage,
                     159,
                     41,
                     {{0, "1.190 V"},
                      {30, "1.490 V"},
                      {31, "1.500 V"},
                      {40, "1.590 V"},
                      {41, "Auto"},
                      {42, "1.610 V"},
                      {158, "2.770 V"}}});
    lists.push_back({2911,
                     Setting::IchVoltage,
                     80,
                     16,
                     {{0, "0.400 V"}, {15, "1.150 V"}, {16, "Auto"}, {17, "1.210 V"}, {79, "1.830 V"}}});
    lists.push_back({2911,
                     Setting::MchVoltage,
                     72,
                     7,
                     {{0, "0.750 V"}, {6, "1.050 V"}, {7, "Auto"}, {8, "1.100 V"}, {71, "1.730 V"}}});

    for (const int board : {2902, 2905}) {
        lists.push_back({board, Setting::CpuVoltage, 125, 30, cpu2902High, 0x00000000});
        lists.push_back({board, Setting::CpuVoltage, 125, 30, cpu2902High, 0xFFFFFFFF}); // no such function
        lists.push_back({board, Setting::CpuVoltage, 125, 30, cpu2902High, 0x00002000});
        lists.push_back({board, Setting::CpuVoltage, 125, 30, cpu2902Low, 0x00001000});
        lists.push_back({board, Setting::CpuVoltage, 125, 30, cpu2902Low, 0xFFFFDFFF});
        lists.push_back({board, Setting::VttFsbVoltage, 21, 1, vtt2902});
        lists.push_back(
            {board, Setting::IchVoltage, 12, 0, {{0, "1.185 V"}, {3, "1.225 V"}, {11, "1.417 V"}}});
        lists.push_back(
            {board, Setting::MchVoltage, 15, 0, {{0, "1.075 V"}, {10, "1.314 V"}, {14, "1.405 V"}}});
        lists.push_back(
            {board, Setting::DdrVrefCaA, 12, 0, {{0, "1.177 V"}, {5, "1.292 V"}, {11, "1.454 V"}}});
        lists.push_back({board, Setting::DdrVoltage, 15, 0, {{0, "1.45 V"}, {3, "1.59 V"}, {14, "2.42 V"}}});
    }
    lists.push_back({2903, Setting::CpuPllVoltage, 13, 0, {{0, "Auto"}, {1, "1.131 V"}, {12, "1.381 V"}}});
    lists.push_back(
        {2903, Setting::DdrVoltage, 10, 2, {{0, "1.80 V"}, {2, "Auto"}, {3, "1.95 V"}, {9, "2.40 V"}}});
    lists.push_back({2903, Setting::MchVoltage, 11, 0, {{0, "Auto"}, {7, "1.386 V"}, {10, "1.462 V"}}});
    return lists;
}

TEST(BoardOptionLists, EveryListMatchesItsBoardToTheCharacter) {
    for (const auto& expected : listExpectations()) {
        Machine machine(productName(expected.board), expected.cpuVoltageBaseRegister);
        machine.init();
        const auto& list = machine.options[expected.setting];
        const auto what = std::to_string(expected.board) + " " +
                          std::string(SettingKeys[static_cast<std::size_t>(indexOf(expected.setting))].key);
        ASSERT_EQ(list.texts.size(), expected.count) << what;
        EXPECT_EQ(list.defaultIndex, expected.defaultIndex) << what;
        for (const auto& [index, text] : expected.texts)
            EXPECT_EQ(list.text(index), text) << what << " option " << index;
        EXPECT_TRUE(list.codes.empty() || list.codes.size() == expected.count) << what;
    }
}

TEST(BoardOptionLists, NoOptionOf2911MemoryReadsOnePointSix) {
    Machine machine(productName(2911));
    machine.init();
    for (const auto& text : machine.options[Setting::DdrVoltage].texts)
        EXPECT_NE(text, "1.600 V");
}

// Phases, fan and LED switches choose from fixed lists of their own, never from a voltage list.
TEST(BoardOptionLists, SettingsPastTheVoltageRowsHaveNoVoltageList) {
    Machine machine(productName(2917));
    machine.init();
    ASSERT_TRUE(machine.options[Setting::IchVoltage].exists());
    for (auto slot = kModeSettingCount; slot < kSettingSlots; ++slot) {
        const auto& list = machine.options[static_cast<Setting>(slot)];
        EXPECT_FALSE(list.exists()) << slot;
        EXPECT_EQ(list.defaultIndex, kNotPresent) << slot;
    }
}

TEST(BoardOptionLists, ListsOfTheSameKindShareTheirTexts) {
    Machine machine(productName(2917));
    machine.init();
    EXPECT_EQ(machine.options[Setting::CpuVoltage].texts, machine.options[Setting::VttFsbVoltage].texts);
    EXPECT_EQ(machine.options[Setting::DdrVrefCaA].texts, machine.options[Setting::DdrVrefCaC].texts);
    EXPECT_EQ(machine.options[Setting::DdrVrefDaB].texts, machine.options[Setting::DdrVrefDaC].texts);
    EXPECT_FALSE(machine.options[Setting::GtlRef1Voltage].exists());
    EXPECT_FALSE(machine.options[Setting::CpuPhase].exists());
    EXPECT_FALSE(machine.options[Setting::PcieSlotLed].exists());
    EXPECT_EQ(machine.options[Setting::CpuVoltage].text(80), "");
    EXPECT_EQ(machine.options[Setting::CpuVoltage].text(-1), "");
}

// On every board the Max vector selects a lower voltage than the default wherever the default
// exists and a lower option is in the list; it never leaves the list, and an absent setting stays
// absent.
TEST(BoardOptionLists, MaxModeNeverRaisesAVoltageOnAnyBoard) {
    int lowered = 0;
    for (int board = 2901; board <= 2918; ++board) {
        Machine machine(productName(board));
        machine.init();
        PowerModeState state;
        state.DefaultTargets = machine.defaults;
        deriveModeTargets(state, &machine.options);
        for (std::size_t slot = 0; slot < kModeSettingCount; ++slot) {
            const auto defaultIndex = state.DefaultTargets[slot];
            if (defaultIndex == kNotPresent) {
                EXPECT_EQ(state.MaxTargets[slot], kNotPresent) << board << " slot " << slot;
                EXPECT_EQ(state.OptimizeTargets[slot], kNotPresent) << board << " slot " << slot;
                continue;
            }
            const auto& list = machine.options.lists[slot];
            if (!list.exists())
                continue;
            const auto target = state.MaxTargets[slot];
            ASSERT_FALSE(list.text(target).empty()) << board << " slot " << slot << " index " << target;
            if (target == defaultIndex)
                continue;
            ++lowered;
            // "+0.000 V" and "-0.020 V" compare by value. A default of "Auto" is the board's own
            // voltage, which lies below the option after it.
            const auto volts = [&](SettingValue index) {
                return std::strtod(std::string(list.text(index)).c_str(), nullptr);
            };
            const bool automatic = list.text(defaultIndex) == "Auto";
            EXPECT_LT(volts(target), volts(automatic ? defaultIndex + 1 : defaultIndex))
                << board << " slot " << slot;
        }
    }
    EXPECT_GT(lowered, 60) << "the boards with regulator-programmed voltages are all lowered";

    // Every default of 2911 is "Auto": Max lowers all four voltages to these options.
    Machine machine(productName(2911));
    machine.init();
    PowerModeState state;
    state.DefaultTargets = machine.defaults;
    deriveModeTargets(state, &machine.options);
    const std::vector<std::tuple<Setting, SettingValue, std::string_view>> expected{
        {Setting::CpuVoltage, 15, "1.180 V"},
        {Setting::DdrVoltage, 38, "1.570 V"},
        {Setting::MchVoltage, 5, "1.000 V"},
        {Setting::IchVoltage, 13, "1.050 V"}};
    for (const auto& [setting, index, text] : expected) {
        const auto slot = static_cast<std::size_t>(setting);
        EXPECT_EQ(state.MaxTargets[slot], index) << indexOf(setting);
        EXPECT_EQ(machine.options.lists[slot].text(index), text) << indexOf(setting);
    }
}

TEST(PlatformReport, ShowsIdentificationAndEveryDefaultTarget) {
    Machine machine(productName(2915));
    machine.platform.OsKind = OsFlavour::Vista;
    machine.init();
    const auto text =
        formatPlatformReport(makePlatformReport(machine.platform, machine.options, machine.defaults));
    for (const char* line : {"Board string: KX-2915\n", "Board code: 2915\n", "Board model prefix: Elm-E2 \n",
                             "CPU vendor: Intel\n", "OsKind: 1\n", "BoardSupported: yes\n", "SensorKind: 0\n",
                             "MaxCpuPhases: 6\n", "FanCapable: yes\n", "Default targets:\n",
                             "  CPU_VOLTAGE: 16 (+0.000 V)\n", "  DDR_VOLTAGE: 31 (1.500 V)\n",
                             "  CPU_PHASE: 5\n", "  DDR_PHASE: 2\n", "  PCIE_SLOT_LED: 0\n", "  HD LED: 0\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
    EXPECT_EQ(text.find("GTL_REF1_VOLTAGE"), std::string::npos) << "settings the board lacks are left out";

    Machine unknown("Some Other Board");
    unknown.init();
    const auto report = makePlatformReport(unknown.platform, unknown.options, unknown.defaults);
    EXPECT_TRUE(report.defaultTargets.empty());
    const auto unknownText = formatPlatformReport(report);
    EXPECT_NE(unknownText.find("BoardSupported: no\n"), std::string::npos);
    EXPECT_NE(unknownText.find("OsKind: -1\n"), std::string::npos);
    EXPECT_NE(unknownText.find("Default targets: none\n"), std::string::npos);
}

} // namespace
} // namespace solvane::power
