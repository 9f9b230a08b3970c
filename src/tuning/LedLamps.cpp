#include "tuning/LedLamps.h"

#include "power/PhaseReadout.h"

#include <span>

namespace solvane::tuning {

using power::Setting;
namespace image = lamp_image;

namespace {

int lit(bool on) {
    return on ? image::kLit : image::kDark;
}

power::SettingValue valueOf(const power::SettingVector& values, Setting setting) {
    return values[static_cast<std::size_t>(setting)];
}

// Lamp k (from 1) of a phase domain is lit while at least k phases work and its switch is 0.
void addPhaseLamps(std::vector<LampPicture>& out, std::span<const int> lamps, int activePhases, bool on) {
    for (std::size_t k = 0; k < lamps.size(); ++k)
        out.push_back({lamps[k], lit(on && activePhases > static_cast<int>(k))});
}

// A blinking phase domain: only the lamps within the active count take the blink phase.
void addBlinkingPhaseLamps(std::vector<LampPicture>& out, std::span<const int> lamps, int activePhases,
                           bool on) {
    for (std::size_t k = 0; k < lamps.size() && static_cast<int>(k) < activePhases; ++k)
        out.push_back({lamps[k], lit(on)});
}

int domainCount(const power::PowerSavingState& state, Setting setting) {
    const auto value = valueOf(state.modes.CurrentValues, setting);
    return value == power::kNotPresent ? 0
                                       : power::activePhaseCount(value, state.routines.levelCount(setting));
}

void addSwitchBlink(std::vector<LampPicture>& out, Setting setting, bool on, const LedPhaseCounts& phases) {
    switch (setting) {
    case Setting::CpuPhaseLed:
        out.push_back({lamp::kCpu[0], lit(on)});
        addBlinkingPhaseLamps(out, std::span(lamp::kCpu).subspan(1), phases.cpu - 1, on);
        break;
    case Setting::CpuVttdPhaseLed:
        addBlinkingPhaseLamps(out, lamp::kQpi, phases.qpi, on);
        break;
    case Setting::DdrPhaseLed:
        addBlinkingPhaseLamps(out, lamp::kMemory, phases.memory, on);
        break;
    case Setting::MchPhaseLed:
        addBlinkingPhaseLamps(out, lamp::kIoh, phases.ioh, on);
        break;
    case Setting::S0S3Led:
        out.push_back({lamp::kPower, on ? image::kPowerLit : image::kDark});
        out.push_back({lamp::kStandby, on ? image::kStandbyBlink : image::kDark});
        break;
    case Setting::PowerResetLed:
        out.push_back({lamp::kEasyButton, on ? image::kEasyButtonOn : image::kEasyButtonOff});
        break;
    case Setting::PciSlotLed:
        out.push_back({lamp::kPciSlot, lit(on)});
        break;
    case Setting::PcieSlotLed:
        out.push_back({lamp::kPcieSlot, lit(on)});
        break;
    case Setting::CpuLoadLineLed:
        out.push_back({lamp::kLoadLine, lit(on)});
        break;
    case Setting::HdLed:
        out.push_back({lamp::kHardDisk, lit(on)});
        break;
    default:
        break;
    }
}

} // namespace

LedPhaseCounts ledPhaseCounts(const power::PowerSavingState& state) {
    const auto cpu = valueOf(state.modes.CurrentValues, Setting::CpuPhase);
    return {
        .cpu = power::activeCpuPhaseCount(cpu, state.routines.levelCount(Setting::CpuPhase),
                                          state.routines.activeCpuPhases),
        .qpi = domainCount(state, Setting::CpuVttdPhase),
        .memory = domainCount(state, Setting::DdrPhase),
        .ioh = domainCount(state, Setting::MchPhase),
    };
}

std::vector<LampPicture> lampPictures(const power::SettingVector& values, const LedPhaseCounts& phases,
                                      bool pciCard) {
    const auto automatic = [&values](Setting setting) { return valueOf(values, setting) == 0; };
    std::vector<LampPicture> out;
    addPhaseLamps(out, lamp::kCpu, phases.cpu, automatic(Setting::CpuPhaseLed));
    addPhaseLamps(out, lamp::kQpi, phases.qpi, automatic(Setting::CpuVttdPhaseLed));
    addPhaseLamps(out, lamp::kIoh, phases.ioh, automatic(Setting::MchPhaseLed));
    addPhaseLamps(out, lamp::kMemory, phases.memory, automatic(Setting::DdrPhaseLed));
    out.push_back({lamp::kPower, automatic(Setting::S0S3Led) ? image::kPowerLit : image::kDark});
    out.push_back({lamp::kStandby, image::kDark});
    out.push_back({lamp::kPciSlot, lit(automatic(Setting::PciSlotLed) && pciCard)});
    out.push_back({lamp::kPcieSlot, lit(automatic(Setting::PcieSlotLed))});
    out.push_back({lamp::kEasyButton,
                   automatic(Setting::PowerResetLed) ? image::kEasyButtonOn : image::kEasyButtonOff});
    out.push_back({lamp::kLoadLine, lit(automatic(Setting::CpuLoadLineLed))});
    out.push_back({lamp::kHardDisk, lit(automatic(Setting::HdLed))});
    return out;
}

std::vector<LampPicture> blinkPictures(int openSetting, bool phaseOn, const LedPhaseCounts& phases) {
    std::vector<LampPicture> out;
    if (openSetting == kAllLedSetting) {
        for (const auto& led : kLedSwitches)
            addSwitchBlink(out, static_cast<Setting>(led.setting), phaseOn, phases);
        return out;
    }
    addSwitchBlink(out, static_cast<Setting>(openSetting), phaseOn, phases);
    return out;
}

} // namespace solvane::tuning
