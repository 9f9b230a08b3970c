#pragma once

#include "platform/RegistryKeyTree.h"

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
// Strings holding control characters are written as hex(1) (UTF-16LE) so that every byte string
// survives the round trip; values of types the program does not use are written back as they
// were read (hex:, hex(2), hex(7), hex(b), …). Values directly under the hive go under
// [HKEY_LOCAL_MACHINE]; a key's default value is written as @=.
std::string formatRegEdit(const RegistryKeyTree& tree);

struct RegEditParseResult {
    bool ok = false;
    int errorLine = 0;
    std::string error;
};

// Parses text written by formatRegEdit, and what the Windows registry editor exports of
// HKEY_LOCAL_MACHINE (UTF-16LE with a byte-order mark or 8-bit text, "REGEDIT4" or version 5.00,
// default values, every hex form, key and value deletions), into tree. Keys nested deeper than
// RegistryKeyTree::kMaxDepth are refused. On failure the tree holds what was read before the error.
RegEditParseResult parseRegEdit(std::string_view text, RegistryKeyTree& tree);

inline constexpr std::string_view kRegEditHeader = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE";

} // namespace solvane::platform
