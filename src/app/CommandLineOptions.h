#pragma once

#include "app/CommandLine.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace solvane::app {

// What an option takes after it.
enum class ValueKind {
    None,        // a switch: "--batch"
    Text,        // any text that is not empty
    File,        // a file's path
    Folder,      // a folder's path
    Word,        // one of the option's `words`
    WholeNumber, // a whole number from `least` to `most`
};

// One command-line option: the parser, the help text and the manual page all read these.
struct CommandLineOption {
    std::string_view name{};      // "--board"
    std::string_view shortName{}; // "-h", or empty
    ValueKind kind = ValueKind::None;
    std::string_view placeholder{}; // what the help shows for the value: "CODE" (Word: the words)
    std::span<const std::string_view> words{};
    std::int64_t least = 0;
    std::int64_t most = 0;
    // What the option is for; a '\n' starts a continuation line.
    std::string_view help{};
    // What the option needs, when its value is missing or is none of the kind's ("needs a file"); empty
    // for Word and WholeNumber, whose words and range say it.
    std::string_view needs{};
    // Why a value of the right kind is still refused (the whole message), or empty; null takes any.
    std::string (*refusal)(std::string_view value) = nullptr;
    // Takes a value that passed the checks into the options (a switch's value is empty).
    void (*store)(Options& options, std::string_view value) = nullptr;
};

// Every option, in the order the help lists them.
std::span<const CommandLineOption> commandLineOptions();

// The option spelt `argument` ("--board" or "-h"), or null.
const CommandLineOption* findCommandLineOption(std::string_view argument);

// Why `value` (none: the command line ended) does not do for the valued `option`, as the whole
// message; empty when it does.
std::string refusalOf(const CommandLineOption& option, std::optional<std::string_view> value);

} // namespace solvane::app
