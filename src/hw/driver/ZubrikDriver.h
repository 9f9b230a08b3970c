#pragma once

#include "hw/MachineAccess.h"
#include "platform/DeviceIo.h"

namespace solvane::hw {

// The kernel side of the I/O driver: checks each request's buffers and answers it from the
// machine. It refuses what a careful driver refuses (short buffers, sizes that overflow, ranges
// past the configuration space) rather than reading outside them.
class ZubrikDriver final : public platform::DeviceDriver {
public:
    explicit ZubrikDriver(MachineAccess& machine);

    platform::WinError control(std::uint32_t code, std::span<const std::uint8_t> input,
                               std::span<std::uint8_t> output, std::uint32_t& returned,
                               unsigned openHandles) override;

private:
    platform::WinError readPci(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                               std::uint32_t& returned);
    platform::WinError readMemory(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                                  std::uint32_t& returned);

    MachineAccess& m_machine;
};

} // namespace solvane::hw
