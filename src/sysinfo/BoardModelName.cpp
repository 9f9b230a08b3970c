#include "sysinfo/BoardModelName.h"

#include "board/BoardTraits.h"
#include "hw/BoardModelNames.h"

#include <array>
#include <string_view>

namespace solvane::sysinfo {

namespace {

constexpr std::string_view kBoardPrefix = "KX-";

// The revisions of a board whose model name follows them (2904): the baseboard version text that names each,
// and the name number (from 1) in the board's record. The first row whose text the version contains wins.
struct RevisionName {
    std::string_view versionText;
    std::size_t nameNumber;
};
constexpr std::array<RevisionName, 3> kBirchRevisions{{{"4.0", 3}, {"5.0", 4}, {"6.0", 5}}};
constexpr std::size_t kBirchWithoutDdr3 = 2;
constexpr std::size_t kFirstName = 1;

std::string withoutBoardPrefix(std::string text) {
    for (auto at = text.find(kBoardPrefix); at != std::string::npos; at = text.find(kBoardPrefix, at))
        text.erase(at, kBoardPrefix.size());
    return text;
}

std::size_t nameNumber(std::string_view code, const power::PlatformInfo& platform, bool noDdr3Module) {
    if (!board::traitsOfText(code).revisionModelNames)
        return kFirstName;
    for (const auto& revision : kBirchRevisions)
        if (platform.baseboardVersion.find(revision.versionText) != std::string::npos)
            return revision.nameNumber;
    return noDdr3Module ? kBirchWithoutDdr3 : kFirstName;
}

} // namespace

std::string boardModelName(const power::PlatformInfo& platform, bool noDdr3Module) {
    if (!platform.BoardModelPrefix.empty())
        return platform.BoardModelPrefix;
    const auto code = withoutBoardPrefix(platform.BoardString);
    const auto record = hw::findBoardModelNameRecord(code);
    if (!record)
        return platform.BoardString;
    return std::string(hw::boardModelName(*record, nameNumber(code, platform, noDdr3Module)));
}

} // namespace solvane::sysinfo
