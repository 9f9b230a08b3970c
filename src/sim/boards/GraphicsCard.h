#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace solvane::sim {

enum class GraphicsVendor : std::uint8_t { Nvidia, Intel, Ati };

// Where a graphics controller sits on the PCI bus.
enum class GraphicsPlacement : std::uint8_t {
    Slot,            // an add-in card at device 0 of the board's graphics slot bus
    IntelIntegrated, // the chipset's own controller at 0:2.0
    AmdIntegrated,   // the chipset's own controller at 1:5.0, behind the chipset's internal bridge
};

// A graphics controller. Fields: vendor and the PCI ids; placement; secondFunction and its class
// (the card's function 1: HDMI audio or a second display function, 0 for none); name and
// driverVersion (what the operating system's management interface reports); signOn, the
// identification text of its legacy video BIOS with the maker's marker and version, at signOnOffset
// in an image of romSize bytes; watts, its draw from the 12 V rail.
struct GraphicsCard {
    GraphicsVendor vendor = GraphicsVendor::Nvidia;
    std::uint16_t vendorId = 0;
    std::uint16_t deviceId = 0;
    std::uint8_t revision = 0;
    GraphicsPlacement placement = GraphicsPlacement::Slot;
    std::uint16_t secondFunction = 0;
    std::uint32_t secondFunctionClass = 0;
    std::string_view name;
    std::string_view driverVersion;
    std::string_view signOn;
    std::uint16_t signOnOffset = 0;
    std::uint32_t romSize = 0;
    double watts = 0;
};

inline constexpr std::uint32_t kHdAudioClass = 0x040300;
inline constexpr std::uint32_t kOtherDisplayClass = 0x038000;

inline constexpr GraphicsCard kGeForceGtx260{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x05E2,
    0xA1,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce GTX 260",
    "6.14.11.8250",
    "Version 62.00.50.00.03 \r\nCopyright (C) 1996-2008 NVIDIA Corp.\r\nGT200 Board - p65101 \r\n",
    0x1A0,
    0xF000,
    45.0};
inline constexpr GraphicsCard kGeForce9800Gt{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x0614,
    0xA2,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce 9800 GT",
    "6.14.11.8122",
    "Version 62.92.7E.00.20 \r\nCopyright (C) 1996-2008 NVIDIA Corp.\r\nG92 Board - p39300 \r\n",
    0x1A0,
    0xE000,
    30.0};
inline constexpr GraphicsCard kGeForce9600Gt{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x0622,
    0xA1,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce 9600 GT",
    "6.14.11.8122",
    "Version 62.94.11.00.51 \r\nCopyright (C) 1996-2008 NVIDIA Corp.\r\nG94 Board - p54300 \r\n",
    0x1A0,
    0xE000,
    25.0};
inline constexpr GraphicsCard kGeForce9500Gt{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x0640,
    0xA1,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce 9500 GT",
    "6.14.11.7813",
    "Version 62.94.4C.00.51 \r\nCopyright (C) 1996-2008 NVIDIA Corp.\r\nG96 Board - p72600 \r\n",
    0x1A0,
    0xE000,
    18.0};
inline constexpr GraphicsCard kGeForce8800Gt{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x0611,
    0xA2,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce 8800 GT",
    "6.14.11.7813",
    "Version 62.92.16.00.10 \r\nCopyright (C) 1996-2007 NVIDIA Corp.\r\nG92 Board - p39300 \r\n",
    0x1A0,
    0xE000,
    40.0};
inline constexpr GraphicsCard kGeForce7600Gt{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x0391,
    0xA1,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce 7600 GT",
    "6.14.10.9371",
    "Version 5.73.22.29.00 \r\nCopyright (C) 1996-2006 NVIDIA Corp.\r\nG73 Board - p456h0 \r\n",
    0x1A0,
    0xD000,
    22.0};
inline constexpr GraphicsCard kGeForce7600Gs{
    GraphicsVendor::Nvidia,
    0x10DE,
    0x0392,
    0xA1,
    GraphicsPlacement::Slot,
    0,
    0,
    "NVIDIA GeForce 7600 GS",
    "6.14.10.9371",
    "Version 5.73.22.48.00 \r\nCopyright (C) 1996-2006 NVIDIA Corp.\r\nG73 Board - p451h1 \r\n",
    0x1A0,
    0xD000,
    20.0};
inline constexpr GraphicsCard kRadeonHd4870{GraphicsVendor::Ati,
                                            0x1002,
                                            0x9440,
                                            0x00,
                                            GraphicsPlacement::Slot,
                                            0xAA30,
                                            kHdAudioClass,
                                            "ATI Radeon HD 4870",
                                            "8.632.0.0",
                                            "ATOMBIOSBK-ATI VER011.011.000.000.031941",
                                            0x180,
                                            0xE000,
                                            50.0};
