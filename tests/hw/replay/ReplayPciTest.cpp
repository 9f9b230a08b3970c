#include "hw/replay/ReplayPci.h"

#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <tuple>

namespace solvane::hw {
namespace {

using FunctionIds =
    std::tuple<std::uint32_t, int, int, int, int, int, int>; // domain, bus, dev, fn, class, vendor, device

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// "0001:62:00.0 VGA compatible controller [0300]: Matrox ... [102b:0525] (rev 85)": the class is the
// first "[cccc]: " and the ids the last "[vvvv:dddd]" of the line.
std::vector<FunctionIds> expectedFunctions(const std::filesystem::path& lspciNn) {
    static const std::regex address(R"(^(?:([0-9a-f]{4}):)?([0-9a-f]{2}):([0-9a-f]{2})\.([0-7]) )");
    static const std::regex classCode(R"(\[([0-9a-f]{4})\]: )");
    static const std::regex ids(R"(\[([0-9a-f]{4}):([0-9a-f]{4})\])");
    std::vector<FunctionIds> functions;
    std::istringstream lines(readText(lspciNn));
    for (std::string line; std::getline(lines, line);) {
        std::smatch where;
        std::smatch kind;
        if (!std::regex_search(line, where, address) || !std::regex_search(line, kind, classCode))
            continue;
        std::smatch lastIds;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), ids); it != std::sregex_iterator();
             ++it)
            lastIds = *it;
        const auto hex = [](const std::string& text) { return std::stoi(text, nullptr, 16); };
        functions.emplace_back(where[1].matched ? static_cast<std::uint32_t>(hex(where[1])) : 0U,
                               hex(where[2]), hex(where[3]), hex(where[4]), hex(kind[1]), hex(lastIds[1]),
                               hex(lastIds[2]));
    }
    return functions;
}

std::vector<FunctionIds> idsOf(const std::vector<PciDumpFunction>& functions) {
    std::vector<FunctionIds> ids;
    for (const auto& f : functions)
        ids.emplace_back(f.domain, f.bus, f.device, f.function, f.classCode(), f.vendorId(), f.deviceId());
    return ids;
}

TEST(ReplayPci, RealDumpsGiveTheFunctionsAndIdsLspciShows) {
    const auto realData = test::realDataFolder();
    int dumps = 0;
    for (const auto& entry : std::filesystem::directory_iterator(realData / "pci" / "dumps")) {
        SCOPED_TRACE(entry.path().filename().string());
        const auto parsed = parsePciDump(readText(entry.path()));
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        const auto expected = expectedFunctions(realData / "pci" / "expected" /
                                                (entry.path().stem().string() + ".lspci-nn.txt"));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(idsOf(parsed.value()), expected);
        for (const auto& function : parsed.value())
            EXPECT_TRUE(function.config.size() == 64 || function.config.size() == 256 ||
                        function.config.size() == 4096)
                << function.config.size();
        ++dumps;
    }
    EXPECT_EQ(dumps, 5);
}

TEST(ReplayPci, KeepsEveryDumpedByteInPlace) {
    const auto realData = test::realDataFolder();
    const auto parsed = parsePciDump(readText(realData / "pci" / "dumps" / "pciutils__tree-fsl-p2020.txt"));
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const auto& bridge = parsed.value().front();
    ASSERT_EQ(bridge.config.size(), 4096U);
    // "100: 01 00 01 00 00 00 00 00 00 00 00 00 10 20 06 00" opens the extended space.
    EXPECT_EQ(bridge.config[0x100], 0x01);
    EXPECT_EQ(bridge.config[0x10C], 0x10);
    EXPECT_EQ(bridge.config[0x10E], 0x06);
    EXPECT_EQ(bridge.config[0x08], 0x21); // the revision lspci shows as "(rev 21)"
}

std::string row(unsigned offset, const std::string& bytes) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, offset < 0x100 ? "%02x: " : "%03x: ", offset);
    return prefix + bytes + "\n";
}

// A function header and 64 bytes: vendor 8086, device 2e30, class 0600.
std::string smallFunction(const std::string& header) {
    std::string text = header + "\n";
    text += row(0x00, "86 80 30 2e 06 00 90 20 03 00 00 06 00 00 00 00");
    for (unsigned offset = 0x10; offset < 0x40; offset += 0x10)
        text += row(offset, "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    return text;
}

TEST(ReplayPci, AcceptsDetailLinesDomainsAndWindowsLineEnds) {
    std::string text = smallFunction("00:00.0 Host bridge: Intel Corporation Device 2e30 (rev 03)");
    text += "\tSubsystem: Device 1458:5000\n\tFlags: bus master, fast devsel, latency 0\n\n";
    text += smallFunction("0001:3a:1f.7 Host bridge");
    text = std::regex_replace(text, std::regex("\n"), "\r\n");
    const auto parsed = parsePciDump(text);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    ASSERT_EQ(parsed.value().size(), 2U);
    EXPECT_EQ(idsOf(parsed.value())[1], FunctionIds(1, 0x3a, 0x1f, 7, 0x0600, 0x8086, 0x2e30));
}

struct MalformedPci {
    const char* what;
    std::string text;
    const char* message; // part of the error
};

TEST(ReplayPci, RefusesMalformedDumpsNamingTheLine) {
    const std::string good = smallFunction("00:00.0 Host bridge");
    const std::string zeros = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
    const MalformedPci cases[] = {
        {"empty", "", "no PCI function found"},
        {"plain lspci", "00:00.0 Host bridge\n00:01.0 PCI bridge\n", "line 2: function 0000:00:00.0 has no"},
        {"bytes first", row(0, zeros) + good, "line 1: configuration bytes before any function"},
        {"row skipped", "00:00.0 X\n" + row(0, zeros) + row(0x20, zeros),
         "line 3: expected the row at offset 0x10"},
        {"short row", "00:00.0 X\n" + row(0, "00 11 22"), "line 2: a configuration row holds 3 bytes"},
        {"bad byte", "00:00.0 X\n" + row(0, "00 11 22 33 44 55 66 77 88 99 aa bb cc dd ee zz"),
         "line 2: 'zz' is not a hexadecimal byte"},
        {"listed twice", good + good, "line 6: function 0000:00:00.0 is listed twice"},
        {"device out of range", smallFunction("00:20.0 X"),
         "line 1: function address '00:20.0' is out of range"},
        {"function out of range", smallFunction("00:1f.8 X"), "out of range"},
        {"too few bytes", "00:00.0 X\n" + row(0, zeros) + row(0x10, zeros),
         "at the end: function 0000:00:00.0 has only 32"},
        {"stray text", good + "Segmentation fault\n",
         "line 6: not a line of lspci -x output: 'Segmentation fault'"},
        {"binary",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0",
                     9),
         "line 1: not a line of lspci -x output: '"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto parsed = parsePciDump(c.text);
        ASSERT_FALSE(parsed.ok());
        EXPECT_NE(parsed.error().find(c.message), std::string::npos) << parsed.error();
    }
}

TEST(ReplayPci, RefusesRowsBeyondTheExtendedSpace) {
    std::string text = "00:00.0 X\n";
    for (unsigned offset = 0; offset <= 0x1000; offset += 0x10)
        text += row(offset, "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    const auto parsed = parsePciDump(text);
    ASSERT_FALSE(parsed.ok());
    EXPECT_NE(parsed.error().find("line 258: not a line of lspci -x output: '1000: 00"), std::string::npos)
        << parsed.error();
}

} // namespace
} // namespace solvane::hw
