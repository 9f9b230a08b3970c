#pragma once

#include <string_view>

// The two information pages that show only their template's caption over the page background:
// the BIOS page (dialog 140) and the CPU page (dialog 137). The window never adds them.
namespace solvane::sysinfo::pages::caption_ids {

inline constexpr int kBiosDialog = 140;
inline constexpr std::string_view kBiosCaption = "BIOS Information";
inline constexpr int kCpuDialog = 137;
inline constexpr std::string_view kCpuCaption = "CPU Information";
// The caption static of both templates.
inline constexpr int kCaption = 1000;

} // namespace solvane::sysinfo::pages::caption_ids
