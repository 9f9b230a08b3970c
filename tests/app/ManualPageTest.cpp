// The manual page written from the option table: every option on it, spelt as roff needs, and a
// page man renders without a warning.
#include "app/ManualPage.h"

#include "app/CommandLineOptions.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <array>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

constexpr std::array<std::string_view, 2> kColours{"red", "dark-blue"};

// One option of each way of taking a value.
constexpr std::array kSampleOptions{
    CommandLineOption{.name = "--colour", .kind = ValueKind::Word, .words = kColours, .help = "the colour"},
    CommandLineOption{.name = "--out-dir",
                      .kind = ValueKind::Folder,
                      .placeholder = "DIR",
                      .help = "write into DIR\n.profile and 'quoted' lines stay text"},
    CommandLineOption{.name = "--help", .shortName = "-h", .help = "print this help"},
};

TEST(ManualPage, RoffTextEscapesMinusSignsBackslashesAndLeadingControlCharacters) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases{
        {"--state-dir", "\\-\\-state\\-dir"}, {"C:\\Zubrik", "C:\\eZubrik"}, {".profile", "\\&.profile"},
        {"'quoted'", "\\&'quoted'"},          {"a.b 'c'", "a.b 'c'"},        {"", ""},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(roffText(text), escaped) << text;
}

TEST(ManualPage, EachOptionIsATaggedParagraphWithItsValueAndHelp) {
    const auto page = manualPage(kSampleOptions, "1.2.3");
    EXPECT_TRUE(page.starts_with(".TH SOLVANE 1 \"\" \"Solvane 1.2.3\" \"User Commands\"\n")) << page;
    EXPECT_NE(page.find(".SH OPTIONS\n"
                        ".TP\n\\fB\\-\\-colour\\fR \\fBred\\fR|\\fBdark\\-blue\\fR\nthe colour\n"
                        ".TP\n\\fB\\-\\-out\\-dir\\fR \\fIDIR\\fR\nwrite into DIR\n"
                        "\\&.profile and 'quoted' lines stay text\n"
                        ".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nprint this help\n"
                        ".SH EXIT STATUS\n"),
              std::string::npos)
        << page;
}

TEST(ManualPage, TheProgramsPageHasEveryOptionInTheOrderOfTheHelp) {
    const auto page = manualPage(commandLineOptions(), "2.0");
    std::size_t from = page.find(".SH OPTIONS");
    ASSERT_NE(from, std::string::npos);
    for (const auto& option : commandLineOptions()) {
        const auto spelt = option.shortName.empty() ? option.name : option.shortName;
        const auto at = page.find(".TP\n\\fB" + roffText(spelt) + "\\fR", from);
        ASSERT_NE(at, std::string::npos) << option.name << " is missing or out of order";
        from = at + 1;
    }
    for (const auto* documented : {"\\-\\-minimized", "\\-\\-no\\-window", "\\-\\-metrics", "\\-\\-report"})
        EXPECT_NE(page.find(std::string("\\fB") + documented + "\\fR"), std::string::npos) << documented;
}

TEST(ManualPage, ManRendersThePageWithoutWarnings) {
    if (test::shellOutput("command -v man").empty())
        GTEST_SKIP() << "man is not installed";
    test::TempFolder folder;
    test::writeFile(folder / "solvane.1", manualPage(commandLineOptions(), "2.0.140"));
    const auto rendered = test::shellOutput("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l " +
                                            (folder / "solvane.1").string() + " 2>&1");
    EXPECT_NE(rendered.find("SOLVANE(1)"), std::string::npos) << rendered;
    EXPECT_NE(rendered.find("--state-dir DIR"), std::string::npos) << rendered;
    EXPECT_EQ(rendered.find("warning"), std::string::npos) << rendered;
}

} // namespace
} // namespace solvane::app
