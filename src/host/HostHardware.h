#pragma once

#include "host/CpuInfo.h"
#include "host/HostMachine.h"
#include "host/HostMachineMeter.h"
#include "host/HostOptions.h"
#include "host/ProcStatLoad.h"
#include "host/RefusedWrites.h"
#include "host/SensorSource.h"
#include "host/SpdEeproms.h"
#include "hw/Hardware.h"
#include "platform/Module.h"

#include <memory>
#include <vector>

namespace solvane::host {

// The machine Solvane runs on as a hardware back-end, read only. It serves the SMBIOS table from
// <sysfs>/firmware/dmi/tables/DMI, PCI configuration space through libpci, the SPD EEPROMs
// (SMBus reads of 0xA1 to 0xAF) through the kernel's eeprom drivers, the sensors through the
// power-saving library's GetTemp and GetVol, and the graphics adapter from <sysfs>/class/drm.
// A Tarvok board's own devices are not there: other SMBus devices, the Super I/O, CMOS and the
// I/O ports read as absent (0xFF). It never writes hardware: every write is refused, counted, and
// answers as an absent device would (0xFF, or 0xFFFFFFFF for PCI).
class HostHardware final : public hw::Hardware, hw::Hoblin, hw::Falwick, hw::Ostrel, hw::Pexmon, hw::Tressel {
public:
    HostHardware(const HostOptions& options, std::shared_ptr<SensorSource> sensors);

    hw::Hoblin& hoblin() override { return *this; }
    hw::Falwick& falwick() override { return *this; }
    hw::Ostrel& ostrel() override { return *this; }
    hw::Pexmon& pexmon() override { return *this; }
    hw::Tressel& tressel() override { return *this; }
    platform::ModuleLoader& modules() override { return m_modules; }
    hw::MachineAccess& machine() override { return m_machine; }
    std::string videoControllerName() const override { return m_videoControllerName; }
    std::string videoDriverVersion() const override { return m_videoDriverVersion; }
    std::optional<std::string> pciDeviceName(std::uint16_t vendorId, std::uint16_t deviceId) override {
        return m_machine.knownDeviceName(vendorId, deviceId);
    }
    std::string description() const override;
    bool hostMachine() const override { return true; }
    std::uint64_t refusedWrites() const override { return m_refused->total(); }
    std::optional<std::vector<std::uint8_t>> spdImage(std::uint8_t address) override {
        return m_spd.image(address);
    }
    // From <proc>/meminfo; zeros when it cannot be read.
    platform::MemoryStatus memoryStatus() override;
    // The processors <proc>/cpuinfo lists; the running system's count when it lists none.
    unsigned processorCount() const override;
    // What <proc>/cpuinfo says of the processors.
    CpuInfo cpuInfo() const;

    hw::MachineMeter* machineMeter() override { return &m_meter; }

    // The refused writes by kind.
    const RefusedWrites& refusedWriteCounts() const { return *m_refused; }

    // Hoblin
    int LoadNTHoblin() override { return 1; }
    void UnloadNTHoblin() override {}
    std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;

    // Falwick
    std::uint8_t Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override;
    std::uint8_t BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) override;
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t data, std::uint8_t readFlag) override;

    // Ostrel
    std::uint8_t Get_EFERs(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                           std::uint8_t data, std::uint8_t readFlag) override;
    std::uint8_t GetCmosAddressByte(std::uint8_t reg, std::uint16_t indexPort) override;
    void WriteCmosAddressByte(std::uint8_t reg, std::uint8_t value, std::uint16_t indexPort) override;
    void FanControl(std::uint8_t reg, std::uint8_t duty, int reserved) override;
    std::uint32_t GetDMILength(std::uint32_t* length) override;
    bool GetDMIData(std::uint8_t* buffer, std::uint32_t size) override;

    // Pexmon: the adapter's BIOS version cannot be read without enabling its ROM, which is a write,
    // so the library reports itself unusable and the program falls back to the DRM driver and the
    // video BIOS probe.
    int Init() override { return 0; }
    void GetVGABIOSVersion(std::string&) override {}
    void GetDriverVersion(std::string&) override {}

    // Tressel
    // 0 when ready, else an error code, as the basic page reads it (87: no processor count).
    int TresselInit(int processorCount) override { return processorCount > 0 ? 0 : 87; }
    // The busy share of <proc>/stat's ticks since the previous query.
    std::optional<double> CpuUsage() override { return m_load.sample(); }

private:
    std::uint8_t smbusTransfer(std::uint8_t address, std::uint8_t reg);

    std::filesystem::path m_sysfsRoot;
    std::filesystem::path m_procRoot;
    std::shared_ptr<RefusedWrites> m_refused;
    HostMachine m_machine;
    SpdEeproms m_spd;
    std::vector<std::uint8_t> m_dmiTable;
    platform::ModuleCatalog m_modules;
    std::string m_videoControllerName;
    std::string m_videoDriverVersion;
    HostMachineMeter m_meter;
    ProcStatLoad m_load;
};

// The host back-end for options: sensors through libsensors on the machine's own /sys, through the
// tree's hwmon attributes for any other sysfs root.
std::unique_ptr<hw::Hardware> createHostHardware(const HostOptions& options);

} // namespace solvane::host
