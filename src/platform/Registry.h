#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace solvane::platform {

// Every key is under HKEY_LOCAL_MACHINE and named by its path from there, with backslashes
// ("Software\\Tarvok\\SolvaneCenter"). Key and value names compare without regard to case.
// Strings are byte strings stored without a terminating zero.
class Registry {
public:
    // Reads go through a buffer of this many bytes, like the program's own reads: a string that
    // does not fit together with its terminating zero cannot be read.
    static constexpr std::size_t kReadBufferSize = 5001;

    virtual ~Registry() = default;

    virtual bool keyExists(std::string_view key) const = 0;
    virtual std::vector<std::string> subKeys(std::string_view key) const = 0;
    virtual std::optional<std::string> readString(std::string_view key, std::string_view name,
                                                  std::size_t bufferSize = kReadBufferSize) const = 0;
    virtual std::optional<std::uint32_t> readDword(std::string_view key, std::string_view name) const = 0;

    // Writes create missing keys on the way. They return false when the change could not be kept.
    virtual bool createKey(std::string_view key) = 0;
    virtual bool writeString(std::string_view key, std::string_view name, std::string_view text) = 0;
    virtual bool writeDword(std::string_view key, std::string_view name, std::uint32_t value) = 0;
    // Writes several DWORDs of one key as one change: after a crash either all or none are kept.
    virtual bool writeDwords(std::string_view key,
                             std::initializer_list<std::pair<std::string_view, std::uint32_t>> values) = 0;
    virtual bool deleteValue(std::string_view key, std::string_view name) = 0;
    // Deletes the key with everything below it.
    virtual bool deleteKey(std::string_view key) = 0;
};

} // namespace solvane::platform
