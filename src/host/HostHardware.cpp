#include "host/HostHardware.h"

#include "host/DmiIdTable.h"
#include "host/GraphicsAdapter.h"
#include "host/HostNimbrel.h"
#include "host/HwmonSource.h"
#include "host/LibsensorsSource.h"
#include "host/SysfsFile.h"
#include "hw/ByteOrder.h"
#include "platform/SystemFacts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <sstream>

namespace solvane::host {

namespace {

// What the bus returns where nothing answers.
constexpr std::uint8_t kAbsentByte = 0xFF;
// Real SMBIOS tables are a few kilobytes; the 64-bit entry point allows up to 4 GiB, far more than a
// firmware table needs.
constexpr std::size_t kMaximumDmiBytes = 4U * 1024U * 1024U;
constexpr std::string_view kSystemSysfs = "/sys";

} // namespace

HostHardware::HostHardware(const HostOptions& options, std::shared_ptr<SensorSource> sensors)
    : m_sysfsRoot(options.root()), m_procRoot(options.proc()), m_refused(std::make_shared<RefusedWrites>()),
      m_machine(m_sysfsRoot, options.pciIdsFile), m_spd(m_sysfsRoot),
      m_dmiTable(readSysfsBytes(m_sysfsRoot / "firmware" / "dmi" / "tables" / "DMI", kMaximumDmiBytes)
                     .value_or(std::vector<std::uint8_t>{})),
      m_meter(m_sysfsRoot, sensors, options.clock ? options.clock : monotonicSeconds), m_load(m_procRoot) {
    // Without root the raw table cannot be read, but its strings can.
    if (m_dmiTable.empty())
        m_dmiTable = smbiosTableFromDmiId(m_sysfsRoot / "class" / "dmi" / "id", cpuInfo());
    for (const auto name : {hw::nimbrel::kXpModule, hw::nimbrel::kVistaModule})
        m_modules.add(name, [name, sensors, refused = m_refused] {
            return makeHostNimbrel(std::string(name), sensors, refused);
        });
    const auto adapter =
        findGraphicsAdapter(m_sysfsRoot, [this](std::uint16_t vendorId, std::uint16_t deviceId) {
            return m_machine.deviceName(vendorId, deviceId);
        });
    if (adapter) {
        m_videoControllerName = adapter->name;
        m_videoDriverVersion = adapter->driverVersion;
    }
}

std::string HostHardware::description() const {
    if (m_sysfsRoot == kSystemSysfs)
        return "This machine (read only)";
    return "This machine as the sysfs tree " + m_sysfsRoot.string() + " shows it (read only)";
}

platform::MemoryStatus HostHardware::memoryStatus() {
    return platform::GlobalMemoryStatus(m_procRoot / "meminfo");
}

CpuInfo HostHardware::cpuInfo() const {
    std::ifstream file(m_procRoot / "cpuinfo");
    std::ostringstream text;
    text << file.rdbuf();
    return parseCpuInfo(text.str());
}

unsigned HostHardware::processorCount() const {
    const unsigned listed = cpuInfo().processors;
    return listed != 0 ? listed : platform::HostSystemFacts().processorCount();
}

std::uint8_t HostHardware::smbusTransfer(std::uint8_t address, std::uint8_t reg) {
    if ((address & 1U) == 0) {
        m_refused->refuse(WriteKind::Smbus);
        return kAbsentByte;
    }
    return m_spd.read(address, reg).value_or(kAbsentByte);
}

std::uint8_t HostHardware::Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t) {
    return smbusTransfer(address, reg);
}

std::uint8_t HostHardware::Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t) {
    return smbusTransfer(address, reg);
}

std::uint8_t HostHardware::BaseByte_RW(std::uint16_t, std::uint8_t, std::uint8_t readFlag) {
    // The chipset ports a Tarvok board uses mean something else on any other machine, and reading
    // I/O ports can have side effects: they read as absent.
    if (readFlag != kRead)
        m_refused->refuse(WriteKind::IoPort);
    return kAbsentByte;
}

std::uint32_t HostHardware::PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                   std::uint8_t reg, std::uint32_t, std::uint8_t readFlag) {
    if (readFlag != kRead) {
        m_refused->refuse(WriteKind::Pci);
        return kNoDevice;
    }
    if (device > 0x1F || function > 7)
        return kNoDevice;
    const std::uint32_t pciAddress =
        static_cast<std::uint32_t>(bus) << 8 | static_cast<std::uint32_t>(device) << 3 | function;
    if (!m_machine.hasFunction(pciAddress))
        return kNoDevice;
    std::array<std::uint8_t, 4> bytes{};
    m_machine.readPciConfig(pciAddress, reg, bytes);
    return hw::readLittleEndian<std::uint32_t>(bytes, 0);
}

std::uint8_t HostHardware::Get_EFERs(std::uint16_t, std::uint8_t, std::uint8_t, std::uint8_t,
                                     std::uint8_t readFlag) {
    if (readFlag != kRead)
        m_refused->refuse(WriteKind::SuperIo);
    return kAbsentByte;
}

std::uint8_t HostHardware::GetCmosAddressByte(std::uint8_t, std::uint16_t) {
    return kAbsentByte;
}

void HostHardware::WriteCmosAddressByte(std::uint8_t, std::uint8_t, std::uint16_t) {
    m_refused->refuse(WriteKind::Cmos);
}

void HostHardware::FanControl(std::uint8_t, std::uint8_t, int) {
    m_refused->refuse(WriteKind::Fan);
}

std::uint32_t HostHardware::GetDMILength(std::uint32_t* length) {
    const auto size = static_cast<std::uint32_t>(m_dmiTable.size());
    if (length != nullptr)
        *length = size;
    return size;
}

bool HostHardware::GetDMIData(std::uint8_t* buffer, std::uint32_t size) {
    if (m_dmiTable.empty() || buffer == nullptr)
        return false;
    std::memcpy(buffer, m_dmiTable.data(), std::min<std::size_t>(size, m_dmiTable.size()));
    return true;
}

std::unique_ptr<hw::Hardware> createHostHardware(const HostOptions& options) {
    std::error_code error;
    const bool systemTree = std::filesystem::equivalent(options.root(), kSystemSysfs, error);
    std::shared_ptr<SensorSource> sensors;
    if (systemTree)
        sensors = std::make_shared<LibsensorsSource>();
    else
        sensors = std::make_shared<HwmonSource>(options.root());
    return std::make_unique<HostHardware>(options, std::move(sensors));
}

} // namespace solvane::host
