#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace solvane::host {

// The display adapter as the graphics pages want it: a name and a driver version.
struct GraphicsAdapter {
    std::string name; // "Intel Corporation HD Graphics 530"; the driver name for a non-PCI adapter
    std::string
        driverVersion; // "nvidia 535.129.03", or the driver's name alone when its module has no version
};

using PciDeviceNamer = std::function<std::string(std::uint16_t vendorId, std::uint16_t deviceId)>;

// The adapter of the cards the kernel's DRM subsystem lists under <sysfs>/class/drm ("card0"): the
// one firmware booted on ("boot_vga" 1) when marked, else the lowest card number. Empty when there
// is no card.
std::optional<GraphicsAdapter> findGraphicsAdapter(const std::filesystem::path& sysfsRoot,
                                                   const PciDeviceNamer& nameOf);

} // namespace solvane::host
