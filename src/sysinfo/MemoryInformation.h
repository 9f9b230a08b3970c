#pragma once

#include "hw/HardwareLibraries.h"
#include "platform/MemoryStatus.h"
#include "sysinfo/MemoryModuleDecoder.h"
#include "sysinfo/MemoryTables.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::sysinfo {

// Whether the SMBus library answered its load call when the power-saving page started it.
enum class SmbusLibrary { Loaded, NotLoaded };

// The memory page without its window: the slot scan over the SMBus library, the decoded module of the
// chosen list entry, and the memory status, as the texts of the page's fields by control number.
// A field that was never given a text keeps its template text.
class MemoryInformation {
public:
    using StatusSource = std::function<platform::MemoryStatus()>;
    // The whole SPD EEPROM at an address (write form) as the operating system's driver reads it,
    // across the EEPROM's pages; none where no driver gives it.
    using SpdImageSource = std::function<std::optional<std::vector<std::uint8_t>>(std::uint8_t address)>;

    // Without an image source a DDR4 or DDR5 module is decoded from the 256 bytes one SMBus page
    // holds, and shown as incomplete.
    MemoryInformation(hw::Hoblin& smbus, SmbusLibrary library, StatusSource status,
                      SpdImageSource images = {});

    // The page's initialisation: the slot scan, then the first module and the memory status
    // when a module was found. True when the memory status is to be refreshed on the timer from now
    // on: a module was found, or the SMBus library is missing and the status is all the page can show.
    bool initialise();
    // Shows the module of list entry index; outside the list nothing changes and false is returned.
    bool showModule(int index);
    // Reads the memory status and shows it.
    void refreshStatus();

    // The populated slots, in slot order; entry i is entry i of the drop-down list.
    const std::vector<MemorySlot>& modules() const { return m_modules; }
    bool ddr3Seen() const { return m_ddr3Seen; }
    unsigned ddr3TotalMegabytes() const { return m_ddr3TotalMegabytes; }
    // Why the list is empty; empty when it is not.
    std::string_view noModulesReason() const;
    // The decoded texts of list entry index, read afresh from its EEPROM.
    MemoryModuleTexts decodeModule(std::size_t index) const;

    // The texts given to the page's fields so far, by control number.
    const std::map<int, std::string>& fields() const { return m_fields; }
    std::optional<std::string> field(int controlId) const;

private:
    void scanSlots();
    std::uint8_t readSpd(std::uint8_t address, std::uint8_t offset) const;

    hw::Hoblin& m_smbus;
    SmbusLibrary m_library;
    StatusSource m_status;
    SpdImageSource m_images;
    std::vector<MemorySlot> m_modules;
    bool m_ddr3Seen = false;
    unsigned m_ddr3TotalMegabytes = 0;
    std::map<int, std::string> m_fields;
};

} // namespace solvane::sysinfo
