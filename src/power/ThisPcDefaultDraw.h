#pragma once

#include "board/PlatformInfo.h"
#include "platform/Registry.h"
#include "power/SavingEstimate.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::power {

// What the saving of an ordinary PC is measured on.
enum class ThisPcDraw { None, Battery, Package };

// The registry values beside the saving totals that keep an ordinary PC's learned Default draw,
// one per draw: on battery the whole PC's draw is measured, on mains the CPU package's (and the
// graphics card's), so one says nothing of the other. Each holds the boards' format (see
// KeptDefaultDraw) under the PC's key.
struct ThisPcDrawValue {
    ThisPcDraw draw;
    std::string_view name;
};
inline constexpr std::array<ThisPcDrawValue, 2> kThisPcDrawValues{{
    {ThisPcDraw::Battery, "thisPcBatteryDefaultDraw"},
    {ThisPcDraw::Package, "thisPcPackageDefaultDraw"},
}};

// Who a PC is, as far as its firmware tells: product, baseboard maker, version and serial number
// (where readable), processor.
std::string machineIdentity(const PlatformInfo& platform);

// The key a PC's table is kept under: "pc-" and 16 hex digits of a hash of the machine and the
// draw's source, so a table of another machine, or of a draw measured on other counters (a
// graphics card's power that was not measured then), is not taken for this one's.
std::string thisPcDrawKey(std::string_view machine, std::string_view source);

// An ordinary PC's Default draws, as kept in the registry and as learned in this run.
class ThisPcDefaultDraw {
public:
    // Reads what earlier runs kept; `machine`: this PC's identity.
    void load(const platform::Registry& registry, std::string machine);
    // The table kept for this draw measured on this source on this machine; empty when there is
    // none, or what is kept is damaged or another's.
    std::optional<std::vector<SavingEstimate::DefaultEntry>> kept(ThisPcDraw draw,
                                                                  std::string_view source) const;
    // What this run learned of a draw, kept by the next keep() and taken back by kept().
    void learned(ThisPcDraw draw, std::string_view source,
                 const std::vector<SavingEstimate::DefaultEntry>& entries);
    // Writes the tables learned since they were last kept.
    void keep(platform::Registry& registry);

private:
    struct Slot {
        std::string text;
        bool changed = false;
    };

    std::string m_machine;
    std::array<Slot, kThisPcDrawValues.size()> m_slots{};
};

} // namespace solvane::power
