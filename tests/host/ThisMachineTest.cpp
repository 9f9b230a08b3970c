#include "host/HostHardware.h"
#include "support/ChildProcess.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <set>
#include <tuple>

namespace solvane::host {
namespace {

// bus, device, function, vendor, device id, class (base class and sub-class)
using PciFunction = std::tuple<unsigned, unsigned, unsigned, unsigned, unsigned, unsigned>;

// "00:1f.3 0c05: 8086:3a30 (rev 02)", with a "0000:" domain when the machine has several; functions
// of other domains are out of the libraries' reach and left out.
std::set<PciFunction> lspciFunctions(const std::string& output) {
    static const std::regex line(
        R"(^(?:([0-9a-f]{4,}):)?([0-9a-f]{2}):([0-9a-f]{2})\.([0-7]) ([0-9a-f]{4}): ([0-9a-f]{4}):([0-9a-f]{4}))");
    std::set<PciFunction> functions;
    std::istringstream lines(output);
    for (std::string text; std::getline(lines, text);) {
        std::smatch match;
        if (!std::regex_search(text, match, line) ||
            (match[1].matched && std::stoul(match[1], nullptr, 16) != 0))
            continue;
        const auto hex = [&match](int group) {
            return static_cast<unsigned>(std::stoul(match[group], nullptr, 16));
        };
        functions.emplace(hex(2), hex(3), hex(4), hex(6), hex(7), hex(5));
    }
    return functions;
}

std::set<PciFunction> hostFunctions(hw::Falwick& falwick) {
    std::set<PciFunction> functions;
    for (unsigned bus = 0; bus < 256; ++bus)
        for (unsigned device = 0; device < 32; ++device)
            for (unsigned function = 0; function < 8; ++function) {
                const auto b = static_cast<std::uint8_t>(bus);
                const auto d = static_cast<std::uint8_t>(device);
                const auto f = static_cast<std::uint8_t>(function);
                const std::uint32_t ids = falwick.PCI_RW(b, d, f, 0x00, 0, hw::Falwick::kRead);
                if (ids == hw::Falwick::kNoDevice)
                    continue;
                const std::uint32_t classRegister = falwick.PCI_RW(b, d, f, 0x08, 0, hw::Falwick::kRead);
                functions.emplace(bus, device, function, ids & 0xFFFF, ids >> 16, classRegister >> 16);
            }
    return functions;
}

TEST(ThisMachine, ListsTheSamePciFunctionsAsLspci) {
    if (solvane::test::shellOutput("command -v lspci").empty())
        GTEST_SKIP() << "lspci is not installed (Debian package pciutils)";
    const auto expected = lspciFunctions(solvane::test::shellOutput("lspci -n 2>/dev/null"));
    if (expected.empty())
        GTEST_SKIP() << "lspci lists no PCI function on this machine";
    auto host = createHostHardware({});
    EXPECT_EQ(hostFunctions(host->falwick()), expected);
    EXPECT_EQ(hostFunctions(createHostHardware({.sysfsRoot = {}, .pciIdsFile = {}})->falwick()), expected)
        << "an empty sysfs root is the machine's own";
}

TEST(ThisMachine, ServesTheFirmwareTableTheKernelShows) {
    const std::filesystem::path table = "/sys/firmware/dmi/tables/DMI";
    std::ifstream in(table, std::ios::binary);
    const std::vector<std::uint8_t> expected(std::istreambuf_iterator<char>(in), {});
    auto host = createHostHardware({});
    EXPECT_EQ(host->ostrel().GetDMILength(nullptr), expected.size());
    if (expected.empty())
        GTEST_SKIP() << table << " is missing or unreadable here; the host serves no table";
    std::vector<std::uint8_t> served(expected.size());
    ASSERT_TRUE(host->ostrel().GetDMIData(served.data(), static_cast<std::uint32_t>(served.size())));
    EXPECT_EQ(served, expected);
}

} // namespace
} // namespace solvane::host
