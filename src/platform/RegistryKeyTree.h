#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace solvane::platform {

// Orders names the way the registry compares them: ASCII letters without regard to case.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view left, std::string_view right) const;
};

bool equalsIgnoringCase(std::string_view left, std::string_view right);

// A value of a type the program itself never reads or writes (binary, expandable or multiple
// strings, 64-bit numbers, …), kept with its type number and bytes so that it is saved as it came.
struct RawRegistryValue {
    unsigned type = 0;
    std::string bytes;
    friend bool operator==(const RawRegistryValue&, const RawRegistryValue&) = default;
};

using RegistryData = std::variant<std::string, std::uint32_t, RawRegistryValue>;

// The in-memory registry: keys hold named values and sub-keys, and remember the spelling they
// were created with.
class RegistryKeyTree {
public:
    struct Key {
        std::string name;
        std::map<std::string, RegistryData, CaseInsensitiveLess> values;
        std::map<std::string, std::unique_ptr<Key>, CaseInsensitiveLess> children;
    };

    // Real registries nest keys at most this deep.
    static constexpr std::size_t kMaxDepth = 512;

    RegistryKeyTree();
    ~RegistryKeyTree();
    RegistryKeyTree(RegistryKeyTree&& other) noexcept;
    RegistryKeyTree& operator=(RegistryKeyTree&& other) noexcept;

    const Key* find(std::string_view path) const;
    Key* find(std::string_view path);
    Key& findOrCreate(std::string_view path);
    // The root itself (the values directly under HKEY_LOCAL_MACHINE).
    Key& mutableRoot() { return *m_root; }
    bool erase(std::string_view path);
    const Key& root() const { return *m_root; }
    bool empty() const;

private:
    std::unique_ptr<Key> m_root;
};

// Frees a key and everything below it without recursion, however deep the keys nest.
void freeKeyTree(std::unique_ptr<RegistryKeyTree::Key> key);

// Splits "A\\B\\C" into its names; empty names (doubled or edge backslashes) are dropped.
std::vector<std::string_view> splitKeyPath(std::string_view path);

} // namespace solvane::platform
