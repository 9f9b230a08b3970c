#pragma once

#include "platform/DeviceIo.h"
#include "platform/ServiceManager.h"
#include "platform/Sleeper.h"
#include "platform/SystemFacts.h"

#include <cstdint>
#include <span>
#include <string>

namespace solvane::hw {

// The user-mode side of the I/O driver: installs and starts the driver service, opens its device,
// and issues the three device requests. One per process, created at start-up and kept to the end.
class IoDriver {
public:
    static constexpr int kLoaded = 0;
    static constexpr int kLoadFailed = 5;

    // Results of one install-and-open attempt.
    enum class Attempt : int { Opened = 0, ServiceFailed = 2, NoDriverFile = 3, NetworkLocation = 5 };
    enum class ServiceRequest : int { Install = 1, Remove = 2 };

    IoDriver(const platform::SystemFacts& system, platform::ServiceManager& services,
             platform::DeviceIo& devices, platform::Sleeper& sleeper);

    // Chooses the driver file and makes up to four install-and-open attempts, sleeping 0, 100, 200
    // and 300 ms after the failed ones. kLoaded or kLoadFailed.
    int Load();
    platform::DeviceHandle GetHandle() const { return m_device; }
    // Start-up keeps the handle it read back after loading; the device requests use this copy.
    void SetHandleCopy(platform::DeviceHandle handle) { m_deviceCopy = handle; }

    // Reads size bytes of PCI configuration space. Refused without a request when the device is
    // not open, there is no buffer, or a 2- or 4-byte read is not aligned to its size.
    bool ReadPciConfig(std::uint32_t pciAddress, std::uint32_t offset, std::uint8_t* buffer,
                       std::uint32_t size, std::uint32_t* errorCode = nullptr);
    // Reads unitCount units of unitSize bytes from a 32-bit physical address. Returns the byte
    // count when exactly that many bytes came back, else 0.
    std::uint32_t ReadPhysicalMemory(std::uint32_t address, std::uint8_t* buffer, std::uint32_t unitCount,
                                     std::uint32_t unitSize);
    std::uint32_t GetOpenCount();
    // Closes the device; removes the service too when this was its only open handle.
    void Unload();

    bool ControlService(const std::string& serviceName, const std::string& driverPath,
                        ServiceRequest request);

    const std::string& driverFileName() const { return m_driverFile; }
    const std::string& driverPath() const { return m_driverPath; }

private:
    bool chooseDriverFile();
    Attempt installAndOpen();
    bool installService(const std::string& serviceName, const std::string& driverPath);
    bool removeService(const std::string& serviceName);

    const platform::SystemFacts& m_system;
    platform::ServiceManager& m_services;
    platform::DeviceIo& m_devices;
    platform::Sleeper& m_sleeper;

    platform::DeviceHandle m_device = platform::kInvalidDeviceHandle;
    platform::DeviceHandle m_deviceCopy = platform::kInvalidDeviceHandle;
    std::string m_driverFile;
    std::string m_driverPath;
};

} // namespace solvane::hw
