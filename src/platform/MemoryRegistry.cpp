#include "platform/MemoryRegistry.h"

namespace solvane::platform {

bool MemoryRegistry::keyExists(std::string_view key) const {
    return m_tree.find(key) != nullptr;
}

std::vector<std::string> MemoryRegistry::subKeys(std::string_view key) const {
    std::vector<std::string> names;
    if (const auto* found = m_tree.find(key))
        for (const auto& [name, child] : found->children)
            names.push_back(child->name);
    return names;
}

const RegistryData* MemoryRegistry::findValue(std::string_view key, std::string_view name) const {
    const auto* found = m_tree.find(key);
    if (found == nullptr)
        return nullptr;
    const auto value = found->values.find(name);
    return value == found->values.end() ? nullptr : &value->second;
}

std::optional<std::string> MemoryRegistry::readString(std::string_view key, std::string_view name,
                                                      std::size_t bufferSize) const {
    const auto* value = findValue(key, name);
    const auto* text = value != nullptr ? std::get_if<std::string>(value) : nullptr;
    // The text and the zero the reader puts after it must fit the buffer.
    if (text == nullptr || text->size() + 1 > bufferSize)
        return std::nullopt;
    return *text;
}

std::optional<std::uint32_t> MemoryRegistry::readDword(std::string_view key, std::string_view name) const {
    const auto* value = findValue(key, name);
    if (const auto* number = value != nullptr ? std::get_if<std::uint32_t>(value) : nullptr)
        return *number;
    return std::nullopt;
}

bool MemoryRegistry::change(auto&& apply) {
    if (m_readOnly)
        return false;
    if (!apply())
        return false;
    return commit();
}

bool MemoryRegistry::createKey(std::string_view key) {
    return change([&] {
        m_tree.findOrCreate(key);
        return true;
    });
}

bool MemoryRegistry::writeString(std::string_view key, std::string_view name, std::string_view text) {
    return change([&] {
        m_tree.findOrCreate(key).values.insert_or_assign(std::string(name), std::string(text));
        return true;
    });
}

bool MemoryRegistry::writeDword(std::string_view key, std::string_view name, std::uint32_t value) {
    return change([&] {
        m_tree.findOrCreate(key).values.insert_or_assign(std::string(name), value);
        return true;
    });
}

bool MemoryRegistry::writeDwords(std::string_view key,
                                 std::initializer_list<std::pair<std::string_view, std::uint32_t>> values) {
    return change([&] {
        auto& found = m_tree.findOrCreate(key);
        for (const auto& [name, value] : values)
            found.values.insert_or_assign(std::string(name), value);
        return true;
    });
}

bool MemoryRegistry::deleteValue(std::string_view key, std::string_view name) {
    return change([&] {
        auto* found = m_tree.find(key);
        if (found == nullptr)
            return false;
        const auto value = found->values.find(name);
        if (value == found->values.end())
            return false;
        found->values.erase(value);
        return true;
    });
}

bool MemoryRegistry::deleteKey(std::string_view key) {
    return change([&] { return m_tree.erase(key); });
}

} // namespace solvane::platform
