#include "host/GraphicsAdapter.h"

#include "host/SysfsFile.h"

#include <charconv>
#include <map>
#include <string_view>

namespace solvane::host {

namespace {

constexpr std::string_view kCardPrefix = "card";

// "card0" gives 0; connectors ("card0-HDMI-A-1") and render nodes give nothing.
std::optional<unsigned> cardNumber(const std::string& name) {
    if (!name.starts_with(kCardPrefix) || name.size() == kCardPrefix.size())
        return std::nullopt;
    unsigned number = 0;
    const char* begin = name.data() + kCardPrefix.size();
    const char* end = name.data() + name.size();
    const auto [last, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || last != end)
        return std::nullopt;
    return number;
}

// "0x8086" as sysfs writes PCI ids.
std::optional<std::uint16_t> readPciId(const std::filesystem::path& file) {
    const auto text = readSysfsText(file);
    if (!text || !text->starts_with("0x"))
        return std::nullopt;
    unsigned value = 0;
    const char* end = text->data() + text->size();
    const auto [last, error] = std::from_chars(text->data() + 2, end, value, 16);
    if (error != std::errc() || last != end || value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

GraphicsAdapter describe(const std::filesystem::path& sysfsRoot, const std::filesystem::path& device,
                         const PciDeviceNamer& nameOf) {
    GraphicsAdapter adapter;
    const std::string driver = sysfsLinkName(device / "driver").value_or("");
    const auto vendorId = readPciId(device / "vendor");
    const auto deviceId = readPciId(device / "device");
    adapter.name = vendorId && deviceId ? nameOf(*vendorId, *deviceId) : driver;
    const std::string module = sysfsLinkName(device / "driver" / "module").value_or(driver);
    const auto version =
        module.empty() ? std::nullopt : readSysfsText(sysfsRoot / "module" / module / "version");
    adapter.driverVersion = version && !version->empty() ? driver + " " + *version : driver;
    return adapter;
}

} // namespace

std::optional<GraphicsAdapter> findGraphicsAdapter(const std::filesystem::path& sysfsRoot,
                                                   const PciDeviceNamer& nameOf) {
    std::map<unsigned, std::filesystem::path> cards;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(sysfsRoot / "class" / "drm", error))
        if (const auto number = cardNumber(entry.path().filename().string()))
            cards.emplace(*number, entry.path() / "device");
    if (cards.empty())
        return std::nullopt;
    for (const auto& [number, device] : cards)
        if (readSysfsText(device / "boot_vga") == "1")
            return describe(sysfsRoot, device, nameOf);
    return describe(sysfsRoot, cards.begin()->second, nameOf);
}

} // namespace solvane::host
