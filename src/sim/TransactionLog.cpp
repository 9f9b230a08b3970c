#include "sim/TransactionLog.h"

#include <array>
#include <cstdio>

namespace solvane::sim {

namespace {

constexpr std::array<const char*, 7> kAccessNames = {
    "SMBus (Hoblin)", "SMBus (Falwick)", "port", "PCI", "Super I/O", "CMOS", "fan control"};
constexpr std::array<const char*, 6> kOutcomeNames = {
    "", " [no device]", " [no register]", " [read-only]", " [not loaded]", " [wrong port]"};

} // namespace

std::string describe(const Transaction& transaction) {
    char text[128];
    const bool write = transaction.direction == Direction::Write;
    if (transaction.access == BusAccess::Pci) {
        std::snprintf(text, sizeof text, "%s %02X:%02X.%u reg 0x%02X %s 0x%08X%s",
                      kAccessNames[static_cast<std::size_t>(transaction.access)], transaction.unit >> 8U,
                      (transaction.unit >> 3U) & 0x1FU, transaction.unit & 7U, transaction.reg,
                      write ? "<-" : "->", transaction.value,
                      kOutcomeNames[static_cast<std::size_t>(transaction.outcome)]);
    } else {
        std::snprintf(text, sizeof text, "%s 0x%02X reg 0x%02X %s 0x%02X%s",
                      kAccessNames[static_cast<std::size_t>(transaction.access)], transaction.unit,
                      transaction.reg, write ? "<-" : "->", transaction.value,
                      kOutcomeNames[static_cast<std::size_t>(transaction.outcome)]);
    }
    return text;
}

void TransactionLog::record(const Transaction& transaction) {
    if (m_entries.size() == kCapacity)
        m_entries.pop_front();
    m_entries.push_back(transaction);
    ++m_total;
}

void TransactionLog::clear() {
    m_entries.clear();
    m_total = 0;
}

std::vector<Transaction> TransactionLog::writes() const {
    std::vector<Transaction> result;
    for (const auto& entry : m_entries)
        if (entry.direction == Direction::Write)
            result.push_back(entry);
    return result;
}

} // namespace solvane::sim
