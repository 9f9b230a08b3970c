#include "platform/DeviceIo.h"

#include "platform/AsciiCase.h"

#include <algorithm>

namespace solvane::platform {

DeviceNamespace::DeviceNamespace(const ServiceManager& services) : m_services(services) {}

void DeviceNamespace::attach(std::string_view devicePath, std::string_view serviceName,
                             DeviceDriver& driver) {
    m_devices[lowerAscii(devicePath)] = Device{std::string(serviceName), &driver};
}

unsigned DeviceNamespace::openHandles(std::string_view devicePath) const {
    const auto key = lowerAscii(devicePath);
    return static_cast<unsigned>(std::count_if(m_handles.begin(), m_handles.end(),
                                               [&](const auto& handle) { return handle.second == key; }));
}

DeviceHandle DeviceNamespace::createFile(std::string_view path) {
    const auto key = lowerAscii(path);
    const auto device = m_devices.find(key);
    if (device == m_devices.end() ||
        m_services.queryState(device->second.serviceName) != ServiceState::Running) {
        m_lastError = WinError::FileNotFound;
        return kInvalidDeviceHandle;
    }
    if (openHandles(path) != 0) {
        m_lastError = WinError::SharingViolation;
        return kInvalidDeviceHandle;
    }
    const auto handle = m_nextHandle++;
    m_handles[handle] = key;
    m_lastError = WinError::Success;
    return handle;
}

bool DeviceNamespace::deviceIoControl(DeviceHandle handle, std::uint32_t code,
                                      std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                                      std::uint32_t& returned) {
    returned = 0;
    const auto open = m_handles.find(handle);
    if (open == m_handles.end()) {
        m_lastError = WinError::InvalidHandle;
        return false;
    }
    const auto& device = m_devices.at(open->second);
    // A device whose service was stopped behind our back no longer answers.
    if (m_services.queryState(device.serviceName) != ServiceState::Running) {
        m_lastError = WinError::GenFailure;
        return false;
    }
    ++m_requests;
    m_lastError = device.driver->control(code, input, output, returned, openHandles(open->second));
    return m_lastError == WinError::Success;
}

bool DeviceNamespace::closeHandle(DeviceHandle handle) {
    if (m_handles.erase(handle) == 0) {
        m_lastError = WinError::InvalidHandle;
        return false;
    }
    m_lastError = WinError::Success;
    return true;
}

} // namespace solvane::platform
