#include "app/CommandLine.h"

#include "app/CommandLineOptions.h"
#include "solvane/Version.h"

namespace solvane::app {

ParsedCommandLine parseCommandLine(const std::vector<std::string_view>& arguments) {
    ParsedCommandLine parsed;
    auto& options = parsed.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        std::optional<std::string_view> value;
        if (const auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        const auto* option = findCommandLineOption(argument);
        if (!option) {
            parsed.error = argument.starts_with("-") ? "unknown option " + std::string(argument)
                                                     : "unexpected argument '" + std::string(argument) + "'";
            return parsed;
        }
        if (option->kind != ValueKind::None && !value && i + 1 < arguments.size())
            value = arguments[++i];
        if (auto refusal = refusalOf(*option, value); !refusal.empty()) {
            parsed.error = std::move(refusal);
            return parsed;
        }
        option->store(options, value.value_or(std::string_view()));
    }
    if (!options.sysfsRoot.empty() && options.hardware != HardwareKind::Host)
        parsed.error = "option --sysfs-root needs --hardware host";
    else if (!options.procRoot.empty() && options.hardware != HardwareKind::Host)
        parsed.error = "option --proc-root needs --hardware host";
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
    else if ((!options.historyFrom.empty() || !options.historyTo.empty() || options.historyDays) &&
             options.exportHistoryFile.empty())
        parsed.error = "options --from, --to and --rows go with --export-history";
    else if (!options.exportHistoryFile.empty() &&
             (options.report || options.noWindow || !options.snapshotFolder.empty() ||
              !options.metricsAddress.empty()))
        parsed.error = "option --export-history goes alone (with --from, --to, --rows and --state-dir)";
    else if (options.noWindow && (options.report || !options.snapshotFolder.empty()))
        parsed.error = "option --no-window does not go with --report or --snapshot";
    else if (!options.metricsAddress.empty() && (options.report || !options.snapshotFolder.empty()))
        parsed.error = "option --metrics does not go with --report or --snapshot";
    else if (options.minimized && (options.report || options.noWindow || !options.snapshotFolder.empty() ||
                                   !options.exportHistoryFile.empty()))
        parsed.error = "option --minimized is for the window and does not go with --report, --snapshot, "
                       "--no-window or --export-history";
    return parsed;
}

namespace {

// The column the options' help starts in.
constexpr std::size_t kHelpColumn = 22;

// "--board CODE", "--hardware sim|host".
std::string spelling(const CommandLineOption& option) {
    std::string text(option.name);
    if (!option.shortName.empty())
        text = std::string(option.shortName) + ", " + text;
    if (option.kind == ValueKind::Word) {
        for (std::size_t i = 0; i < option.words.size(); ++i)
            text += (i == 0 ? " " : "|") + std::string(option.words[i]);
    } else if (option.kind != ValueKind::None) {
        text += " " + std::string(option.placeholder);
    }
    return text;
}

} // namespace

std::string usageText() {
    std::string text = "Usage: solvane [options]\n"
                       "Watches and tunes the power-saving features of a Tarvok motherboard.\n"
                       "\n"
                       "Options:\n";
    const std::string indent(kHelpColumn, ' ');
    for (const auto& option : commandLineOptions()) {
        auto line = "  " + spelling(option);
        // A spelling too wide for the column puts its help on the next line.
        line += line.size() < kHelpColumn ? std::string(kHelpColumn - line.size(), ' ') : "\n" + indent;
        for (std::string_view help = option.help;;) {
            const auto end = help.find('\n');
            line += std::string(help.substr(0, end)) + "\n";
            if (end == std::string_view::npos)
                break;
            help.remove_prefix(end + 1);
            line += indent;
        }
        text += line;
    }
    return text;
}

std::string versionText() {
    return "Solvane Center " + std::string(kVersion) + "\n";
}

} // namespace solvane::app
