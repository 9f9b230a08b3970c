#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace solvane::sysinfo {

// The JEDEC JEP-106 manufacturer identification list, banks 1 to 7, one table of text rows per bank:
// the manufacturer's code with its odd-parity bit 7 and the manufacturer's name ("0x01;AMD;").
inline constexpr int kJep106Banks = 7;

// The rows of bank (1 to 7); empty for any other bank.
std::span<const std::string_view> jep106Bank(int bank);

// The name of the first row of bank whose code equals code, parity bit included; empty when the bank
// has no table or no such row.
std::string_view jep106Name(int bank, std::uint8_t code);

// The memory page's DDR3 rule reads banks 1 to 7 only; DDR4 and DDR5 modules name makers from the
// later banks too, 8 to 13.
inline constexpr int kJep106AllBanks = 13;
// The rows of bank 8 to 13; empty for any other bank.
std::span<const std::string_view> jep106LaterBank(int bank);
// As jep106Name, over banks 1 to 13.
std::string_view jep106NameAnyBank(int bank, std::uint8_t code);

} // namespace solvane::sysinfo
