#include "power/ModeTargets.h"

#include "platform/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

// Records the commands sent to the main window together with the index they carried.
class RecordingCommands final : public BoardCommands {
public:
    explicit RecordingCommands(const PowerModeState& state) : m_state(state) {}
    void send(BoardCommand command) override {
        sent.push_back(
            {command, command == BoardCommand::ReadBack ? m_state.ReadRequest : m_state.PendingSettingIndex});
    }
    std::vector<std::pair<BoardCommand, int>> sent;

private:
    const PowerModeState& m_state;
};

SettingValue at(const SettingVector& vector, Setting setting) {
    return vector[static_cast<std::size_t>(indexOf(setting))];
}

PowerModeState stateWithDefaults() {
    PowerModeState state;
    for (std::size_t i = 0; i < kModeSettingCount; ++i)
        state.DefaultTargets[i] = 10 + static_cast<SettingValue>(i);
    state.DefaultTargets[indexOf(Setting::SmartFan)] = 0;
    state.DefaultTargets[indexOf(Setting::CpuPhase)] = 3;
    state.DefaultTargets[indexOf(Setting::DdrVoltage)] = kNotPresent;
    state.DefaultTargets[indexOf(Setting::MchPhase)] = kNotPresent;
    return state;
}

TEST(ModeTargets, OptimizeHasAutomaticPhasesAndSmartFanAndMaxLowersTheVoltages) {
    auto state = stateWithDefaults();
    deriveModeTargets(state);
    const auto& optimize = state.OptimizeTargets;
    const auto& max = state.MaxTargets;
    EXPECT_EQ(at(optimize, Setting::CpuVoltage), 10);
    EXPECT_EQ(at(optimize, Setting::SmartFan), 1);
    EXPECT_EQ(at(optimize, Setting::CpuPhase), 0);
    EXPECT_EQ(at(optimize, Setting::CpuVttdPhase), 0);
    EXPECT_EQ(at(optimize, Setting::DdrPhase), 0);

    const std::vector<std::pair<Setting, int>> offsets{
        {Setting::CpuVoltage, -1},     {Setting::VttFsbVoltage, -1},  {Setting::CpuPllVoltage, -4},
        {Setting::GtlRef1Voltage, -4}, {Setting::GtlRef2Voltage, -4}, {Setting::DdrVrefCaA, 4},
        {Setting::DdrVrefCaB, 4},      {Setting::DdrVrefCaC, 4},      {Setting::DdrVrefDaA, 4},
        {Setting::DdrVrefDaB, 4},      {Setting::DdrVrefDaC, 4},      {Setting::MchVoltage, -2},
        {Setting::NbGtlRef, -2},       {Setting::IchVoltage, -3}};
    for (const auto& [setting, offset] : offsets)
        EXPECT_EQ(at(max, setting), at(state.DefaultTargets, setting) + offset) << indexOf(setting);
    EXPECT_EQ(at(max, Setting::SmartFan), 1);
    EXPECT_EQ(at(max, Setting::CpuPhase), 0);

    // A setting the board lacks stays absent in every vector.
    EXPECT_EQ(at(optimize, Setting::DdrVoltage), kNotPresent);
    EXPECT_EQ(at(max, Setting::DdrVoltage), kNotPresent);
    EXPECT_EQ(at(max, Setting::MchPhase), kNotPresent);
    // LEDs take no part in modes.
    EXPECT_EQ(at(max, Setting::AllLed), kNotPresent);
}

TEST(ModeTargets, DefaultSettingHoldsExactlyTwentyFields) {
    SettingVector vector = notPresentVector();
    vector[0] = 5;
    vector[1] = 12;
    vector[25] = 1;
    EXPECT_EQ(formatDefaultSetting(vector), "5;12;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;");
}

TEST(ModeTargets, ApplyWritesOnlyWhatDiffersAndNeverAnAbsentTarget) {
    auto state = stateWithDefaults();
    deriveModeTargets(state);
    state.CurrentValues = state.DefaultTargets;
    state.CurrentValues[indexOf(Setting::DdrVoltage)] = 4; // read back, but no target
    RecordingCommands commands(state);

    ApplyTargets(state, commands, state.MaxTargets);
    std::vector<int> written;
    for (const auto& [command, index] : commands.sent) {
        EXPECT_EQ(command, BoardCommand::WriteSetting);
        written.push_back(index);
    }
    EXPECT_EQ(written, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 19}));
    EXPECT_EQ(at(state.CurrentValues, Setting::DdrVoltage), 4);

    commands.sent.clear();
    ApplyTargets(state, commands, state.MaxTargets);
    EXPECT_TRUE(commands.sent.empty()) << "applying a mode twice writes nothing the second time";
}

TEST(ModeTargets, TheActiveModeKeepsItsVectorUnderItsKey) {
    auto state = stateWithDefaults();
    deriveModeTargets(state);
    platform::MemoryRegistry registry;
    SaveModeSettings(state, registry);
    EXPECT_FALSE(registry.keyExists(kProductKey)) << "no mode, nothing written";
    state.selectMode(PowerMode::Max);
    SaveModeSettings(state, registry);
    EXPECT_EQ(registry.readString(kMaxModeKey, "DefaultSetting"), formatDefaultSetting(state.MaxTargets));
    EXPECT_EQ(state.ActiveModeKey, "Software\\Tarvok\\SolvaneCenter\\Max");
}

TEST(ModeTargets, ReadAndWriteRequestsCarryTheirArgument) {
    PowerModeState state;
    RecordingCommands commands(state);
    ReadSetting(state, commands, kReadAllSettings);
    WriteSetting(state, commands, 7);
    EXPECT_EQ(commands.sent, (std::vector<std::pair<BoardCommand, int>>{{BoardCommand::ReadBack, 99},
                                                                        {BoardCommand::WriteSetting, 7}}));
}

} // namespace
} // namespace solvane::power
