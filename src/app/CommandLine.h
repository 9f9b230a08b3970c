#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::app {

enum class HardwareKind { Simulated, Host };

struct Options {
    std::filesystem::path stateFolder; // empty: the default state folder
    HardwareKind hardware = HardwareKind::Simulated;
    int boardCode = 2917;              // simulated board; 0 = a board Solvane does not know
    bool boardGiven = false;           // --board was on the command line
    std::optional<std::uint32_t> seed; // empty: seeded from the time
    bool batch = false;
    bool help = false;
    bool version = false;

    // Real dumps standing in for parts of the hardware.
    std::filesystem::path dmiFile;     // --dmi FILE
    std::vector<std::string> spdSlots; // --spd SLOT=FILE, once per slot
    std::filesystem::path pciFile;     // --pci FILE
    std::filesystem::path sysfsRoot;   // --sysfs-root DIR (host hardware only)
    std::filesystem::path procRoot;    // --proc-root DIR (host hardware only)

    // What the simulated board varies (empty: the board's own); parsed by the simulation.
    std::string cpuLoad;              // --cpu-load host|N|N,N,...[@SECONDS]
    std::string baseboardVersion;     // --baseboard-version TEXT
    std::string biosVersion;          // --bios-version TEXT
    std::string graphics;             // --graphics nvidia|intel|ati
    std::string memory;               // --memory none|SLOT=TYPE-SIZE[-RANKSR][-RATE][-MAKER],...
    bool codeOnlyProductName = false; // --product-name code-only

    bool report = false;                  // --report: print, no window
    std::string reportMode;               // --mode default|optimize|max: applied before the report
    int reportRefreshes = 0;              // --refreshes N: refreshes on the virtual clock first
    bool json = false;                    // --json: the report as JSON
    std::filesystem::path snapshotFolder; // --snapshot DIR: one picture per page, then exit
    bool minimized = false;               // --minimized: start as the notification-area icon alone

    // The power history and the metrics endpoint.
    std::filesystem::path exportHistoryFile; // --export-history FILE.csv: write the history, no window
    std::string historyFrom;                 // --from DATE
    std::string historyTo;                   // --to DATE
    bool historyDays = false;                // --rows days: day rows instead of minute rows
    std::string metricsAddress;              // --metrics ADDRESS:PORT (empty: no endpoint)
    bool noWindow = false;                   // --no-window: monitor, history and endpoint only
};

struct ParsedCommandLine {
    Options options;
    std::string error; // set when the command line cannot be used; the program exits with code 2
};

ParsedCommandLine parseCommandLine(const std::vector<std::string_view>& arguments);

std::string usageText();
std::string versionText();

inline constexpr int kUsageExitCode = 2;
// A day of refreshes, 3 s apart.
inline constexpr int kMostReportRefreshes = 28800;

} // namespace solvane::app
