#include "sysinfo/PciTables.h"

#include <gtest/gtest.h>

namespace solvane::sysinfo {
namespace {

TEST(PciTables, EveryVendorRowNamesItsVendor) {
    const std::pair<std::uint16_t, std::string_view> vendors[] = {
        {0x8086, "Intel"},         {0x10DE, "NVidia"},  {0x10EC, "RealTek"}, {0x1106, "VIA"},
        {0x1002, "ATI"},           {0x1039, "Sis"},     {0x1022, "AMD"},     {0x197B, "Jmicorn"},
        {0x1095, "Silicon Image"}, {0x1969, "Atheros"},
    };
    for (const auto& [id, name] : vendors)
        EXPECT_EQ(pciVendorText(id), name) << std::hex << id;
    EXPECT_EQ(pciVendorText(0x14E4), std::nullopt);
    EXPECT_EQ(pciVendorText(0x0000), std::nullopt);
    EXPECT_EQ(pciVendorText(0xFFFF), std::nullopt);
}

TEST(PciTables, ClassTextsKeepTheProgramsOwnSpelling) {
    const std::pair<std::uint16_t, std::string_view> classes[] = {
        {0x0100, "SCSI bus Controller"},
        {0x0180, "Other Mass Storage Controller"},
        {0x0280, "Other Network Controller"},
        {0x0300, "VGA-compatiable Controller"},
        {0x0480, "Other Multimedia Devicer"},
        {0x0580, "Other memory Controller"},
        {0x0600, "Host Bridge"},
        {0x0601, "ISA Bridge"},
        {0x0604, "PCI-to-PCI Bridge"},
        {0x0680, "Other Bridge Device"},
        {0x0800, "8259 PIC"},
        {0x0901, "Gigitizer"},
        {0x0A80, "Other Type of Docking Station"},
        {0x0B40, "Co-processor"},
        {0x0C00, "IEEE 1394"},
        {0x0C03, "USB Controller"},
        {0x0C05, "SMBUS"},
        {0x0D80, "Other Wireless Controller"},
        {0x0E00, "Intelligent I/O Controller"},
        {0x0F01, "TV"},
        {0x0F04, "Data"},
        {0x1000, "Network and Computing en/decryption"},
        {0x1010, "Entertainment en/decryption"},
        {0x1100, "DPIO Modules"},
    };
    for (const auto& [code, text] : classes)
        EXPECT_EQ(pciClassText(code), text) << std::hex << code;
}

TEST(PciTables, ClassesWithoutARowHaveNoText) {
    // Sub-classes the table leaves out, the unassigned 0x00 base class, and newer classes.
    for (const std::uint16_t code : {0x0C80, 0x0106, 0x0107, 0x0403, 0x0E80, 0x0F00, 0x1180, 0xFF00, 0x0000})
        EXPECT_EQ(pciClassText(code), std::nullopt) << std::hex << code;
}

TEST(PciTables, TheClassTableHasItsSeventySevenRows) {
    int rows = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code)
        rows += pciClassText(static_cast<std::uint16_t>(code)).has_value() ? 1 : 0;
    EXPECT_EQ(rows, 77);
}

TEST(PciTables, ChipNamesAreChosenByVendorThenDevice) {
    EXPECT_EQ(pciChipName(0x2E308086), "Eaglelake(G41)");
    EXPECT_EQ(pciChipName(0x34058086), "Tylersburg(x58)");
    EXPECT_EQ(pciChipName(0x27B88086), "82801GB(ICH7/R)");
    EXPECT_EQ(pciChipName(0x3A188086), "ICH10");
    EXPECT_EQ(pciChipName(0x05E210DE), "NVIDIA GeForce GTX 260");
    EXPECT_EQ(pciChipName(0x03E010DE), "MCP61D");
    EXPECT_EQ(pciChipName(0x064410DE), "NVIDIA GeForce 9500 GS");
    // ATI and AMD read one shared table.
    EXPECT_EQ(pciChipName(0x96001002), "760G");
    EXPECT_EQ(pciChipName(0x96001022), "760G");
    EXPECT_EQ(pciChipName(0x439D1022), "SB710");
    EXPECT_EQ(pciChipName(0x960F1002), "HDMI");
    // The host and ISA bridges of the RS690/SB600 chipset.
    EXPECT_EQ(pciChipName(0x79101002), "RS690");
    EXPECT_EQ(pciChipName(0x438D1002), "SB600");
}

TEST(PciTables, ChipNamesAreEmptyOutsideTheirTable) {
    EXPECT_EQ(pciChipName(0x2E301002), ""); // an Intel device ID under another vendor
    EXPECT_EQ(pciChipName(0x05E28086), ""); // an NVIDIA device ID under Intel
    EXPECT_EQ(pciChipName(0x816810EC), ""); // a vendor without a chip table
    EXPECT_EQ(pciChipName(0x12348086), ""); // a device without a row
    EXPECT_EQ(pciChipName(0xFFFFFFFF), "");
}

} // namespace
} // namespace solvane::sysinfo
