// Where an export may go: never over the program's own files, a device, a FIFO, a folder or a
// file with other names; a link is followed and kept; "-" is standard output.
#include "app/ExportTarget.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace solvane::app {
namespace {

TEST(ExportTarget, RefusesWhatAnExportMustNotReplace) {
    test::TempFolder state;
    test::TempFolder elsewhere;
    test::writeFile(state / "history.sqlite", "history");
    test::writeFile(state / "registry.reg", "settings");
    test::writeFile(elsewhere / "linked.csv", "x");
    ASSERT_EQ(::link((elsewhere / "linked.csv").c_str(), (elsewhere / "other-name.csv").c_str()), 0);
    ASSERT_EQ(::link((state / "history.sqlite").c_str(), (elsewhere / "history-copy").c_str()), 0);
    ASSERT_EQ(::mkfifo((elsewhere / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(state / "registry.reg", elsewhere / "settings-link");
    const struct {
        std::filesystem::path target;
        const char* because;
    } kRefused[] = {
        {state / "history.sqlite", "keeps"},      {state / "registry.reg", "keeps"},
        {state / "history.sqlite-wal", "keeps"}, // not there yet, but the history's own name
        {elsewhere / "settings-link", "keeps"},  // a link to the settings
        {elsewhere / "history-copy", "keeps"},   // the history by another name
        {elsewhere / "linked.csv", "hard links"}, {elsewhere / "fifo", "not a regular file"},
        {"/dev/null", "not a regular file"},      {elsewhere.path(), "not a regular file"},
    };
    for (const auto& refused : kRefused) {
        const auto target = checkExportTarget(refused.target, state.path());
        EXPECT_NE(target.refusal.find(refused.because), std::string::npos)
            << refused.target << ": " << target.refusal;
    }
    EXPECT_EQ(test::readTextFile(state / "history.sqlite"), "history");
}

TEST(ExportTarget, TakesANewFileAFileItReplacesAndStandardOutput) {
    test::TempFolder state;
    test::TempFolder elsewhere;
    // A CSV beside the state files is fine: only the program's own files are refused.
    EXPECT_TRUE(checkExportTarget(state / "day.csv", state.path()).refusal.empty());
    EXPECT_TRUE(checkExportTarget("-", state.path()).standardOutput);

    test::writeFile(elsewhere / "old.csv", "old");
    ASSERT_EQ(::chmod((elsewhere / "old.csv").c_str(), 0640), 0);
    const auto replaced = checkExportTarget(elsewhere / "old.csv", state.path());
    EXPECT_TRUE(replaced.refusal.empty()) << replaced.refusal;
    EXPECT_EQ(replaced.keptPermissions, static_cast<std::filesystem::perms>(0640));

    std::filesystem::create_symlink(elsewhere / "old.csv", elsewhere / "latest.csv");
    const auto linked = checkExportTarget(elsewhere / "latest.csv", state.path());
    EXPECT_TRUE(linked.refusal.empty()) << linked.refusal;
    EXPECT_EQ(linked.file, std::filesystem::canonical(elsewhere / "old.csv"));
}

} // namespace
} // namespace solvane::app
