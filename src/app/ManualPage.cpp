#include "app/ManualPage.h"

namespace solvane::app {

namespace {

// The parts of the page that are not about single options.
constexpr std::string_view kName = ".SH NAME\n"
                                   "solvane \\- power saving, tuning and system information for Tarvok "
                                   "motherboards\n";

constexpr std::string_view kSynopsis = ".SH SYNOPSIS\n"
                                       ".B solvane\n"
                                       "[\\fIOPTION\\fR]...\n";

constexpr std::string_view kDescription =
    ".SH DESCRIPTION\n"
    "Solvane watches the power state of a Tarvok motherboard (board codes KX\\-2901 to KX\\-2918) and "
    "shows what its power\\-saving features save: rail powers, CPU current, power and efficiency, "
    "temperatures, fan speed, core voltage, the saving now and the energy saved across runs.\n"
    "It tunes voltages, power phases, the smart fan and the board LEDs with three power modes and "
    "user\\-named profiles, and shows system information: SMBIOS, PCI devices, memory modules decoded "
    "from SPD and the graphics BIOS.\n"
    ".PP\n"
    "The boards are simulated by default, so every feature can be tried on any machine; "
    "\\fB\\-\\-hardware host\\fR reads this machine instead, read only.\n"
    "Without options Solvane opens its window and puts its icon in the notification area; "
    "only one copy runs at a time.\n";

constexpr std::string_view kAfterOptions =
    ".SH EXIT STATUS\n"
    ".TP\n"
    ".B 0\n"
    "the window was closed, the report or the pictures were made, or the monitor was stopped; "
    "also when the window was not opened because another copy runs (a message says so).\n"
    ".TP\n"
    ".B 1\n"
    "Solvane could not run: its files, its lock or its modules could not be used, another copy "
    "runs when no window was asked for, or \\fB\\-\\-snapshot\\fR made no pictures.\n"
    ".TP\n"
    ".B 2\n"
    "a wrong option, or a state folder, snapshot folder or dump that cannot be used.\n"
    ".TP\n"
    ".B 3\n"
    "\\fB\\-\\-no-window\\fR could not listen on the \\fB\\-\\-metrics\\fR address.\n"
    ".TP\n"
    ".B 75\n"
    "\\fB\\-\\-no-window\\fR handed over to a window started meanwhile (SIGUSR1).\n"
    ".SH ENVIRONMENT\n"
    ".TP\n"
    ".B XDG_STATE_HOME\n"
    "the state folder is \\fI$XDG_STATE_HOME/solvane\\fR (default \\fI~/.local/state/solvane\\fR).\n"
    ".TP\n"
    ".B XDG_RUNTIME_DIR\n"
    "holds the lock that lets only one copy run.\n"
    ".SH FILES\n"
    ".TP\n"
    ".I $XDG_STATE_HOME/solvane/registry.reg\n"
    "the settings, profiles and saved energy, in the REGEDIT text format.\n"
    ".TP\n"
    ".I $XDG_STATE_HOME/solvane/history.sqlite\n"
    "the power history: a row a minute for 30 days and a row a day for good.\n"
    ".TP\n"
    ".I /usr/share/solvane\n"
    "the skin pictures and I/O driver files (\\fIPREFIX/share/solvane\\fR beside \\fIPREFIX/bin\\fR).\n"
    ".TP\n"
    ".I /usr/lib/solvane\n"
    "the window module and the module of runs without a window.\n"
    ".TP\n"
    ".I /usr/lib/systemd/user/solvane\\-monitor.service\n"
    "the monitor without a window and its metrics endpoint, as a user unit "
    "(\\fBsystemctl \\-\\-user enable \\-\\-now solvane\\-monitor\\fR).\n"
    ".SH SEE ALSO\n"
    ".BR lspci (8),\n"
    ".BR dmidecode (8),\n"
    ".BR systemctl (1)\n";

// "\fB\-\-board\fR \fICODE\fR", "\fB\-\-hardware\fR \fBsim\fR|\fBhost\fR".
std::string optionTag(const CommandLineOption& option) {
    std::string tag;
    if (!option.shortName.empty())
        tag += "\\fB" + roffText(option.shortName) + "\\fR, ";
    tag += "\\fB" + roffText(option.name) + "\\fR";
    if (option.kind == ValueKind::Word) {
        for (std::size_t i = 0; i < option.words.size(); ++i)
            tag += (i == 0 ? " \\fB" : "|\\fB") + roffText(option.words[i]) + "\\fR";
    } else if (option.kind != ValueKind::None) {
        tag += " \\fI" + roffText(option.placeholder) + "\\fR";
    }
    return tag;
}

// The help's continuation lines are one paragraph on the page; roff fills it.
std::string optionText(std::string_view help) {
    std::string text;
    for (;;) {
        const auto end = help.find('\n');
        text += roffText(help.substr(0, end)) + "\n";
        if (end == std::string_view::npos)
            return text;
        help.remove_prefix(end + 1);
    }
}

} // namespace

std::string roffText(std::string_view text) {
    std::string escaped;
    // A line that begins with a dot or an apostrophe would be read as a request.
    if (text.starts_with('.') || text.starts_with('\''))
        escaped += "\\&";
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
    }
    return escaped;
}

std::string manualPage(std::span<const CommandLineOption> options, std::string_view version) {
    std::string page = ".TH SOLVANE 1 \"\" \"Solvane " + roffText(version) + "\" \"User Commands\"\n";
    // Left-aligned and unhyphenated: option names and values must read as typed.
    page += ".ad l\n.nh\n";
    page += kName;
    page += kSynopsis;
    page += kDescription;
    page += ".SH OPTIONS\n";
    for (const auto& option : options)
        page += ".TP\n" + optionTag(option) + "\n" + optionText(option.help);
    page += kAfterOptions;
    return page;
}

} // namespace solvane::app
