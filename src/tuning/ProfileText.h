#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::tuning {

// The two text forms of the profile stores: the name list ("Quiet;Game;") and the settings string
// ("5;12;-1;"). Both put ";" after every entry, the last one included.

// Takes the first entry off the front of rest: the text before the first ";" (that text and the
// ";" are removed and what remains is trimmed of white space at both ends), or, with no ";" left,
// the whole remaining text, leaving rest empty.
std::string takeListEntry(std::string& rest);

// Every entry of a list, in order, as the menu and the checks walk it.
std::vector<std::string> listEntries(std::string_view list);

// A settings value as it is read back: leading white space, an optional sign, decimal digits; an
// empty or non-numeric entry gives 0.
int settingsNumber(std::string_view entry);

// The values of a settings string for count kept settings. A string with fewer entries leaves the
// missing positions empty, so that loading it skips them instead of applying 0.
std::vector<std::optional<int>> parseSettings(std::string_view text, int count);

// The list with its first entry equal to name (the name and its ";") taken out; every other entry
// stays as it was. Unchanged when no entry equals name.
std::string withoutEntry(std::string_view list, std::string_view name);

// True when name is an entry of the list: the list begins with the name and ";", or holds ";",
// the name and ";". Compared without regard to ASCII case, because the registry's value names are:
// a name that differs only in case would overwrite the other profile's values.
bool listHoldsName(std::string_view list, std::string_view name);

} // namespace solvane::tuning
