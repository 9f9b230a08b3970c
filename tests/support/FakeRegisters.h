#pragma once

#include "hw/HardwareLibraries.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace solvane::test {

// Register files behind the SMBus, Super I/O, port and PCI entry points, for tests of routines that
// need only registers. An SMBus device's read and write addresses share one register file. Every
// write is logged.
class FakeRegisters final : public hw::Hoblin, public hw::Falwick, public hw::Ostrel {
public:
    struct Write {
        std::string bus; // "smbus", "smbus-falwick", "sio", "port", "pci"
        std::uint32_t address;
        std::uint32_t reg;
        std::uint32_t value;
        bool operator==(const Write&) const = default;
    };

    std::map<std::pair<std::uint8_t, std::uint8_t>, std::uint8_t> smbus; // (even address, reg)
    std::map<std::uint8_t, std::uint8_t> sio;
    std::map<std::uint16_t, std::uint8_t> ports;
    std::map<std::uint8_t, std::uint32_t> northbridge; // PCI 0:24:3 by register
    std::map<std::uint8_t, std::uint8_t> cmos;
    std::vector<Write> writes; // every register write, CMOS and fan duties included

    std::uint8_t& smbusRegister(std::uint8_t device, std::uint8_t reg) { return smbus[{device & 0xFE, reg}]; }

    int LoadNTHoblin() override { return 1; }
    void UnloadNTHoblin() override {}
    std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;
    std::uint8_t Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;
    std::uint8_t BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) override;
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t data, std::uint8_t readFlag) override;
    std::uint8_t Get_EFERs(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                           std::uint8_t data, std::uint8_t readFlag) override;
    std::uint8_t GetCmosAddressByte(std::uint8_t reg, std::uint16_t) override { return cmos[reg]; }
    void WriteCmosAddressByte(std::uint8_t reg, std::uint8_t value, std::uint16_t) override {
        cmos[reg] = value;
        writes.push_back({"cmos", 0x0A05, reg, value});
    }
    void FanControl(std::uint8_t reg, std::uint8_t duty, int) override {
        writes.push_back({"fan", 0, reg, duty});
    }
    std::uint32_t GetDMILength(std::uint32_t* length) override;
    bool GetDMIData(std::uint8_t*, std::uint32_t) override { return false; }

private:
    std::uint8_t smbusAccess(const char* bus, std::uint8_t address, std::uint8_t reg, std::uint8_t data);
};

} // namespace solvane::test
