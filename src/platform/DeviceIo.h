#pragma once

#include "platform/ServiceManager.h"
#include "platform/WinError.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::platform {

using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle kInvalidDeviceHandle = -1;

// The kernel side of a device: answers the control requests sent to it.
class DeviceDriver {
public:
    virtual ~DeviceDriver() = default;
    // openHandles: how many handles are open on the device while this request runs.
    // On success, returned is the number of output bytes filled.
    virtual WinError control(std::uint32_t code, std::span<const std::uint8_t> input,
                             std::span<std::uint8_t> output, std::uint32_t& returned,
                             unsigned openHandles) = 0;
};

// Opening devices by their "\\.\Name" paths and sending them control requests.
class DeviceIo {
public:
    virtual ~DeviceIo() = default;
    // Opens for reading and writing, without sharing, an existing device.
    virtual DeviceHandle createFile(std::string_view path) = 0;
    virtual bool deviceIoControl(DeviceHandle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                                 std::span<std::uint8_t> output, std::uint32_t& returned) = 0;
    virtual bool closeHandle(DeviceHandle handle) = 0;
    virtual WinError lastError() const = 0;
};

// Devices served in this process by drivers attached under a service: a device exists while its
// service runs, like a kernel driver's device does.
class DeviceNamespace final : public DeviceIo {
public:
    explicit DeviceNamespace(const ServiceManager& services);

    // The driver must outlive the namespace.
    void attach(std::string_view devicePath, std::string_view serviceName, DeviceDriver& driver);

    DeviceHandle createFile(std::string_view path) override;
    bool deviceIoControl(DeviceHandle handle, std::uint32_t code, std::span<const std::uint8_t> input,
                         std::span<std::uint8_t> output, std::uint32_t& returned) override;
    bool closeHandle(DeviceHandle handle) override;
    WinError lastError() const override { return m_lastError; }

    // Control requests that reached a driver, so tests can check a refusal sent none.
    int requestCount() const { return m_requests; }
    unsigned openHandles(std::string_view devicePath) const;

private:
    struct Device {
        std::string serviceName;
        DeviceDriver* driver = nullptr;
    };
    const ServiceManager& m_services;
    std::map<std::string, Device> m_devices;
    std::map<DeviceHandle, std::string> m_handles;
    DeviceHandle m_nextHandle = 0x100;
    WinError m_lastError = WinError::Success;
    int m_requests = 0;
};

} // namespace solvane::platform
