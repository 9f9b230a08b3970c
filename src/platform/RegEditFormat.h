#pragma once

#include "platform/RegistryTree.h"

#include <string>
#include <string_view>

namespace solvane::platform {

// The text form of a registry tree, as the Windows registry editor exports it:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Tarvok\SolvaneCenter]
//   "EnableSolvane"="2"
//   "degree"=dword:0000000a
//
// Strings holding control characters are written as hex(1) (UTF-16LE, one code unit per byte) so
// that every byte string survives the round trip.
std::string formatRegEdit(const RegistryTree& tree);

struct RegEditParseResult {
    bool ok = false;
    int errorLine = 0;
    std::string error;
};

// Parses text written by formatRegEdit (and ordinary REGEDIT5 exports of HKEY_LOCAL_MACHINE with
// string and dword values) into tree. On failure the tree holds what was read before the error.
RegEditParseResult parseRegEdit(std::string_view text, RegistryTree& tree);

inline constexpr std::string_view kRegEditHeader = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

} // namespace solvane::platform
