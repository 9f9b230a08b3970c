#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace solvane::host {

// Reading sysfs attributes. Every failure (missing file, no permission, a driver refusing the read)
// gives empty: on the host a part that cannot be read is simply absent.

// The first line of a text attribute without surrounding blanks ("0x8086", "ee1004").
std::optional<std::string> readSysfsText(const std::filesystem::path& file);

// At most maximumBytes of a binary attribute (config, eeprom, DMI).
std::optional<std::vector<std::uint8_t>> readSysfsBytes(const std::filesystem::path& file,
                                                        std::size_t maximumBytes);

// The last component of a symbolic link's target ("i915" for device/driver); empty when the path
// is no link.
std::optional<std::string> sysfsLinkName(const std::filesystem::path& link);

} // namespace solvane::host
