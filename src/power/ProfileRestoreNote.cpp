#include "power/ProfileRestoreNote.h"

#include <algorithm>

namespace solvane::power {

namespace {

// The set profiles as a registry list: ";" after every entry, the last one included.
std::string joinedList(const std::vector<std::string>& entries) {
    std::string text;
    for (const auto& entry : entries) {
        text += entry;
        text += ';';
    }
    return text;
}

std::vector<std::string> splitList(std::string_view text) {
    std::vector<std::string> entries;
    while (!text.empty()) {
        const auto end = text.find(';');
        if (end != 0)
            entries.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return entries;
}

} // namespace

bool ProfileRestoreNote::solvaneSet(std::string_view profile) const {
    return std::ranges::find(set, profile) != set.end();
}

std::optional<ProfileRestoreNote> ProfileRestoreNote::read(const platform::Registry& registry) {
    auto service = registry.readString(kProfileNoteKey, kProfileNoteServiceValue);
    auto before = registry.readString(kProfileNoteKey, kProfileNoteBeforeValue);
    if (!service || service->empty() || !before || before->empty())
        return std::nullopt;
    const auto set = registry.readString(kProfileNoteKey, kProfileNoteSetValue).value_or("");
    return ProfileRestoreNote{std::move(*service), std::move(*before), splitList(set)};
}

bool ProfileRestoreNote::write(platform::Registry& registry) const {
    return registry.writeString(kProfileNoteKey, kProfileNoteSetValue, joinedList(set)) &&
           registry.writeString(kProfileNoteKey, kProfileNoteBeforeValue, before) &&
           registry.writeString(kProfileNoteKey, kProfileNoteServiceValue, service);
}

bool ProfileRestoreNote::clear(platform::Registry& registry) {
    return !registry.keyExists(kProfileNoteKey) || registry.deleteKey(kProfileNoteKey);
}

} // namespace solvane::power
