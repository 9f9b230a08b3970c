#pragma once

#include "hw/Hardware.h"
#include "hw/replay/ReplaySources.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace solvane::hw {

// A hardware back-end whose SMBIOS table, SPD EEPROMs or PCI configuration space come from real
// dumps, so the decoders can be checked on the bytes other tools decoded. Everything not replayed
// passes through to the back-end underneath. Dumps are read only: a write to a replayed EEPROM or
// PCI function is refused and counted, and reaches neither the dump nor the back-end underneath.
class ReplayHardware final : public Hardware, Hoblin, Falwick, Ostrel, MachineAccess {
public:
    ReplayHardware(std::unique_ptr<Hardware> inner, const ReplaySources& sources);

    Hoblin& hoblin() override { return *this; }
    Falwick& falwick() override { return *this; }
    Ostrel& ostrel() override { return *this; }
    Pexmon& pexmon() override { return m_inner->pexmon(); }
    Tressel& tressel() override { return m_inner->tressel(); }
    platform::ModuleLoader& modules() override { return m_inner->modules(); }
    MachineAccess& machine() override { return *this; }
    std::string videoControllerName() const override { return m_inner->videoControllerName(); }
    std::string videoDriverVersion() const override { return m_inner->videoDriverVersion(); }
    std::optional<std::string> pciDeviceName(std::uint16_t vendorId, std::uint16_t deviceId) override {
        return m_inner->pciDeviceName(vendorId, deviceId);
    }
    std::string description() const override;
    bool hostMachine() const override { return m_inner->hostMachine(); }
    std::optional<std::vector<std::uint8_t>> spdImage(std::uint8_t address) override;
    platform::MemoryStatus memoryStatus() override { return m_inner->memoryStatus(); }
    unsigned processorCount() const override { return m_inner->processorCount(); }
    std::uint64_t refusedWrites() const override { return m_inner->refusedWrites() + m_refusedWrites; }
    MachineMeter* machineMeter() override { return m_inner->machineMeter(); }

    // Hoblin
    int LoadNTHoblin() override { return m_inner->hoblin().LoadNTHoblin(); }
    void UnloadNTHoblin() override { m_inner->hoblin().UnloadNTHoblin(); }
    std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;

    // Falwick
    std::uint8_t Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;
    std::uint8_t BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) override {
        return m_inner->falwick().BaseByte_RW(port, data, readFlag);
    }
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t data, std::uint8_t readFlag) override;

    // Ostrel
    std::uint8_t Get_EFERs(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                           std::uint8_t data, std::uint8_t readFlag) override {
        return m_inner->ostrel().Get_EFERs(configPort, logicalDevice, reg, data, readFlag);
    }
    std::uint8_t GetCmosAddressByte(std::uint8_t reg, std::uint16_t indexPort) override {
        return m_inner->ostrel().GetCmosAddressByte(reg, indexPort);
    }
    void WriteCmosAddressByte(std::uint8_t reg, std::uint8_t value, std::uint16_t indexPort) override {
        m_inner->ostrel().WriteCmosAddressByte(reg, value, indexPort);
    }
    void FanControl(std::uint8_t reg, std::uint8_t duty, int reserved) override {
        m_inner->ostrel().FanControl(reg, duty, reserved);
    }
    std::uint32_t GetDMILength(std::uint32_t* length) override;
    bool GetDMIData(std::uint8_t* buffer, std::uint32_t size) override;

    // MachineAccess
    void readPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::span<std::uint8_t> out) override;
    bool readPhysicalMemory(std::uint64_t address, std::span<std::uint8_t> out) override {
        return m_inner->machine().readPhysicalMemory(address, out);
    }

private:
    // Serves an SMBus transfer to a replayed EEPROM; empty when the address is not replayed.
    std::optional<std::uint8_t> replayedSmbus(std::uint8_t address, std::uint8_t reg);
    const std::vector<std::uint8_t>* pciFunction(std::uint32_t pciAddress) const;

    std::unique_ptr<Hardware> m_inner;
    std::optional<std::vector<std::uint8_t>> m_dmiTable;
    std::map<std::uint8_t, std::vector<std::uint8_t>> m_spdImages;
    bool m_pciReplayed = false;
    std::map<std::uint32_t, std::vector<std::uint8_t>>
        m_pciFunctions; // keyed by bus << 8 | device << 3 | function
    std::uint64_t m_refusedWrites = 0;
};

// Wraps inner so that the parts given in sources are replayed; inner itself when sources is empty.
std::unique_ptr<Hardware> withReplay(std::unique_ptr<Hardware> inner, const ReplaySources& sources);

} // namespace solvane::hw
