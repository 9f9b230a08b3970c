#include "sysinfo/PciTables.h"

#include "hw/TextRow.h"

#include <array>
#include <span>

namespace solvane::sysinfo {

namespace {

// Vendors: vendor ID (four hexadecimal digits), the name the device list shows.
constexpr std::array<std::string_view, 10> kVendorRows{
    "0x8086;Intel;", "0x10DE;NVidia;", "0x10EC;RealTek;", "0x1106;VIA;",           "0x1002;ATI;",
    "0x1039;Sis;",   "0x1022;AMD;",    "0x197B;Jmicorn;", "0x1095;Silicon Image;", "0x1969;Atheros;",
};

// Classes: base class and sub-class (four hexadecimal digits), the class text of the device list,
// spelled as the program has always shown it.
constexpr std::array<std::string_view, 77> kClassRows{
    "0x0100;SCSI bus Controller;",
    "0x0101;IDE Controller;",
    "0x0102;Floppy disk Controller;",
    "0x0103;IPI Bus Controller;",
    "0x0104;RAID Controller;",
    "0x0180;Other Mass Storage Controller;",
    "0x0200;Ethernet Controller;",
    "0x0201;Token Ring Controller;",
    "0x0202;FDDI Controller;",
    "0x0203;ATM Controller;",
    "0x0204;ISDN Controller;",
    "0x0280;Other Network Controller;",
    "0x0300;VGA-compatiable Controller;",
    "0x0301;XGA Controller;",
    "0x0302;3D Controller;",
    "0x0380;Other Display Controller;",
    "0x0400;Video Device;",
    "0x0401;Audio Device;",
    "0x0402;Computer Telephony Device;",
    "0x0480;Other Multimedia Devicer;",
    "0x0500;RAM;",
    "0x0501;Flash;",
    "0x0580;Other memory Controller;",
    "0x0600;Host Bridge;",
    "0x0601;ISA Bridge;",
    "0x0602;EISA Bridge;",
    "0x0603;MCA Bridge;",
    "0x0604;PCI-to-PCI Bridge;",
    "0x0605;PCMCIA Bridge;",
    "0x0606;NuBus Bridge;",
    "0x0607;CardBus Bridge;",
    "0x0608;RACEway Bridge;",
    "0x0680;Other Bridge Device;",
    "0x0700;Serial Controller;",
    "0x0701;Parallel Controller;",
    "0x0702;Multiport Serial Controller;",
    "0x0703;Modem;",
    "0x0780;Other Communications Device;",
    "0x0800;8259 PIC;",
    "0x0801;8237 DMA Controller;",
    "0x0802;8254 System Timer;",
    "0x0803;RTC Controller;",
    "0x0804;PCI Hot-Plug Controller;",
    "0x0880;Other System Peripheral;",
    "0x0900;Keyboard Controller;",
    "0x0901;Gigitizer;",
    "0x0902;Mouse Controller;",
    "0x0903;Scanner Controller;",
    "0x0904;Gameport Controller;",
    "0x0980;Other Input Controller;",
    "0x0A00;Docking Station;",
    "0x0A80;Other Type of Docking Station;",
    "0x0B00;386;",
    "0x0B01;486;",
    "0x0B02;Pentium;",
    "0x0B10;Alpha;",
    "0x0B20;PowerPC;",
    "0x0B30;MIPS;",
    "0x0B40;Co-processor;",
    "0x0C00;IEEE 1394;",
    "0x0C01;ACCESS.Bus;",
    "0x0C02;SSA;",
    "0x0C03;USB Controller;",
    "0x0C04;Fibre Channel;",
    "0x0C05;SMBUS;",
    "0x0D00;iRDA Compatible Controller;",
    "0x0D01;Consumer IR Controller;",
    "0x0D10;RF Controller;",
    "0x0D80;Other Wireless Controller;",
    "0x0E00;Intelligent I/O Controller;",
    "0x0F01;TV;",
    "0x0F02;Audio;",
    "0x0F03;Voice;",
    "0x0F04;Data;",
    "0x1000;Network and Computing en/decryption;",
    "0x1010;Entertainment en/decryption;",
    "0x1100;DPIO Modules;",
};

// Chip names: device ID (four hexadecimal digits), the chip's name. One table per chip maker.
constexpr std::array<std::string_view, 10> kIntelChipRows{
    "0x2578;i875P;",          "0x3405;Tylersburg(x58);", "0x2E10;Eaglelake(Q45);",  "0x2E20;Eaglelake(G43);",
    "0x2E30;Eaglelake(G41);", "0x24D0;82801EB(ICH5);",   "0x27B8;82801GB(ICH7/R);", "0x3A16;ICH10R;",
    "0x3A14;ICH10DO;",        "0x3A18;ICH10;",
};

// ATI and AMD share one table.
constexpr std::array<std::string_view, 9> kAmdChipRows{
    "0x5956;790FX;", "0x9600;760G;", "0x5957;RD770;", "0x9601;RS880;", "0x5958;790X;",
    "0x439D;SB710;", "0x960F;HDMI;", "0x7910;RS690;", "0x438D;SB600;",
};

constexpr std::array<std::string_view, 49> kNvidiaChipRows{
    "0x0390;NVIDIA GeForce 7650 GS;",
    "0x0391;NVIDIA GeForce 7600 GT;",
    "0x0392;NVIDIA GeForce 7600 GS;",
    "0x0393;NVIDIA GeForce 7300 GT;",
    "0x0394;NVIDIA GeForce 7600 LE;",
    "0x0395;NVIDIA GeForce 7300 GT;",
    "0x0398;NVIDIA GeForce Go 7600;",
    "0x039C;NVIDIA Quadro FX 560M;",
    "0x039E;NVIDIA Quadro FX 560;",
    "0x0191;NVIDIA GeForce 8800 GTX;",
    "0x0193;NVIDIA GeForce 8800 GTS;",
    "0x0194;NVIDIA GeForce 8800 Ultra;",
    "0x0197;NVIDIA Tesla C870;",
    "0x019D;NVIDIA Quadro FX 5600;",
    "0x019E;NVIDIA Quadro FX 4600;",
    "0x0600;NVIDIA GeForce 8800 GTS 512;",
    "0x0602;NVIDIA GeForce 8800 GT;",
    "0x0604;NVIDIA GeForce 9800 GX2;",
    "0x0606;NVIDIA GeForce 8800 GS;",
    "0x060D;NVIDIA GeForce 8800 GS;",
    "0x0610;NVIDIA GeForce 9600 GSO;",
    "0x0611;NVIDIA GeForce 8800 GT;",
    "0x0612;NVIDIA GeForce 9800 GTX;",
    "0x0614;NVIDIA GeForce 9800 GT;",
    "0x0619;NVIDIA Quadro FX 4700 X2;",
    "0x061A;NVIDIA Quadro FX 3700;",
    "0x061B;NVIDIA Quadro FX 2700;",
    "0x061C;NVIDIA Quadro FX 3600M;",
    "0x0622;NVIDIA GeForce 9600 GT;",
    "0x0623;NVIDIA GeForce 9600 GS;",
    "0x0640;NVIDIA GeForce 9500 GT;",
    "0x0641;NVIDIA D9M-20;",
    "0x0642;NVIDIA D9M-10;",
    "0x0643;NVIDIA GeForce 9500 GT;",
    "0x0645;NVIDIA GeForce 9500 GS;",
    "0x0644;NVIDIA GeForce 9500 GS;",
    "0x0648;NVIDIA GeForce 9600M GS;",
    "0x065C;NVIDIA Quadro FX 770M;",
    "0x06E0;NVIDIA GeForce 9300 GE;",
    "0x06E1;NVIDIA GeForce 9300 GS;",
    "0x06E2;NVIDIA GeForce 8400;",
    "0x06E4;NVIDIA GeForce 8400 GS;",
    "0x06E9;NVIDIA GeForce 9300M GS;",
    "0x084C;NVIDIA nForce 780a SLI;",
    "0x084D;NVIDIA nForce 750a SLI;",
    "0x05E1;NVIDIA GeForce GTX 280;",
    "0x05E2;NVIDIA GeForce GTX 260;",
    "0x075D;MCP72P;",
    "0x03E0;MCP61D;",
};

// Which chip table a vendor ID selects.
struct ChipTable {
    std::uint16_t vendorId;
    std::span<const std::string_view> rows;
};
constexpr std::array<ChipTable, 4> kChipTables{{
    {0x8086, kIntelChipRows},
    {0x10DE, kNvidiaChipRows},
    {0x1002, kAmdChipRows},
    {0x1022, kAmdChipRows},
}};

constexpr std::size_t kCodeDigits = 4;

std::optional<std::string_view> lookUp(std::span<const std::string_view> rows, std::uint16_t code) {
    for (std::string_view row : rows) {
        const auto codeField = hw::takeRowField(row);
        const auto text = hw::takeRowField(row);
        if (codeField && text && hw::readHexCode(*codeField, kCodeDigits) == code)
            return text;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string_view> pciVendorText(std::uint16_t vendorId) {
    return lookUp(kVendorRows, vendorId);
}

std::optional<std::string_view> pciClassText(std::uint16_t classCode) {
    return lookUp(kClassRows, classCode);
}

std::string_view pciChipName(std::uint32_t register00) {
    const auto vendorId = static_cast<std::uint16_t>(register00 & 0xFFFF);
    const auto deviceId = static_cast<std::uint16_t>(register00 >> 16);
    for (const auto& table : kChipTables)
        if (table.vendorId == vendorId)
            return lookUp(table.rows, deviceId).value_or(std::string_view());
    return {};
}

} // namespace solvane::sysinfo
