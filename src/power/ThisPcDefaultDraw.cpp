#include "power/ThisPcDefaultDraw.h"

#include "power/KeptDefaultDraw.h"
#include "power/PowerMeasurement.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace solvane::power {

namespace {

// FNV-1a, 64 bits: the same on every machine and build, unlike std::hash. It tells tables apart;
// nothing depends on it being hard to forge.
constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;

std::uint64_t fnv1a(std::string_view text, std::uint64_t hash = kFnvOffset) {
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kFnvPrime;
    }
    return hash;
}

// Where a draw's table sits among kThisPcDrawValues; none for ThisPcDraw::None.
std::optional<std::size_t> slotOf(ThisPcDraw draw) {
    const auto value = std::find_if(kThisPcDrawValues.begin(), kThisPcDrawValues.end(),
                                    [draw](const ThisPcDrawValue& v) { return v.draw == draw; });
    if (value == kThisPcDrawValues.end())
        return std::nullopt;
    return static_cast<std::size_t>(value - kThisPcDrawValues.begin());
}

} // namespace

std::string machineIdentity(const PlatformInfo& platform) {
    std::string identity;
    for (const auto* part :
         {&platform.BoardString, &platform.BoardModelPrefix, &platform.baseboardManufacturer,
          &platform.baseboardVersion, &platform.baseboardSerialNumber, &platform.processorVersion,
          &platform.processorId}) {
        identity += *part;
        identity += '\n';
    }
    return identity;
}

std::string thisPcDrawKey(std::string_view machine, std::string_view source) {
    // The two parts are hashed apart from each other, so no machine and source run together into
    // another pair's text.
    const auto hash = fnv1a(source, fnv1a("\n", fnv1a(machine)));
    char key[24];
    std::snprintf(key, sizeof key, "pc-%016llx", static_cast<unsigned long long>(hash));
    return key;
}

void ThisPcDefaultDraw::load(const platform::Registry& registry, std::string machine) {
    m_machine = std::move(machine);
    for (std::size_t i = 0; i < kThisPcDrawValues.size(); ++i)
        m_slots[i] = {registry.readString(kSavingTotalsKey, kThisPcDrawValues[i].name).value_or(""), false};
}

std::optional<std::vector<SavingEstimate::DefaultEntry>>
ThisPcDefaultDraw::kept(ThisPcDraw draw, std::string_view source) const {
    const auto slot = slotOf(draw);
    if (!slot)
        return std::nullopt;
    return parseKeptDefaultDraw(m_slots[*slot].text, thisPcDrawKey(m_machine, source));
}

void ThisPcDefaultDraw::learned(ThisPcDraw draw, std::string_view source,
                                const std::vector<SavingEstimate::DefaultEntry>& entries) {
    if (const auto slot = slotOf(draw))
        m_slots[*slot] = {keptDefaultDrawText(thisPcDrawKey(m_machine, source), entries), true};
}

void ThisPcDefaultDraw::keep(platform::Registry& registry) {
    for (std::size_t i = 0; i < kThisPcDrawValues.size(); ++i) {
        auto& slot = m_slots[i];
        if (slot.changed && registry.writeString(kSavingTotalsKey, kThisPcDrawValues[i].name, slot.text))
            slot.changed = false;
    }
}

} // namespace solvane::power
