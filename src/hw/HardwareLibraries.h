#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace solvane::hw {

// Contracts of the hardware-access libraries the program is linked with. Reads pass 0 as data;
// results are bytes unless said otherwise. Each hardware back-end (simulated board, host)
// implements them.

// SMBus access of Hoblin.dll. Devices are named by their 8-bit address: an odd address reads the
// register, an even one writes data to it.
class Hoblin {
public:
    virtual ~Hoblin() = default;
    // Non-zero when the library is ready.
    virtual int LoadNTHoblin() = 0;
    virtual void UnloadNTHoblin() = 0;
    virtual std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) = 0;
};

// Falwick.dll: a second SMBus path, I/O ports and PCI configuration space.
class Falwick {
public:
    static constexpr std::uint32_t kNoDevice = 0xFFFFFFFF;
    static constexpr std::uint8_t kRead = 1;
    static constexpr std::uint8_t kWrite = 0;

    virtual ~Falwick() = default;
    virtual std::uint8_t Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) = 0;
    virtual std::uint8_t BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) = 0;
    // A 32-bit register of configuration space; kNoDevice when there is no such function.
    virtual std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                 std::uint8_t reg, std::uint32_t data, std::uint8_t readFlag) = 0;
};

// OSTREL.dll: Super I/O, CMOS, firmware fan registers and the SMBIOS tables.
class Ostrel {
public:
    static constexpr std::uint16_t kSuperIoConfigPort = 0x4E;
    static constexpr std::uint8_t kBoardControlDevice = 6;   // logical device of the board controls
    static constexpr std::uint8_t kIdentificationDevice = 4; // logical device of the chip identification
    static constexpr std::uint16_t kCmosIndexPort = 0x0A05;

    virtual ~Ostrel() = default;
    virtual std::uint8_t Get_EFERs(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                                   std::uint8_t data, std::uint8_t readFlag) = 0;
    virtual std::uint8_t GetCmosAddressByte(std::uint8_t reg, std::uint16_t indexPort) = 0;
    virtual void WriteCmosAddressByte(std::uint8_t reg, std::uint8_t value, std::uint16_t indexPort) = 0;
    // reg is 0xA3, 0xB3, 0xC3 (or 0xD3); the last argument is always 0.
    virtual void FanControl(std::uint8_t reg, std::uint8_t duty, int reserved) = 0;
    // Length of the SMBIOS structure table in bytes; also stored through length when given.
    virtual std::uint32_t GetDMILength(std::uint32_t* length) = 0;
    // Copies the table into buffer, at most size bytes; false when there is none.
    virtual bool GetDMIData(std::uint8_t* buffer, std::uint32_t size) = 0;
};

// Pexmon.dll: the graphics adapter's BIOS and driver versions.
class Pexmon {
public:
    // The program's text buffers hold 15 characters and a terminator.
    static constexpr std::size_t kTextBufferSize = 16;

    virtual ~Pexmon() = default;
    virtual int Init() = 0; // non-zero when usable
    virtual void GetVGABIOSVersion(std::string& text) = 0;
    virtual void GetDriverVersion(std::string& text) = 0;
};

// Tressel.dll: CPU usage.
class Tressel {
public:
    virtual ~Tressel() = default;
    // 0 when the library is ready; otherwise an error code, which the basic page shows as
    // "CPU Usage error(%d)!" before it asks the program to close.
    virtual int TresselInit(int processorCount) = 0;
    // The share of the processors' time spent busy, 0 to 1, as the operating system counts it; empty
    // where the library cannot tell.
    virtual std::optional<double> CpuUsage() { return std::nullopt; }
    // The processors' clock as a share of their highest, as the processor counts the cycles it ran
    // (slowed by the power plan, throttling or its own limits); empty where the library cannot tell.
    virtual std::optional<double> CpuClock() { return std::nullopt; }
};

// The power-saving library, loaded at run time as Nimbrel_xp.dll or Nimbrel_vista.dll and reached
// through its entry points by name. A missing entry point is skipped by the caller.
namespace nimbrel {

inline constexpr std::string_view kXpModule = "Nimbrel_xp.dll";
inline constexpr std::string_view kVistaModule = "Nimbrel_vista.dll";

inline constexpr std::size_t kTemperatureBytes = 8;
inline constexpr std::size_t kSensorValues = 29;
using TemperatureBuffer = std::array<std::uint8_t, kTemperatureBytes>;
using SensorArray = std::array<std::int32_t, kSensorValues>;

// Entry-point names and their signatures.
inline constexpr std::string_view kLoadOstrel = "LoadOstrel";
inline constexpr std::string_view kUnloadOstrel = "UnloadOSTREL";
inline constexpr std::string_view kLoadFalwick = "LoadFalwick";
inline constexpr std::string_view kUnloadFalwick = "UnloadFalwick";
inline constexpr std::string_view kDetectSuperIO = "DetectSuperIO";
inline constexpr std::string_view kGetTemp = "GetTemp";
inline constexpr std::string_view kGetVol = "GetVol";
inline constexpr std::string_view kSetPowerMode = "SetPowerMode";
inline constexpr std::string_view kGetPowerMode = "GetPowerMode";
inline constexpr std::string_view kCpuThrottling = "CPU_THROTTLING";
inline constexpr std::string_view kEnableSata = "EnableSATA";
inline constexpr std::string_view kDisableSata = "DisableSATA";
inline constexpr std::string_view kUsedNoSata = "UsedNo_SATA";
inline constexpr std::string_view kUnusedNoSata = "UnusedNo_SATA";

using LoadFunction = int();    // LoadOstrel, LoadFalwick: non-zero when ready
using UnloadFunction = void(); // UnloadOSTREL, UnloadFalwick
using DetectSuperIOFunction = int(int superIoKind);
using GetTempFunction = int(TemperatureBuffer& buffer, int superIoKind);
using GetVolFunction = int(SensorArray& values);
using ModeFunction = int(int mode); // SetPowerMode (0, 3, 6, 7, 8), CPU_THROTTLING (7, 8)
using SataFunction = int();         // EnableSATA, DisableSATA
using QueryFunction = int();        // GetPowerMode, UsedNo_SATA, UnusedNo_SATA: looked up, not called

} // namespace nimbrel

} // namespace solvane::hw
