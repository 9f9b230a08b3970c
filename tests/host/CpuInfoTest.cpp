#include "host/CpuInfo.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

std::string cpuinfo(unsigned processors, const char* vendor, unsigned family, unsigned model,
                    unsigned stepping) {
    std::string text;
    for (unsigned number = 0; number < processors; ++number)
        text += "processor\t: " + std::to_string(number) + "\nvendor_id\t: " + vendor +
                "\ncpu family\t: " + std::to_string(family) + "\nmodel\t\t: " + std::to_string(model) +
                "\nmodel name\t: Processor " + std::to_string(number) +
                "\nstepping\t: " + std::to_string(stepping) + "\nflags\t\t: fpu tsc sse2\n\n";
    return text;
}

TEST(CpuInfo, TheSignatureCarriesTheExtendedFieldsAsCpuidDoes) {
    struct Case {
        const char* vendor;
        unsigned family, model, stepping, signature;
    };
    const Case cases[] = {
        {"AuthenticAMD", 25, 33, 0, 0x00A20F10},  // family above 15: the excess in the extended family
        {"GenuineIntel", 6, 158, 10, 0x000906EA}, // family 6: the model's high nibble apart
        {"GenuineIntel", 15, 2, 9, 0x00000F29},
        {"AuthenticAMD", 15, 107, 2, 0x00060FB2}, // family 15 also splits the model
        {"GenuineIntel", 5, 2, 12, 0x0000052C},
    };
    for (const auto& expected : cases) {
        const auto info =
            parseCpuInfo(cpuinfo(1, expected.vendor, expected.family, expected.model, expected.stepping));
        EXPECT_EQ(info.signature(), expected.signature) << expected.family << " " << expected.model;
    }
}

TEST(CpuInfo, CountsEveryProcessorAndDescribesTheFirst) {
    const auto info = parseCpuInfo(cpuinfo(6, "GenuineIntel", 6, 60, 3));
    EXPECT_EQ(info.processors, 6U);
    EXPECT_EQ(info.modelName, "Processor 0");
    EXPECT_EQ(info.vendor, "GenuineIntel");
    EXPECT_EQ(info.features, 1U << 0 | 1U << 4 | 1U << 26);

    // An architecture whose cpuinfo has processors but no x86 fields gives no signature.
    const auto other = parseCpuInfo("processor\t: 0\nBogoMIPS\t: 108.00\n\nprocessor\t: 1\n");
    EXPECT_EQ(other.processors, 2U);
    EXPECT_FALSE(other.signature());
    EXPECT_EQ(parseCpuInfo("").processors, 0U);
}

} // namespace
} // namespace solvane::host
