#include "app/BashCompletion.h"

namespace solvane::app {

namespace {

// What bash offers after an option of each kind; empty: a value of the user's own, nothing offered.
std::string valueCompletion(const CommandLineOption& option) {
    switch (option.kind) {
    case ValueKind::Word: {
        std::string words;
        for (const auto word : option.words)
            words += (words.empty() ? "" : " ") + std::string(word);
        return "COMPREPLY=($(compgen -W \"" + words + "\" -- \"$current\"))";
    }
    case ValueKind::Folder:
        return "compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- \"$current\"))";
    case ValueKind::File:
        return "compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$current\"))";
    case ValueKind::None:
    case ValueKind::Text:
    case ValueKind::WholeNumber:
        break;
    }
    return {};
}

} // namespace

std::string bashCompletion(std::span<const CommandLineOption> options) {
    std::string script = "# bash completion for solvane\n"
                         "_solvane() {\n"
                         "    local current=${COMP_WORDS[COMP_CWORD]}\n"
                         "    local previous=${COMP_WORDS[COMP_CWORD-1]}\n"
                         "    # --option=value: bash splits the word at the equals sign.\n"
                         "    if [[ $current == = ]]; then\n"
                         "        current=\n"
                         "    elif [[ $previous == = ]]; then\n"
                         "        previous=${COMP_WORDS[COMP_CWORD-2]}\n"
                         "    fi\n"
                         "    COMPREPLY=()\n"
                         "    case $previous in\n";
    std::string names;
    std::string ownValues; // the options whose value nothing can be offered for: "--board|--seed"
    for (const auto& option : options) {
        const std::string name(option.name);
        names += (names.empty() ? "" : " ") + name;
        if (option.kind == ValueKind::None)
            continue;
        if (const auto values = valueCompletion(option); !values.empty())
            script += "    " + name + ")\n        " + values + "\n        return ;;\n";
        else
            ownValues += (ownValues.empty() ? "" : "|") + name;
    }
    if (!ownValues.empty())
        script += "    " + ownValues + ")\n        return ;;\n";
    script += "    esac\n"
              "    COMPREPLY=($(compgen -W \"" +
              names +
              "\" -- \"$current\"))\n"
              "}\n"
              "complete -F _solvane solvane\n";
    return script;
}

} // namespace solvane::app
