#pragma once

#include "power/BoardCommands.h"
#include "power/PowerModeState.h"

#include <functional>
#include <utility>
#include <vector>

namespace solvane::tuning::test {

// Records every command with the setting it concerns and the value that setting held when it was
// sent, as the main window's routines would find them.
class RecordingCommands final : public power::BoardCommands {
public:
    struct Sent {
        power::BoardCommand command;
        int setting;
        power::SettingValue value;
        friend bool operator==(const Sent&, const Sent&) = default;
    };

    explicit RecordingCommands(power::PowerModeState& modes, const int* editIndex = nullptr)
        : m_modes(modes), m_editIndex(editIndex) {}

    void send(power::BoardCommand command) override {
        const int setting = command == power::BoardCommand::CheckAndWrite && m_editIndex != nullptr
                                ? *m_editIndex
                                : m_modes.PendingSettingIndex;
        const auto value = setting >= 0 ? m_modes.CurrentValues[static_cast<std::size_t>(setting)] : -1;
        sent.push_back({command, setting, value});
        if (onSend)
            onSend(command);
    }

    // The settings written with WriteSetting, with their values, in order.
    std::vector<std::pair<int, power::SettingValue>> writes() const {
        std::vector<std::pair<int, power::SettingValue>> result;
        for (const auto& entry : sent)
            if (entry.command == power::BoardCommand::WriteSetting)
                result.emplace_back(entry.setting, entry.value);
        return result;
    }

    std::vector<Sent> sent;
    std::function<void(power::BoardCommand)> onSend;

private:
    power::PowerModeState& m_modes;
    const int* m_editIndex;
};

} // namespace solvane::tuning::test
