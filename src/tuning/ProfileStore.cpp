#include "tuning/ProfileStore.h"

#include "platform/AsciiCase.h"
#include "tuning/ProfileText.h"

#include <array>

namespace solvane::tuning {

namespace {

// Values of the stores' keys that belong to the program: a profile of that name would replace them.
constexpr std::array<std::string_view, 2> kReservedNames{kSavedSettingsValue, power::kDefaultSettingValue};

bool hasEdgeBlank(std::string_view name) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    };
    return blank(name.front()) || blank(name.back());
}

} // namespace

std::string sameSettingMessage(std::string_view name) {
    return "Same setting as \"" + std::string(name) + "\".";
}

std::string deleteQuestion(std::string_view name) {
    return "Are you sure to delete \"" + std::string(name) + "\" setting ?";
}

ProfileStore::ProfileStore(platform::Registry& registry, const ProfileKind& kind,
                           power::PowerModeState& modes, power::BoardCommands& commands)
    : m_registry(registry), m_kind(kind), m_modes(modes), m_commands(commands) {}

std::string readStoreValue(const platform::Registry& registry, std::string_view key, std::string_view name) {
    if (key.empty())
        return {};
    auto text = registry.readString(key, name).value_or(std::string());
    // The text ends at its first NUL, as a C string read from the buffer would.
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

std::vector<std::string> savedProfileNames(const platform::Registry& registry, std::string_view key) {
    auto names = listEntries(readStoreValue(registry, key, kSavedSettingsValue));
    std::erase_if(names, [](const std::string& name) { return name.empty(); });
    return names;
}

std::string ProfileStore::read(std::string_view name) const {
    return readStoreValue(m_registry, key(), name);
}

std::string ProfileStore::savedList() const {
    return read(kSavedSettingsValue);
}

std::vector<std::string> ProfileStore::names() const {
    return listEntries(savedList());
}

std::string ProfileStore::settingsOf(std::string_view name) const {
    return read(name);
}

std::string ProfileStore::currentSettings() const {
    std::string text;
    for (int i = m_kind.firstSetting; i < m_kind.firstSetting + m_kind.settingCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        const bool missing =
            m_kind.storeAbsentAsMissing && m_modes.DefaultTargets[slot] == power::kNotPresent;
        text += std::to_string(missing ? power::kNotPresent : m_modes.CurrentValues[slot]) + ";";
    }
    return text;
}

void ProfileStore::apply(std::string_view text) {
    const auto values = parseSettings(text, m_kind.settingCount);
    for (int offset = 0; offset < m_kind.settingCount; ++offset) {
        const int index = m_kind.firstSetting + offset;
        m_modes.PendingSettingIndex = index;
        const auto value = values[static_cast<std::size_t>(offset)];
        auto& current = m_modes.CurrentValues[static_cast<std::size_t>(index)];
        if (!value || *value < 0 || *value == current)
            continue;
        current = *value;
        m_commands.send(power::BoardCommand::WriteSetting);
    }
}

void ProfileStore::loadDefaults() {
    switch (m_kind.defaults) {
    case ProfileKind::Defaults::ModeVector:
        apply(read(power::kDefaultSettingValue));
        return;
    case ProfileKind::Defaults::AllLedsOn: {
        const int allLed = power::indexOf(power::Setting::AllLed);
        m_modes.PendingSettingIndex = allLed;
        m_modes.CurrentValues[static_cast<std::size_t>(allLed)] = 0;
        m_commands.send(power::BoardCommand::WriteSetting);
        return;
    }
    }
}

std::optional<SaveRefusal> ProfileStore::refusal(std::string_view name, const std::string& list,
                                                 const std::string& settings) const {
    const auto text = [](std::string_view view) { return std::string(view); };
    if (name.empty())
        return SaveRefusal{text(kNoNameMessage), text(kNoNameCaption)};
    // The list format keeps neither a ";" inside a name nor blanks at its ends.
    if (name.find(';') != std::string_view::npos || name.find('\0') != std::string_view::npos ||
        hasEdgeBlank(name))
        return SaveRefusal{text(kUnusableNameMessage), text(kUnusableNameCaption)};
    for (const auto reserved : kReservedNames)
        if (platform::lowerAscii(name) == platform::lowerAscii(reserved))
            return SaveRefusal{text(kReservedNameMessage), text(kUnusableNameCaption)};
    if (listHoldsName(list, name))
        return SaveRefusal{text(kDuplicateNameMessage), text(kDuplicateNameCaption)};
    for (const auto& existing : listEntries(list))
        if (read(existing) == settings)
            return SaveRefusal{sameSettingMessage(existing), text(kDuplicateSettingCaption)};
    // A list that no longer fits the read buffer would read back as empty: every name would be lost.
    if (list.size() + name.size() + 1 >= platform::Registry::kReadBufferSize)
        return SaveRefusal{text(kListFullMessage), text(kListFullCaption)};
    return std::nullopt;
}

std::optional<SaveRefusal> ProfileStore::save(std::string_view name) {
    const auto list = savedList();
    const auto settings = currentSettings();
    if (auto refused = refusal(name, list, settings))
        return refused;
    const auto storeKey = key();
    if (storeKey.empty())
        return std::nullopt;
    m_registry.writeString(storeKey, kSavedSettingsValue, list + std::string(name) + ";");
    m_registry.writeString(storeKey, name, settings);
    return std::nullopt;
}

void ProfileStore::remove(std::string_view name) {
    const auto storeKey = key();
    if (storeKey.empty())
        return;
    m_registry.deleteValue(storeKey, name);
    const auto list = withoutEntry(savedList(), name);
    if (list.empty())
        m_registry.deleteValue(storeKey, kSavedSettingsValue);
    else
        m_registry.writeString(storeKey, kSavedSettingsValue, list);
}

} // namespace solvane::tuning
