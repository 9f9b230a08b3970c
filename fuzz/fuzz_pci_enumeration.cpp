// Runs the PCI page's enumeration, header values and hex rows over a configuration space made of
// the input: which devices answer, what their 256 bytes hold (garbage, every register FF or 00,
// bridges whose bus numbers point back at their own bus), and whether a function answers the same
// way twice. Every row must stay well formed and address a function the enumeration may probe.
#include "sysinfo/PciDeviceReport.h"
#include "sysinfo/PciDeviceView.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using solvane::hw::Falwick;

// 40 bytes: one bit per device of buses 0 to 9 (every function of a device that answers answers;
// a shorter input has none);
// 1 byte of flags; then 256-byte configuration spaces shared out over the functions in turn.
class FuzzedBus final : public Falwick {
public:
    explicit FuzzedBus(std::span<const std::uint8_t> data) {
        if (data.size() >= kPresenceBytes) {
            m_presence = data.first(kPresenceBytes);
            data = data.subspan(kPresenceBytes);
        }
        if (!data.empty()) {
            m_flags = data.front();
            data = data.subspan(1);
        }
        m_spaces = data;
    }

    std::uint8_t Smbus_ByteRW(std::uint8_t, std::uint8_t, std::uint8_t) override { return 0xFF; }
    std::uint8_t BaseByte_RW(std::uint16_t, std::uint8_t, std::uint8_t) override { return 0xFF; }
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t, std::uint8_t readFlag) override {
        if (readFlag != kRead || device > 31 || function > 7 || reg % 4 != 0)
            std::abort(); // the page only ever reads whole registers of addressable functions
        ++m_reads;
        if (!answers(bus, device))
            return kNoDevice;
        std::uint32_t value = m_flags & kAllOnes ? kNoDevice : 0;
        const std::size_t spaces = m_spaces.size() / 256;
        if (spaces > 0) {
            const std::size_t index = (static_cast<std::size_t>(bus) << 8 | device << 3 | function) % spaces;
            const auto space = m_spaces.subspan(index * 256, 256);
            value = static_cast<std::uint32_t>(space[reg]) |
                    static_cast<std::uint32_t>(space[reg + 1U]) << 8 |
                    static_cast<std::uint32_t>(space[reg + 2U]) << 16 |
                    static_cast<std::uint32_t>(space[reg + 3U]) << 24;
        }
        // A function that answers garbage: another value on every read.
        if (m_flags & kUnstable)
            value ^= m_reads * 0x9E3779B9U;
        return value;
    }

private:
    static constexpr std::size_t kPresenceBytes = 40;
    static constexpr std::uint8_t kAllOnes = 1;
    static constexpr std::uint8_t kUnstable = 2;

    bool answers(std::uint8_t bus, std::uint8_t device) const {
        if (bus > 9)
            return m_flags & kAllOnes; // beyond the enumerated buses: only Apply reaches them
        const std::size_t bit = bus * 32U + device;
        return !m_presence.empty() && (m_presence[bit / 8] >> (bit % 8) & 1) != 0;
    }

    std::span<const std::uint8_t> m_presence;
    std::uint8_t m_flags = 0;
    std::span<const std::uint8_t> m_spaces;
    std::uint32_t m_reads = 0;
};

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::sysinfo;
    FuzzedBus bus({data, size});
    const auto scan = enumeratePci(bus);
    check(scan.devices.size() <= 10U * 32U * 8U);
    check(scan.facts.Ieee1394Bus >= 0 && scan.facts.Ieee1394Bus <= kLastEnumeratedBus);
    for (const auto& device : scan.devices) {
        const auto address = pciRowAddress(device.row);
        check(address && address->bus <= kLastEnumeratedBus && address->device <= 31 &&
              address->function <= 7);
        check(device.row.ends_with(';'));
    }
    // The header values of a handful of functions: each costs 64 reads, and the first ones are as
    // good as any.
    PciScan some = scan;
    some.devices.resize(std::min<std::size_t>(some.devices.size(), 8));
    for (const auto& report : pciDeviceReports(some, bus)) {
        check(!report.listView[0].empty() && report.listView[1].size() == 4);
        for (std::size_t index = 0; index < report.header.size(); ++index)
            check(report.header[index].starts_with("0x") && report.header[index].size() >= 4 &&
                  report.header[index].size() <= 8);
    }
    PciDeviceView view(scan, bus);
    // Apply reaches any number the entries can hold, also those the bus cannot carry.
    const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
    view.showFunction({pick, static_cast<std::uint8_t>(pick >> 2), static_cast<std::uint8_t>(pick >> 5)});
    for (const auto width : {PciHexWidth::Byte, PciHexWidth::Word, PciHexWidth::Dword}) {
        view.setWidth(width);
        const std::size_t length = width == PciHexWidth::Byte ? 48 : width == PciHexWidth::Word ? 40 : 36;
        for (const auto& row : view.hexRows())
            check(row.size() == length);
    }
    return 0;
}
