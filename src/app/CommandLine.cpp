#include "app/CommandLine.h"

#include <charconv>

namespace solvane::app {

namespace {

template <class T> std::optional<T> parseNumber(std::string_view text) {
    T value{};
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
    const auto code = text.size() == 4 ? parseNumber<int>(text) : std::nullopt;
    if (!code || *code < 1000)
        return std::nullopt;
    return code;
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string_view>& arguments) {
    ParsedCommandLine parsed;
    auto& options = parsed.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() -> std::optional<std::string_view> {
            if (hasValue)
                return value;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        auto fail = [&](std::string message) {
            parsed.error = std::move(message);
            return parsed;
        };
        auto refuseValue = [&] { return fail("option " + std::string(argument) + " takes no value"); };

        if (argument == "--help" || argument == "-h") {
            if (hasValue)
                return refuseValue();
            options.help = true;
        } else if (argument == "--version") {
            if (hasValue)
                return refuseValue();
            options.version = true;
        } else if (argument == "--batch") {
            if (hasValue)
                return refuseValue();
            options.batch = true;
        } else if (argument == "--state-dir") {
            const auto folder = takeValue();
            if (!folder || folder->empty())
                return fail("option --state-dir needs a folder");
            options.stateFolder = std::filesystem::path(std::string(*folder));
        } else if (argument == "--hardware") {
            const auto kind = takeValue();
            if (kind == "sim")
                options.hardware = HardwareKind::Simulated;
            else if (kind == "host")
                options.hardware = HardwareKind::Host;
            else
                return fail("option --hardware takes 'sim' or 'host'");
        } else if (argument == "--board") {
            const auto code = takeValue();
            const auto board = code ? parseBoard(*code) : std::nullopt;
            if (!board)
                return fail(
                    "option --board takes a four-digit board code such as 2917 (or KX-2917, or 'unknown')");
            options.boardCode = *board;
            options.boardGiven = true;
        } else if (argument == "--seed") {
            const auto text = takeValue();
            const auto seed = text ? parseNumber<std::uint32_t>(*text) : std::nullopt;
            if (!seed)
                return fail("option --seed takes a whole number from 0 to 4294967295");
            options.seed = *seed;
        } else if (argument == "--dmi" || argument == "--pci" || argument == "--sysfs-root" ||
                   argument == "--snapshot") {
            const auto path = takeValue();
            if (!path || path->empty())
                return fail("option " + std::string(argument) + " needs a " +
                            (argument == "--sysfs-root" || argument == "--snapshot" ? "folder" : "file"));
            const std::filesystem::path given{std::string(*path)};
            if (argument == "--dmi")
                options.dmiFile = given;
            else if (argument == "--pci")
                options.pciFile = given;
            else if (argument == "--sysfs-root")
                options.sysfsRoot = given;
            else
                options.snapshotFolder = given;
        } else if (argument == "--cpu-load" || argument == "--baseboard-version" ||
                   argument == "--bios-version" || argument == "--graphics" || argument == "--memory") {
            const auto text = takeValue();
            if (!text || text->empty())
                return fail("option " + std::string(argument) + " needs a value");
            auto& field = argument == "--cpu-load"            ? options.cpuLoad
                          : argument == "--baseboard-version" ? options.baseboardVersion
                          : argument == "--bios-version"      ? options.biosVersion
                          : argument == "--graphics"          ? options.graphics
                                                              : options.memory;
            field = std::string(*text);
        } else if (argument == "--product-name") {
            const auto naming = takeValue();
            if (naming == "code-only")
                options.codeOnlyProductName = true;
            else if (naming == "full")
                options.codeOnlyProductName = false;
            else
                return fail("option --product-name takes 'full' or 'code-only'");
        } else if (argument == "--spd") {
            const auto slot = takeValue();
            if (!slot || slot->find('=') == std::string_view::npos)
                return fail("option --spd takes SLOT=FILE, for example DIMM_A0=module.bin");
            options.spdSlots.emplace_back(*slot);
        } else if (argument == "--mode") {
            const auto mode = takeValue();
            if (mode != "default" && mode != "optimize" && mode != "max")
                return fail("option --mode takes 'default', 'optimize' or 'max'");
            options.reportMode = std::string(*mode);
        } else if (argument == "--refreshes") {
            const auto text = takeValue();
            const auto count = text ? parseNumber<int>(*text) : std::nullopt;
            if (!count || *count < 0 || *count > kMostReportRefreshes)
                return fail("option --refreshes takes a whole number from 0 to " +
                            std::to_string(kMostReportRefreshes));
            options.reportRefreshes = *count;
        } else if (argument == "--report" || argument == "--json") {
            if (hasValue)
                return refuseValue();
            (argument == "--report" ? options.report : options.json) = true;
        } else if (argument.starts_with("-")) {
            return fail("unknown option " + std::string(argument));
        } else {
            return fail("unexpected argument '" + std::string(argument) + "'");
        }
    }
    if (!options.sysfsRoot.empty() && options.hardware != HardwareKind::Host)
        parsed.error = "option --sysfs-root needs --hardware host";
    else if (options.hardware == HardwareKind::Host && options.boardGiven)
        parsed.error = "option --board chooses a simulated board and does not go with --hardware host "
                       "(this machine's board is read from its firmware)";
    else if (options.hardware == HardwareKind::Host &&
             (!options.cpuLoad.empty() || !options.baseboardVersion.empty() || !options.biosVersion.empty() ||
              !options.graphics.empty() || !options.memory.empty() || options.codeOnlyProductName))
        parsed.error = "the simulation options (--cpu-load, --baseboard-version, --bios-version, --graphics, "
                       "--memory, --product-name) do not go with --hardware host";
    else if (options.json && !options.report)
        parsed.error = "option --json goes with --report";
    else if ((!options.reportMode.empty() || options.reportRefreshes > 0) && !options.report)
        parsed.error = "options --mode and --refreshes go with --report";
    else if (options.report && !options.snapshotFolder.empty())
        parsed.error = "options --report and --snapshot do not go together";
    return parsed;
}

std::string usageText() {
    return "Usage: solvane [options]\n"
           "Watches and tunes the power-saving features of a Tarvok motherboard.\n"
           "\n"
           "Options:\n"
           "  --state-dir DIR     keep the registry, the driver service table and the board state in DIR\n"
           "                      (default $XDG_STATE_HOME/solvane)\n"
           "  --hardware sim|host sim: a simulated Tarvok board (default); host: this machine, read only\n"
           "  --board CODE        the simulated board, 2901 to 2918 or 'unknown' (default 2917)\n"
           "  --cpu-load LOAD     the simulated CPU load: 'host' (this machine's, default), a percentage,\n"
           "                      or percentages in turn ('10,90,50', each 30 s; '10,90@5' for 5 s each)\n"
           "  --baseboard-version TEXT, --bios-version TEXT\n"
           "                      what the simulated firmware reports (e.g. '5.0' or '6.0' on a KX-2904)\n"
           "  --graphics VENDOR   the simulated graphics card: nvidia, intel or ati\n"
           "  --memory MODULES    the simulated modules: 'none' or e.g. "
           "'A0=DDR3-2G-2R-1600-Kingston,B0=DDR3-2048'\n"
           "  --product-name full|code-only  how the simulated firmware names the board\n"
           "  --seed N            seed the pseudo-random numbers with N instead of the time\n"
           "  --batch             message boxes print to standard error and take their default button\n"
           "  --report [--json]   print the board, its settings, one refresh of the read-outs and the\n"
           "                      system information, without a window\n"
           "  --mode default|optimize|max, --refreshes N\n"
           "                      with --report: apply that mode to the board in memory, then run N\n"
           "                      refreshes 3 s apart on a virtual clock before reporting\n"
           "  --snapshot DIR      save a picture of the main window on every page into DIR, then exit\n"
           "  --sysfs-root DIR    with --hardware host: read this sysfs tree instead of /sys\n"
           "  --dmi FILE          SMBIOS from a dump (a raw table or dmidecode --dump-bin)\n"
           "  --spd SLOT=FILE     a memory module's SPD from a dump (binary or hex), SLOT DIMM_A0 or 0xA0\n"
           "  --pci FILE          PCI configuration space from lspci -x or -xxx output\n"
           "  --help              print this help and exit\n"
           "  --version           print the version and exit\n";
}

std::string versionText() {
    return "Solvane Center 2.0.140\n";
}

} // namespace solvane::app
