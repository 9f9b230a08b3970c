#pragma once

#include "platform/Registry.h"
#include "platform/RegistryKeyTree.h"

namespace solvane::platform {

// A registry held in memory. Subclasses decide where a change is kept (commit); the plain class
// keeps nothing beyond the process and serves as the test double.
class MemoryRegistry : public Registry {
public:
    MemoryRegistry() = default;
    explicit MemoryRegistry(RegistryKeyTree tree) : m_tree(std::move(tree)) {}

    bool keyExists(std::string_view key) const override;
    std::vector<std::string> subKeys(std::string_view key) const override;
    std::optional<std::string> readString(std::string_view key, std::string_view name,
                                          std::size_t bufferSize = kReadBufferSize) const override;
    std::optional<std::uint32_t> readDword(std::string_view key, std::string_view name) const override;

    bool createKey(std::string_view key) override;
    bool writeString(std::string_view key, std::string_view name, std::string_view text) override;
    bool writeDword(std::string_view key, std::string_view name, std::uint32_t value) override;
    bool writeDwords(std::string_view key,
                     std::initializer_list<std::pair<std::string_view, std::uint32_t>> values) override;
    bool deleteValue(std::string_view key, std::string_view name) override;
    bool deleteKey(std::string_view key) override;

    const RegistryKeyTree& tree() const { return m_tree; }

    // Test double: makes every later change fail as a full disk would.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

protected:
    RegistryKeyTree& mutableTree() { return m_tree; }
    virtual bool commit() { return true; }

private:
    bool change(auto&& apply);
    const RegistryData* findValue(std::string_view key, std::string_view name) const;

    RegistryKeyTree m_tree;
    bool m_readOnly = false;
};

} // namespace solvane::platform