inline constexpr GraphicsCard kRadeonHd4850{GraphicsVendor::Ati,
                                            0x1002,
                                            0x9442,
                                            0x00,
                                            GraphicsPlacement::Slot,
                                            0xAA30,
                                            kHdAudioClass,
                                            "ATI Radeon HD 4850",
                                            "8.632.0.0",
                                            "ATOMBIOSBK-ATI VER011.007.000.001.030219",
                                            0x180,
                                            0xE000,
                                            40.0};
inline constexpr GraphicsCard kRadeonHd3870{GraphicsVendor::Ati,
                                            0x1002,
                                            0x9501,
                                            0x00,
                                            GraphicsPlacement::Slot,
                                            0xAA18,
                                            kHdAudioClass,
                                            "ATI Radeon HD 3870",
                                            "8.593.0.0",
                                            "ATOMBIOSBK-ATI VER010.071.000.001.028451",
                                            0x180,
                                            0xD000,
                                            30.0};
inline constexpr GraphicsCard kRadeonHd4670{GraphicsVendor::Ati,
                                            0x1002,
                                            0x9490,
                                            0x00,
                                            GraphicsPlacement::Slot,
                                            0xAA38,
                                            kHdAudioClass,
                                            "ATI Radeon HD 4670",
                                            "8.632.0.0",
                                            "ATOMBIOSBK-ATI VER011.015.000.000.031110",
                                            0x180,
                                            0xD000,
                                            20.0};
inline constexpr GraphicsCard kRadeonHd4250{GraphicsVendor::Ati,
                                            0x1002,
                                            0x9715,
                                            0x00,
                                            GraphicsPlacement::AmdIntegrated,
                                            0x970F,
                                            kHdAudioClass,
                                            "ATI Radeon HD 4200",
                                            "8.681.0.0",
                                            "ATOMBIOSBK-ATI VER011.029.000.019.032573",
                                            0x180,
                                            0xC000,
                                            0.0};
inline constexpr GraphicsCard kRadeonHd3200{GraphicsVendor::Ati,
                                            0x1002,
                                            0x9610,
                                            0x00,
                                            GraphicsPlacement::AmdIntegrated,
                                            0x960F,
                                            kHdAudioClass,
                                            "ATI Radeon HD 3200 Graphics",
                                            "8.593.0.0",
                                            "ATOMBIOSBK-ATI VER010.072.000.007.027891",
                                            0x180,
                                            0xC000,
                                            0.0};
inline constexpr GraphicsCard kIntelG41{GraphicsVendor::Intel,
                                        0x8086,
                                        0x2E32,
                                        0x03,
                                        GraphicsPlacement::IntelIntegrated,
                                        0x2E33,
                                        kOtherDisplayClass,
                                        "Intel(R) G41 Express Chipset",
                                        "6.14.10.5082",
                                        "Intel(R) G41/G43/G45/Q45 Express Chipset SVGA BIOS\r\nBuild Number: "
                                        "1874 PC 14.34  11/17/2009  11:08:24\r\n",
                                        0x120,
                                        0x10000,
                                        0.0};
inline constexpr GraphicsCard kIntelG43{GraphicsVendor::Intel,
                                        0x8086,
                                        0x2E22,
                                        0x03,
                                        GraphicsPlacement::IntelIntegrated,
                                        0x2E23,
                                        kOtherDisplayClass,
                                        "Intel(R) G43 Express Chipset",
                                        "6.14.10.5082",
                                        "Intel(R) G41/G43/G45/Q45 Express Chipset SVGA BIOS\r\nBuild Number: "
                                        "1786 PC 14.34  04/27/2009  17:13:20\r\n",
                                        0x120,
                                        0x10000,
                                        0.0};
inline constexpr GraphicsCard kIntelQ45{GraphicsVendor::Intel,
                                        0x8086,
                                        0x2E12,
                                        0x03,
                                        GraphicsPlacement::IntelIntegrated,
                                        0x2E13,
                                        kOtherDisplayClass,
                                        "Intel(R) Q45/Q43 Express Chipset",
                                        "6.14.10.5009",
                                        "Intel(R) G41/G43/G45/Q45 Express Chipset SVGA BIOS\r\nBuild Number: "
                                        "1747 PC 14.34  12/11/2008  09:21:07\r\n",
                                        0x120,
                                        0x10000,
                                        0.0};

// The card the graphics-vendor option puts on any board.
const GraphicsCard& optionCard(GraphicsVendor vendor);
// "nvidia", "intel", "ati" (or "amd"), in any case.
std::optional<GraphicsVendor> parseGraphicsVendor(std::string_view text);

} // namespace solvane::sim
