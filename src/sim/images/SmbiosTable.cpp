#include "sim/images/SmbiosTable.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace solvane::sim {

namespace {

// One structure being written: the formatted area grows byte by byte, strings are numbered from 1.
class Structure {
public:
    Structure(std::uint8_t type, std::uint16_t handle) {
        byte(type);
        byte(0); // the length, set when the structure is appended
        word(handle);
    }

    void byte(unsigned value) { m_formatted.push_back(static_cast<std::uint8_t>(value & 0xFFU)); }
    void word(unsigned value) {
        byte(value);
        byte(value >> 8);
    }
    void dword(std::uint32_t value) {
        word(value & 0xFFFFU);
        word(value >> 16);
    }
    // Adds a string reference: its number in the string set, or 0 for an empty string.
    void string(std::string_view text) {
        if (text.empty()) {
            byte(0);
            return;
        }
        m_strings.emplace_back(text);
        byte(static_cast<unsigned>(m_strings.size()));
    }

    void appendTo(std::vector<std::uint8_t>& table) const {
        auto formatted = m_formatted;
        formatted[1] = static_cast<std::uint8_t>(formatted.size());
        table.insert(table.end(), formatted.begin(), formatted.end());
        for (const auto& text : m_strings) {
            table.insert(table.end(), text.begin(), text.end());
            table.push_back(0);
        }
        // A structure without strings still ends in two zero bytes.
        if (m_strings.empty())
            table.push_back(0);
        table.push_back(0);
    }

private:
    std::vector<std::uint8_t> m_formatted;
    std::vector<std::string> m_strings;
};

// SMBIOS memory type codes.
std::uint8_t smbiosMemoryType(MemoryType type) {
    switch (type) {
    case MemoryType::Ddr:
        return 0x12;
    case MemoryType::Ddr2:
        return 0x13;
    case MemoryType::Ddr3:
        return 0x18;
    }
    return 0x02;
}

std::string hex8(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

void addBios(std::vector<std::uint8_t>& table, const SmbiosIdentity& identity, std::uint16_t handle) {
    Structure bios(0, handle);
    bios.string(identity.biosVendor);
    bios.string(identity.biosVersion);
    bios.word(0xE000); // runtime segment
    bios.string(identity.biosDate);
    bios.byte(0x0F); // a 1 MB firmware image
    // ISA, PCI, plug and play, flash upgrade, shadowing, boot from CD, selectable boot, EDD, the
    // legacy int 13h/5h/9h/14h/17h/10h services.
    bios.dword(0x7FCB9E80);
    bios.dword(0x00000000);
    bios.byte(0x33); // ACPI, USB legacy, LS-120 and ATAPI ZIP boot
    bios.byte(0x05); // BIOS boot specification, targeted content distribution
    bios.byte(8);    // firmware major and minor release
    bios.byte(15);
    bios.byte(0xFF); // no embedded controller
    bios.byte(0xFF);
    bios.appendTo(table);
}

void addSystem(std::vector<std::uint8_t>& table, const SmbiosIdentity& identity, std::uint16_t handle) {
    Structure system(1, handle);
    system.string(identity.maker);
    system.string(identity.systemProduct);
    system.string(identity.baseboardVersion);
    system.string("To Be Filled By O.E.M.");
    // A UUID of the board, made from its code and serial so it stays the same across runs.
    const auto seed = static_cast<std::uint32_t>(identity.boardCode) * 2654435761U;
    for (std::uint32_t i = 0; i < 4; ++i)
        system.dword(seed ^ (0x9E3779B9U * (i + 1)) ^
                     static_cast<std::uint32_t>(identity.baseboardSerial.size() << i));
    system.byte(0x06); // woken by the power switch
    system.string("To Be Filled By O.E.M.");
    system.string("Desktop");
    system.appendTo(table);
}

void addBaseboard(std::vector<std::uint8_t>& table, const SmbiosIdentity& identity, std::uint16_t handle,
                  std::uint16_t chassisHandle) {
    Structure board(2, handle);
    board.string(identity.maker);
    board.string(identity.baseboardProduct);
    board.string(identity.baseboardVersion);
    board.string(identity.baseboardSerial);
    board.string("To Be Filled By O.E.M.");
    board.byte(0x09); // a hosting board, replaceable
    board.string("");
    board.word(chassisHandle);
    board.byte(0x0A); // motherboard
    board.byte(0);    // no contained objects
    board.appendTo(table);
}

void addChassis(std::vector<std::uint8_t>& table, const SmbiosIdentity& identity, std::uint16_t handle) {
    Structure chassis(3, handle);
    chassis.string(identity.maker);
    chassis.byte(0x03); // desktop
    chassis.string("");
    chassis.string("");
    chassis.string("");
    chassis.byte(0x03); // boot-up, power supply and thermal state safe, no security
    chassis.byte(0x03);
    chassis.byte(0x03);
    chassis.byte(0x03);
    chassis.dword(0);
    chassis.byte(0); // height unknown
    chassis.byte(1); // one power cord
    chassis.byte(0); // no contained elements
    chassis.byte(0);
    chassis.appendTo(table);
}

void addProcessor(std::vector<std::uint8_t>& table, const ProcessorModel& cpu, std::uint16_t handle) {
    Structure processor(4, handle);
    processor.string(cpu.socket);
    processor.byte(0x03); // central processor
    processor.byte(cpu.family);
    processor.string(cpu.vendor == CpuVendor::Intel ? "Intel" : "AMD");
    processor.dword(cpu.signature); // processor ID: CPUID EAX, then EDX
    processor.dword(cpu.features);
    processor.string(cpu.version);
    processor.byte(0x80 | static_cast<unsigned>(cpu.loadVidMillivolts / 100)); // voltage in tenths of a volt
    processor.word(static_cast<unsigned>(cpu.externalClockMhz));
    processor.word(static_cast<unsigned>(cpu.maxSpeedMhz));
    processor.word(static_cast<unsigned>(cpu.maxSpeedMhz));
    processor.byte(0x41);   // socket populated, processor enabled
    processor.byte(0x01);   // upgrade: other
    processor.word(0xFFFF); // no cache structures
    processor.word(0xFFFF);
    processor.word(0xFFFF);
    processor.string("");
    processor.string("");
    processor.string("");
    processor.byte(static_cast<unsigned>(cpu.cores));
    processor.byte(static_cast<unsigned>(cpu.cores));
    processor.byte(static_cast<unsigned>(cpu.threads));
    processor.word(0x000C); // 64-bit capable, multi-core
    processor.appendTo(table);
}

void addMemory(std::vector<std::uint8_t>& table, const SmbiosIdentity& identity, std::uint16_t& handle) {
    const auto arrayHandle = handle++;
    Structure array(16, arrayHandle);
    array.byte(0x03);       // on the system board
    array.byte(0x03);       // system memory
    array.byte(0x03);       // no error correction
    array.dword(16U << 20); // up to 16 GB, in kilobytes
    array.word(0xFFFE);     // no error information
    array.word(kMemorySlots);
    array.appendTo(table);

    for (std::size_t slot = 0; slot < kMemorySlots; ++slot) {
        const auto module =
            std::find_if(identity.modules.begin(), identity.modules.end(),
                         [&](const MemoryModule& candidate) { return candidate.slot == slot; });
        const bool present = module != identity.modules.end();
        Structure device(17, handle++);
        device.word(arrayHandle);
        device.word(0xFFFE);
        device.word(present ? 64 : 0xFFFF); // total and data width
        device.word(present ? 64 : 0xFFFF);
        device.word(present ? static_cast<unsigned>(module->sizeMegabytes) : 0);
        device.byte(0x09); // DIMM
        device.byte(0);
        device.string(kSlotNames[slot]);
        device.string("BANK" + std::to_string(slot));
        device.byte(present ? smbiosMemoryType(module->type) : 0x02);
        device.word(present ? 0x0080 : 0x0000); // synchronous
        device.word(present ? static_cast<unsigned>(module->dataRate) : 0);
        if (present) {
            const auto& maker = kMemoryMakers[module->maker];
            device.string(maker.name);
            device.string(hex8(module->serial));
            device.string("");
            device.string(module->type == MemoryType::Ddr3   ? maker.ddr3Part
                          : module->type == MemoryType::Ddr2 ? maker.ddr2Part
                                                             : maker.ddrPart);
        } else {
            device.string("");
            device.string("");
            device.string("");
            device.string("");
        }
        device.appendTo(table);
    }
}

} // namespace

std::vector<std::uint8_t> buildSmbiosTable(const SmbiosIdentity& identity) {
    std::vector<std::uint8_t> table;
    std::uint16_t handle = 0;
    addBios(table, identity, handle++);
    addSystem(table, identity, handle++);
    const auto boardHandle = handle++;
    const auto chassisHandle = handle++;
    addBaseboard(table, identity, boardHandle, chassisHandle);
    addChassis(table, identity, chassisHandle);
    if (identity.processor)
        addProcessor(table, *identity.processor, handle++);
    addMemory(table, identity, handle);
    Structure end(127, handle);
    end.appendTo(table);
    return table;
}

} // namespace solvane::sim
