#include "app/CommandLineOptions.h"

#include "history/IsoTime.h"
#include "history/ListenAddress.h"
#include "sim/boards/GraphicsCard.h"
#include "sim/boards/MemoryModule.h"
#include "sim/physics/CpuLoadSource.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace solvane::app {

namespace {

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::int64_t value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "2917", "KX-2917" or "unknown". A board code has four digits and no leading zero, so "0000" is
// refused like "0" ("unknown" names a board Solvane does not know).
std::optional<int> parseBoard(std::string_view text) {
    if (text == "unknown")
        return 0;
    if (text.starts_with("KX-") || text.starts_with("kx-"))
        text.remove_prefix(3);
    const auto code = text.size() == 4 ? wholeNumber(text) : std::nullopt;
    if (!code || *code < 1000)
        return std::nullopt;
    return code;
}

constexpr std::string_view kBoardNeeds =
    "takes a four-digit board code such as 2917 (or KX-2917, or 'unknown')";
constexpr std::string_view kSpdNeeds = "takes SLOT=FILE, for example DIMM_A0=module.bin";
constexpr std::string_view kDate = "a date such as 2026-12-07 or 2026-12-07T10:00";
constexpr std::string_view kNeedsDate = "needs a date such as 2026-12-07 or 2026-12-07T10:00";

constexpr std::array<std::string_view, 2> kHardwareWords{"sim", "host"};
constexpr std::array<std::string_view, 2> kProductNameWords{"full", "code-only"};
constexpr std::array<std::string_view, 3> kModeWords{"default", "optimize", "max"};
constexpr std::array<std::string_view, 2> kRowsWords{"minutes", "days"};

std::filesystem::path pathOf(std::string_view value) {
    return std::filesystem::path(std::string(value));
}

std::string refusedDate(std::string_view option, std::string_view value, history::Bound bound) {
    if (history::parseIsoTime(value, bound))
        return {};
    return "option " + std::string(option) + " takes " + std::string(kDate) + " (UTC)";
}

// The switches and the values are stored by name; each store keeps only what its option means.
constexpr std::array kOptions{
    CommandLineOption{
        .name = "--state-dir",
        .kind = ValueKind::Folder,
        .placeholder = "DIR",
        .help = "keep the registry, the driver service table and the board state in DIR\n"
                "(default $XDG_STATE_HOME/solvane)",
        .needs = "needs a folder",
        .store = [](Options& o, std::string_view v) { o.stateFolder = pathOf(v); },
    },
    CommandLineOption{
        .name = "--hardware",
        .kind = ValueKind::Word,
        .words = kHardwareWords,
        .help = "sim: a simulated Tarvok board (default); host: this machine, read only",
        .store =
            [](Options& o, std::string_view v) {
                o.hardware = v == "host" ? HardwareKind::Host : HardwareKind::Simulated;
            },
    },
    CommandLineOption{
        .name = "--board",
        .kind = ValueKind::Text,
        .placeholder = "CODE",
        .help = "the simulated board, 2901 to 2918 or 'unknown' (default 2917)",
        .needs = kBoardNeeds,
        .refusal =
            [](std::string_view v) {
                return parseBoard(v) ? std::string() : "option --board " + std::string(kBoardNeeds);
            },
        .store =
            [](Options& o, std::string_view v) {
                o.boardCode = *parseBoard(v);
                o.boardGiven = true;
            },
    },
    CommandLineOption{
        .name = "--cpu-load",
        .kind = ValueKind::Text,
        .placeholder = "LOAD",
        .help = "the simulated CPU load: 'host' (this machine's, default), a percentage,\n"
                "or percentages in turn ('10,90,50', each 30 s; '10,90@5' for 5 s each)",
        .needs = "needs a value",
        .refusal =
            [](std::string_view v) {
                std::string problem;
                return sim::parseCpuLoad(v, problem) ? std::string()
                                                     : "--cpu-load " + std::string(v) + ": " + problem;
            },
        .store = [](Options& o, std::string_view v) { o.cpuLoad = v; },
    },
    CommandLineOption{
        .name = "--baseboard-version",
        .kind = ValueKind::Text,
        .placeholder = "TEXT",
        .help = "the board version the simulated firmware reports\n(e.g. '5.0' or '6.0' on a KX-2904)",
        .needs = "needs a value",
        .store = [](Options& o, std::string_view v) { o.baseboardVersion = std::string(v); },
    },
    CommandLineOption{
        .name = "--bios-version",
        .kind = ValueKind::Text,
        .placeholder = "TEXT",
        .help = "the BIOS version the simulated firmware reports",
        .needs = "needs a value",
        .store = [](Options& o, std::string_view v) { o.biosVersion = std::string(v); },
    },
    CommandLineOption{
        .name = "--graphics",
        .kind = ValueKind::Text,
        .placeholder = "VENDOR",
        .help = "the simulated graphics card: nvidia, intel or ati",
        .needs = "needs a value",
        .refusal =
            [](std::string_view v) {
                return sim::parseGraphicsVendor(v)
                           ? std::string()
                           : "--graphics " + std::string(v) + ": takes nvidia, intel or ati";
            },
        .store = [](Options& o, std::string_view v) { o.graphics = v; },
    },
    CommandLineOption{
        .name = "--memory",
        .kind = ValueKind::Text,
        .placeholder = "MODULES",
        .help = "the simulated modules: 'none' or e.g.\n'A0=DDR3-2G-2R-1600-Kingston,B0=DDR3-2048'",
        .needs = "needs a value",
        .refusal =
            [](std::string_view v) {
                std::string problem;
                return sim::parseMemoryModules(v, problem) ? std::string()
                                                           : "--memory " + std::string(v) + ": " + problem;
            },
        .store = [](Options& o, std::string_view v) { o.memory = v; },
    },
    CommandLineOption{
        .name = "--product-name",
        .kind = ValueKind::Word,
        .words = kProductNameWords,
        .help = "how the simulated firmware names the board",
        .store = [](Options& o, std::string_view v) { o.codeOnlyProductName = v == "code-only"; },
    },
    CommandLineOption{
        .name = "--seed",
        .kind = ValueKind::WholeNumber,
        .placeholder = "N",
        .least = 0,
        .most = std::numeric_limits<std::uint32_t>::max(),
        .help = "seed the pseudo-random numbers with N instead of the time",
        .store = [](Options& o, std::string_view v) { o.seed = static_cast<std::uint32_t>(*wholeNumber(v)); },
    },
    CommandLineOption{
        .name = "--batch",
        .help = "message boxes print to standard error and take their default button",
        .store = [](Options& o, std::string_view) { o.batch = true; },
    },
    CommandLineOption{
        .name = "--report",
        .help = "print the board, its settings, one refresh of the read-outs and the\n"
                "system information, without a window",
        .store = [](Options& o, std::string_view) { o.report = true; },
    },
    CommandLineOption{
        .name = "--json",
        .help = "with --report: print the report as JSON",
        .store = [](Options& o, std::string_view) { o.json = true; },
    },
    CommandLineOption{
        .name = "--mode",
        .kind = ValueKind::Word,
        .words = kModeWords,
        .help = "with --report: apply that mode to the board in memory before\nreporting",
        .store = [](Options& o, std::string_view v) { o.reportMode = std::string(v); },
    },
    CommandLineOption{
        .name = "--refreshes",
        .kind = ValueKind::WholeNumber,
        .placeholder = "N",
        .least = 0,
        .most = kMostReportRefreshes,
        .help = "with --report: run N refreshes 3 s apart on a virtual clock before reporting",
        .store = [](Options& o,
                    std::string_view v) { o.reportRefreshes = static_cast<int>(*wholeNumber(v)); },
    },
    CommandLineOption{
        .name = "--snapshot",
        .kind = ValueKind::Folder,
        .placeholder = "DIR",
        .help = "save a picture of the main window on every page into DIR, then exit",
        .needs = "needs a folder",
        .store = [](Options& o, std::string_view v) { o.snapshotFolder = pathOf(v); },
    },
    CommandLineOption{
        .name = "--minimized",
        .help = "start as the notification-area icon alone (for an autostart entry);\n"
                "the icon's Solvane command or a double click shows the window",
        .store = [](Options& o, std::string_view) { o.minimized = true; },
    },
    CommandLineOption{
        .name = "--export-history",
        .kind = ValueKind::File,
        .placeholder = "FILE.csv",
        .help = "write the power history as CSV (times in UTC), then exit",
        .needs = "needs a file",
        .store = [](Options& o, std::string_view v) { o.exportHistoryFile = pathOf(v); },
    },
    CommandLineOption{
        .name = "--from",
        .kind = ValueKind::Text,
        .placeholder = "DATE",
        .help = "with --export-history: the first day or minute\n(2026-12-07 or 2026-12-07T10:00)",
        .needs = kNeedsDate,
        .refusal = [](std::string_view v) { return refusedDate("--from", v, history::Bound::Start); },
        .store = [](Options& o, std::string_view v) { o.historyFrom = v; },
    },
    CommandLineOption{
        .name = "--to",
        .kind = ValueKind::Text,
        .placeholder = "DATE",
        .help = "with --export-history: the last day or minute",
        .needs = kNeedsDate,
        .refusal = [](std::string_view v) { return refusedDate("--to", v, history::Bound::End); },
        .store = [](Options& o, std::string_view v) { o.historyTo = v; },
    },
    CommandLineOption{
        .name = "--rows",
        .kind = ValueKind::Word,
        .words = kRowsWords,
        .help = "with --export-history: a row per minute (default) or per day",
        .store = [](Options& o, std::string_view v) { o.historyDays = v == "days"; },
    },
    CommandLineOption{
        .name = "--metrics",
        .kind = ValueKind::Text,
        .placeholder = "ADDRESS:PORT",
        .help = "serve /metrics for monitoring (Prometheus text format); the address\n"
                "is 127.0.0.1 when only a port is given",
        .needs = "needs an address such as 127.0.0.1:9101",
        .refusal =
            [](std::string_view v) {
                return history::parseListenAddress(v)
                           ? std::string()
                           : std::string(
                                 "option --metrics takes ADDRESS:PORT or PORT, for example 127.0.0.1:9101");
            },
        .store = [](Options& o, std::string_view v) { o.metricsAddress = v; },
    },
    CommandLineOption{
        .name = "--no-window",
        .help = "run the monitor, the history and the metrics without a window, until\n"
                "SIGTERM or SIGINT",
        .store = [](Options& o, std::string_view) { o.noWindow = true; },
    },
    CommandLineOption{
        .name = "--sysfs-root",
        .kind = ValueKind::Folder,
        .placeholder = "DIR",
        .help = "with --hardware host: read this sysfs tree instead of /sys",
        .needs = "needs a folder",
        .store = [](Options& o, std::string_view v) { o.sysfsRoot = pathOf(v); },
    },
    CommandLineOption{
        .name = "--proc-root",
        .kind = ValueKind::Folder,
        .placeholder = "DIR",
        .help = "with --hardware host: read meminfo and cpuinfo from this tree instead of\n/proc",
        .needs = "needs a folder",
        .store = [](Options& o, std::string_view v) { o.procRoot = pathOf(v); },
    },
    CommandLineOption{
        .name = "--dmi",
        .kind = ValueKind::File,
        .placeholder = "FILE",
        .help = "SMBIOS from a dump (a raw table or dmidecode --dump-bin)",
        .needs = "needs a file",
        .store = [](Options& o, std::string_view v) { o.dmiFile = pathOf(v); },
    },
    CommandLineOption{
        .name = "--spd",
        .kind = ValueKind::Text,
        .placeholder = "SLOT=FILE",
        .help = "a memory module's SPD from a dump (binary or hex), SLOT DIMM_A0 or 0xA0",
        .needs = kSpdNeeds,
        .refusal =
            [](std::string_view v) {
                return v.find('=') != std::string_view::npos ? std::string()
                                                             : "option --spd " + std::string(kSpdNeeds);
            },
        .store = [](Options& o, std::string_view v) { o.spdSlots.emplace_back(v); },
    },
    CommandLineOption{
        .name = "--pci",
        .kind = ValueKind::File,
        .placeholder = "FILE",
        .help = "PCI configuration space from lspci -x or -xxx output",
        .needs = "needs a file",
        .store = [](Options& o, std::string_view v) { o.pciFile = pathOf(v); },
    },
    CommandLineOption{
        .name = "--help",
        .shortName = "-h",
        .help = "print this help and exit",
        .store = [](Options& o, std::string_view) { o.help = true; },
    },
    CommandLineOption{
        .name = "--version",
        .help = "print the version and exit",
        .store = [](Options& o, std::string_view) { o.version = true; },
    },
};

} // namespace

