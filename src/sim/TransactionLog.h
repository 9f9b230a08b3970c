#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace solvane::sim {

// Which bus access a transaction was, and through which library entry point.
enum class BusAccess : std::uint8_t {
    HoblinSmbus,  // Smbus_JRW: unit = the 8-bit address as passed (odd reads, even writes)
    FalwickSmbus, // Smbus_ByteRW: the same
    Port,         // BaseByte_RW: unit = the port
    Pci,          // PCI_RW: unit = bus << 8 | device << 3 | function, reg = the offset
    SuperIo,      // Get_EFERs: unit = the logical device, reg = the register
    Cmos,         // GetCmosAddressByte / WriteCmosAddressByte: unit = the index port, reg = the index
    FanControl,   // FanControl: reg = the fan register
};

enum class Direction : std::uint8_t { Read, Write };

// How the board answered.
enum class Outcome : std::uint8_t {
    Done,       // the register was read or written
    NoDevice,   // nothing answers at that address, port or function
    NoRegister, // the device has no such register
    ReadOnly,   // the register ignores writes
    NotLoaded,  // the library was not loaded (or was unloaded) when it was called
    WrongPort,  // a configuration or index port the board does not decode
};

// One access, with what was written or what was read back.
struct Transaction {
    BusAccess access = BusAccess::HoblinSmbus;
    Direction direction = Direction::Read;
    std::uint16_t unit = 0;
    std::uint16_t reg = 0;
    std::uint32_t value = 0;
    Outcome outcome = Outcome::Done;
};

std::string describe(const Transaction& transaction);

// Every bus transaction the board saw, newest last. It keeps the latest kCapacity of them so that a
// program running for days does not grow without bound; total() counts all of them.
class TransactionLog {
public:
    static constexpr std::size_t kCapacity = 65536;

    void record(const Transaction& transaction);
    void clear();

    const std::deque<Transaction>& entries() const { return m_entries; }
    std::size_t total() const { return m_total; }
    // The writes among the kept entries (of every outcome), oldest first.
    std::vector<Transaction> writes() const;

private:
    std::deque<Transaction> m_entries;
    std::size_t m_total = 0;
};

} // namespace solvane::sim
