#include "hw/driver/ZubrikDriver.h"

#include "hw/ByteOrder.h"
#include "hw/driver/IoDriverProtocol.h"

namespace solvane::hw {

using platform::WinError;

ZubrikDriver::ZubrikDriver(MachineAccess& machine) : m_machine(machine) {}

WinError ZubrikDriver::control(std::uint32_t code, std::span<const std::uint8_t> input,
                               std::span<std::uint8_t> output, std::uint32_t& returned,
                               unsigned openHandles) {
    returned = 0;
    switch (code) {
    case zubrik::kOpenCountRequest:
        if (output.size() < 4)
            return WinError::InsufficientBuffer;
        writeLittleEndian<std::uint32_t>(output, 0, openHandles);
        returned = 4;
        return WinError::Success;
    case zubrik::kPciConfigReadRequest:
        return readPci(input, output, returned);
    case zubrik::kPhysicalMemoryReadRequest:
        return readMemory(input, output, returned);
    default:
        return WinError::InvalidParameter;
    }
}

WinError ZubrikDriver::readPci(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                               std::uint32_t& returned) {
    if (input.size() < zubrik::kPciReadInputSize || output.empty())
        return WinError::InvalidParameter;
    const auto address = readLittleEndian<std::uint32_t>(input, 0);
    const auto offset = readLittleEndian<std::uint32_t>(input, 4);
    if (address > 0xFFFFU || offset >= zubrik::kPciConfigSpaceSize ||
        output.size() > zubrik::kPciConfigSpaceSize - offset)
        return WinError::InvalidParameter;
    m_machine.readPciConfig(address, offset, output);
    returned = static_cast<std::uint32_t>(output.size());
    return WinError::Success;
}

WinError ZubrikDriver::readMemory(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                                  std::uint32_t& returned) {
    if (input.size() < zubrik::kMemoryReadInputSize)
        return WinError::InvalidParameter;
    const auto address = readLittleEndian<std::uint64_t>(input, 0);
    const auto unitSize = readLittleEndian<std::uint32_t>(input, 8);
    const auto unitCount = readLittleEndian<std::uint32_t>(input, 12);
    if (unitSize != 1 && unitSize != 2 && unitSize != 4)
        return WinError::InvalidParameter;
    const std::uint64_t length = std::uint64_t{unitSize} * unitCount;
    if (length == 0 || length > output.size())
        return WinError::InsufficientBuffer;
    if (address > UINT64_MAX - length)
        return WinError::InvalidParameter;
    if (!m_machine.readPhysicalMemory(address, output.first(static_cast<std::size_t>(length))))
        return WinError::AccessDenied;
    returned = static_cast<std::uint32_t>(length);
    return WinError::Success;
}

} // namespace solvane::hw