std::span<const CommandLineOption> commandLineOptions() {
    return kOptions;
}

const CommandLineOption* findCommandLineOption(std::string_view argument) {
    for (const auto& option : kOptions)
        if (argument == option.name || (!option.shortName.empty() && argument == option.shortName))
            return &option;
    return nullptr;
}

std::string refusalOf(const CommandLineOption& option, std::optional<std::string_view> value) {
    const std::string name(option.name);
    switch (option.kind) {
    case ValueKind::Word: {
        if (value && std::ranges::find(option.words, *value) != option.words.end())
            return {};
        std::string listed;
        for (std::size_t i = 0; i < option.words.size(); ++i)
            listed += (i == 0                         ? "'"
                       : i + 1 == option.words.size() ? " or '"
                                                      : ", '") +
                      std::string(option.words[i]) + "'";
        return "option " + name + " takes " + listed;
    }
    case ValueKind::WholeNumber: {
        const auto number = value ? wholeNumber(*value) : std::nullopt;
        if (number && *number >= option.least && *number <= option.most)
            return {};
        return "option " + name + " takes a whole number from " + std::to_string(option.least) + " to " +
               std::to_string(option.most);
    }
    case ValueKind::None:
        return value ? "option " + name + " takes no value" : std::string();
    case ValueKind::Text:
    case ValueKind::File:
    case ValueKind::Folder:
        break;
    }
    if (!value || value->empty())
        return "option " + name + " " + std::string(option.needs);
    return option.refusal ? option.refusal(*value) : std::string();
}

} // namespace solvane::app
