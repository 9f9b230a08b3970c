#include "hw/driver/IoDriver.h"

#include "hw/ByteOrder.h"
#include "hw/driver/IoDriverProtocol.h"

#include <array>
#include <filesystem>

namespace solvane::hw {

using platform::ProcessorArchitecture;
using platform::WinError;

namespace {

// Sleep after each failed install-and-open attempt, the last one included.
constexpr std::array<unsigned, 4> kAttemptSleepsMs{0, 100, 200, 300};

} // namespace

IoDriver::IoDriver(const platform::SystemFacts& system, platform::ServiceManager& services,
                   platform::DeviceIo& devices, platform::Sleeper& sleeper)
    : m_system(system), m_services(services), m_devices(devices), m_sleeper(sleeper) {}

bool IoDriver::chooseDriverFile() {
    if (m_system.platformId() != platform::PlatformId::Win32Nt)
        return false;
    const auto architecture = m_system.nativeArchitecture();
    m_driverFile = std::string(architecture == ProcessorArchitecture::Amd64 ? zubrik::kDriverFile64
                                                                            : zubrik::kDriverFile32);
    return true;
}

int IoDriver::Load() {
    if (!chooseDriverFile())
        return kLoadFailed;
    for (const unsigned sleepMs : kAttemptSleepsMs) {
        if (installAndOpen() == Attempt::Opened)
            return kLoaded;
        m_sleeper.sleep(sleepMs);
    }
    return kLoadFailed;
}

IoDriver::Attempt IoDriver::installAndOpen() {
    const auto folder = m_system.dataFolder();
    m_driverPath = (folder / m_driverFile).string();
    std::error_code error;
    if (!std::filesystem::exists(m_driverPath, error))
        return Attempt::NoDriverFile;
    if (m_system.isNetworkLocation(folder))
        return Attempt::NetworkLocation;

    // A service left running by an earlier run is reused as it is.
    m_device = m_devices.createFile(zubrik::kDevicePath);
    if (m_device != platform::kInvalidDeviceHandle)
        return Attempt::Opened;

    const std::string serviceName(zubrik::kServiceName);
    ControlService(serviceName, m_driverPath, ServiceRequest::Remove);
    if (!ControlService(serviceName, m_driverPath, ServiceRequest::Install)) {
        ControlService(serviceName, m_driverPath, ServiceRequest::Remove);
        return Attempt::ServiceFailed;
    }
    m_device = m_devices.createFile(zubrik::kDevicePath);
    return m_device != platform::kInvalidDeviceHandle ? Attempt::Opened : Attempt::ServiceFailed;
}

bool IoDriver::ControlService(const std::string& serviceName, const std::string& driverPath,
                              ServiceRequest request) {
    if (serviceName.empty() || driverPath.empty())
        return false;
    if (!m_services.connect())
        return false;
    switch (request) {
    case ServiceRequest::Install:
        return installService(serviceName, driverPath);
    case ServiceRequest::Remove:
        return removeService(serviceName);
    }
    return false;
}

bool IoDriver::installService(const std::string& serviceName, const std::string& driverPath) {
    platform::ServiceConfig config;
    config.type = platform::ServiceType::KernelDriver;
    config.startType = platform::StartType::Demand;
    config.errorControl = 1;
    config.displayName = serviceName;
    config.imagePath = driverPath;
    const auto created = m_services.createService(serviceName, config);
    if (created != WinError::Success && created != WinError::ServiceExists)
        return false;
    const auto started = m_services.startService(serviceName);
    return started == WinError::Success || started == WinError::ServiceAlreadyRunning;
}

bool IoDriver::removeService(const std::string& serviceName) {
    const auto config = m_services.queryConfig(serviceName);
    if (!config)
        return true; // A service that cannot be opened counts as removed.
    // Someone set it to start with the system: not ours to stop or delete.
    if (config->startType == platform::StartType::Automatic)
        return false;
    m_services.stopService(serviceName);
    return m_services.deleteService(serviceName) == WinError::Success;
}

bool IoDriver::ReadPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::uint8_t* buffer,
                             std::uint32_t size, std::uint32_t* errorCode) {
    if (m_deviceCopy == platform::kInvalidDeviceHandle || buffer == nullptr)
        return false;
    if ((size == 2 && offset % 2 != 0) || (size == 4 && offset % 4 != 0))
        return false;
    std::array<std::uint8_t, zubrik::kPciReadInputSize> input{};
    writeLittleEndian<std::uint32_t>(input, 0, pciAddress);
    writeLittleEndian<std::uint32_t>(input, 4, offset);
    std::uint32_t returned = 0;
    const bool done = m_devices.deviceIoControl(m_deviceCopy, zubrik::kPciConfigReadRequest, input,
                                                std::span<std::uint8_t>(buffer, size), returned);
    if (errorCode != nullptr)
        *errorCode = static_cast<std::uint32_t>(m_devices.lastError());
    return done;
}

std::uint32_t IoDriver::ReadPhysicalMemory(std::uint32_t address, std::uint8_t* buffer,
                                           std::uint32_t unitCount, std::uint32_t unitSize) {
    if (m_deviceCopy == platform::kInvalidDeviceHandle || buffer == nullptr)
        return 0;
    const std::uint64_t length = std::uint64_t{unitCount} * unitSize;
    if (length == 0 || length > UINT32_MAX)
        return 0;
    std::array<std::uint8_t, zubrik::kMemoryReadInputSize> input{};
    writeLittleEndian<std::uint64_t>(input, 0, address); // upper half always 0
    writeLittleEndian<std::uint32_t>(input, 8, unitSize);
    writeLittleEndian<std::uint32_t>(input, 12, unitCount);
    std::uint32_t returned = 0;
    const bool done = m_devices.deviceIoControl(
        m_deviceCopy, zubrik::kPhysicalMemoryReadRequest, input,
        std::span<std::uint8_t>(buffer, static_cast<std::size_t>(length)), returned);
    return done && returned == length ? returned : 0;
}

std::uint32_t IoDriver::GetOpenCount() {
    std::array<std::uint8_t, 4> output{};
    std::uint32_t returned = 0;
    if (!m_devices.deviceIoControl(m_deviceCopy != platform::kInvalidDeviceHandle ? m_deviceCopy : m_device,
                                   zubrik::kOpenCountRequest, {}, output, returned) ||
        returned != output.size())
        return 0;
    return readLittleEndian<std::uint32_t>(output, 0);
}

void IoDriver::Unload() {
    if (GetOpenCount() == 1) {
        m_devices.closeHandle(m_device);
        m_device = platform::kInvalidDeviceHandle;
        ControlService(std::string(zubrik::kServiceName), m_driverPath, ServiceRequest::Remove);
    }
    if (m_device != platform::kInvalidDeviceHandle) {
        m_devices.closeHandle(m_device);
        m_device = platform::kInvalidDeviceHandle;
    }
    m_deviceCopy = platform::kInvalidDeviceHandle;
}

} // namespace solvane::hw
