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

using RegistryData = std::variant<std::string, std::uint32_t>;

// The in-memory registry: keys hold named values and sub-keys, and remember the spelling they
// were created with.
class RegistryTree {
public:
    struct Key {
        std::string name;
        std::map<std::string, RegistryData, CaseInsensitiveLess> values;
        std::map<std::string, std::unique_ptr<Key>, CaseInsensitiveLess> children;
    };

    RegistryTree();

    const Key* find(std::string_view path) const;
    Key* find(std::string_view path);
    Key& findOrCreate(std::string_view path);
    bool erase(std::string_view path);
    const Key& root() const { return *m_root; }
    bool empty() const;

private:
    std::unique_ptr<Key> m_root;
};

// Splits "A\\B\\C" into its names; empty names (doubled or edge backslashes) are dropped.
std::vector<std::string_view> splitKeyPath(std::string_view path);

} // namespace solvane::platform
