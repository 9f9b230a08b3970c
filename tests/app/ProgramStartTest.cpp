// Starts the real program, head-less and with --batch, the way a user or a service manager would.
#include "platform/NamedMutex.h"
#include "support/ChildProcess.h"
#include "support/SmbiosBuilder.h"
#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace solvane::app {
namespace {

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = test::programFolder() / "solvane";
        if (!std::filesystem::exists(program))
            GTEST_SKIP() << "the program is not built at " << program;
        std::filesystem::create_directories(runtime.path());
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    }

    std::map<std::string, std::string> environment() const {
        return {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", runtime.path().string()}};
    }
    std::vector<std::string> arguments() const { return {"--batch", "--state-dir", state.path().string()}; }

    // Starts the program and waits until it holds the instance lock and has its driver service.
    std::unique_ptr<test::ChildProcess> startRunning() {
        auto child = std::make_unique<test::ChildProcess>(program, arguments(), environment());
        platform::FileLockMutexService mutexes(runtime.path());
        for (int i = 0; i < 400; ++i) {
            if (mutexes.open("SolvaneII System") != nullptr &&
                std::filesystem::exists(state / "services.tsv"))
                return child;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        ADD_FAILURE() << "the program did not come up: " << child->errors();
        return child;
    }

    static ino_t inodeOf(const std::filesystem::path& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
    }

    std::filesystem::path program;
    test::TempFolder state;
    test::TempFolder runtime;
};

TEST_F(ProgramStartTest, ASecondStartIsRefusedAndLeavesTheDriverServiceAlone) {
    auto first = startRunning();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto tableBefore = inodeOf(state / "services.tsv");

    std::string errors;
    EXPECT_EQ(test::runProgram(program, arguments(), environment(), &errors), 0);
    EXPECT_NE(errors.find("Trimbalt or SolvaneCenter Already Running!"), std::string::npos) << errors;
    EXPECT_EQ(inodeOf(state / "services.tsv"), tableBefore) << "the service table was rewritten";

    first->signal(SIGTERM);
    EXPECT_EQ(first->wait(), 0) << first->errors();
}

TEST_F(ProgramStartTest, TerminationSignalsEndTheProgramNormallyAndTheServiceStays) {
    // SIGHUP: the terminal the program was started from closed.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        auto child = startRunning();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const auto tableBefore = inodeOf(state / "services.tsv");
        child->signal(signal);
        EXPECT_EQ(child->wait(), 0) << "signal " << signal << ": " << child->errors();
        // The next start opened the still-running device without reinstalling the service.
        EXPECT_EQ(inodeOf(state / "services.tsv"), tableBefore);
        EXPECT_NE(test::readTextFile(state / "services.tsv").find("Zubrik_1_0_5\t1\t3\t1\t4\t"),
                  std::string::npos);
        EXPECT_NE(test::readTextFile(state / "registry.reg").find("\"SolvaneNormalEnd\"=\"1\""),
                  std::string::npos)
            << "signal " << signal;
    }
}

TEST_F(ProgramStartTest, WithoutItsDriverFileTheProgramSaysSoAndEnds) {
    // A program folder that lacks the driver files: the program and its window module only.
    test::TempFolder bare;
    std::filesystem::copy_file(program, bare / "solvane");
    std::filesystem::copy_file(program.parent_path() / "solvane-window.so", bare / "solvane-window.so");
    std::string errors;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(test::runProgram(bare / "solvane", arguments(), environment(), &errors), 0);
    EXPECT_NE(errors.find("Driver can't Load !"), std::string::npos) << errors;
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(600))
        << "four attempts sleep 0, 100, 200 and 300 ms";
    EXPECT_FALSE(std::filesystem::exists(state / "services.tsv"));
}

TEST_F(ProgramStartTest, AReportNeedsNoWindowModuleAndAWindowSaysWhenItIsMissing) {
    test::TempFolder bare;
    std::filesystem::copy_file(program, bare / "solvane");
    std::string output;
    std::string errors;
    EXPECT_EQ(test::runProgram(bare / "solvane",
                               {"--report", "--batch", "--state-dir", state.path().string()}, environment(),
                               &errors, &output),
              0)
        << errors;
    EXPECT_NE(output.find("Memory modules:"), std::string::npos) << output;
    EXPECT_EQ(test::runProgram(bare / "solvane", arguments(), environment(), &errors), 1);
    EXPECT_NE(errors.find("cannot load the window module"), std::string::npos) << errors;
}

TEST_F(ProgramStartTest, ADamagedRegistryFileIsKeptAsideAndReported) {
    const std::string damaged = "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\Software\n";
    test::writeFile(state / "registry.reg", damaged);
    auto child = startRunning();
    for (int i = 0; i < 200 && child->errors().find("damaged") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    child->signal(SIGTERM);
    EXPECT_EQ(child->wait(), 0);
    EXPECT_NE(child->errors().find("is damaged"), std::string::npos) << child->errors();
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(state.path()))
        if (entry.path().filename().string().starts_with("registry.reg.corrupt-")) {
            ++kept;
            EXPECT_EQ(test::readTextFile(entry.path()), damaged);
        }
    EXPECT_EQ(kept, 1);
    // The new file was seeded for this run.
    EXPECT_NE(test::readTextFile(state / "registry.reg").find("NUMBER_OF_PROCESSORS"), std::string::npos);
}

TEST_F(ProgramStartTest, WithoutItsSkinFilesTheProgramNamesThemAndEnds) {
    test::TempFolder bare;
    for (const auto* file : {"solvane", "solvane-window.so", "Zubrik.sys", "Zubrik_X64.sys"})
        std::filesystem::copy_file(program.parent_path() / file, bare / file);
    std::string errors;
    EXPECT_EQ(test::runProgram(bare / "solvane", arguments(), environment(), &errors), 1);
    EXPECT_NE(errors.find("skin files are missing from " + bare.path().string()), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("image.bmp"), std::string::npos) << errors;
}

// Everything a report reads stays as it was: the board state (even a damaged one), the settings,
// and no file is added.
TEST_F(ProgramStartTest, AReportChangesNothingOnDisk) {
    const std::string damagedState = "Solvane simulated board state 1\nboard 2917\nsmbus 32 01 93\ncheck 0\n";
    test::writeFile(state / "simulated-board-2917.state", damagedState);
    test::writeFile(state / "registry.reg", "Windows Registry Editor Version 5.00\n\n");
    auto listing = [&] {
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(state.path()))
            names += entry.path().filename().string() + ";";
        return names;
    };
    const auto before = listing();
    std::string errors;
    EXPECT_EQ(
        test::runProgram(program, {"--report", "--state-dir", state.path().string()}, environment(), &errors),
        0)
        << errors;
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(test::readTextFile(state / "simulated-board-2917.state"), damagedState);
    EXPECT_EQ(test::readTextFile(state / "registry.reg"), "Windows Registry Editor Version 5.00\n\n");
}

// Firmware strings with escape sequences and line breaks cannot reach the terminal or fake lines.
TEST_F(ProgramStartTest, TheTextReportShowsControlCharactersEscaped) {
    test::SmbiosIdentity identity;
    identity.biosVersion = "V1\x1b[2J\nActive mode: Max";
    const auto dump = test::dumpWith21EntryPoint(test::identityTable(identity));
    test::writeFile(state / "crafted.bin", std::string(dump.begin(), dump.end()));
    std::string output;
    std::string errors;
    ASSERT_EQ(test::runProgram(program,
                               {"--report", "--state-dir", state.path().string(), "--dmi",
                                (state / "crafted.bin").string()},
                               environment(), &errors, &output),
              0)
        << errors;
    EXPECT_EQ(output.find('\x1b'), std::string::npos);
    EXPECT_NE(output.find("V1\\x1b[2J\\nActive mode: Max"), std::string::npos) << output;
    EXPECT_EQ(output.find("\nActive mode: Max"), std::string::npos) << "a faked report line";
}

// A FIFO where the settings file belongs: named, never waited on, never replaced.
TEST_F(ProgramStartTest, WhatIsNoRegularFileAtTheSettingsPlaceIsNamedAndLeftAlone) {
    std::filesystem::create_directories(state.path());
    ASSERT_EQ(::mkfifo((state / "registry.reg").c_str(), 0600), 0);
    auto child = startRunning();
    for (int i = 0; i < 200 && child->errors().find("not a regular file") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    child->signal(SIGTERM);
    EXPECT_EQ(child->wait(), 0);
    EXPECT_NE(child->errors().find((state / "registry.reg").string() + " is not a regular file"),
              std::string::npos)
        << child->errors();
    struct stat info {};
    ASSERT_EQ(::lstat((state / "registry.reg").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(ProgramStartTest, UnusableInputsSayWhatIsWrongAndExitWithCodeTwo) {
    test::writeFile(state / "a-file", "x");
    const std::string aFile = (state / "a-file").string();
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"--cpu-load", "nan"}, "is not \"host\" or a percentage"},
        {{"--board", "0000"}, "four-digit board code"},
        {{"--board", "0"}, "four-digit board code"},
        {{"--hardware", "host", "--board", "2911"}, "does not go with --hardware host"},
        {{"--snapshot", aFile + "/pictures"}, "--snapshot"},
        {{"--state-dir", aFile}, "cannot use the state folder"},
        {{"--dmi", state.path().string()}, "a folder, not a file"},
        {{"--dmi", "/dev/zero"}, "a device, not a file"},
    };
    for (const auto& [extra, message] : cases) {
        auto given = extra;
        if (extra.front() != "--state-dir")
            given.insert(given.end(), {"--state-dir", (state / "folder").string()});
        given.push_back("--batch");
        std::string errors;
        EXPECT_EQ(test::runProgram(program, given, environment(), &errors), 2)
            << extra.front() << ": " << errors;
        EXPECT_NE(errors.find(message), std::string::npos) << errors;
    }
}

TEST_F(ProgramStartTest, ASnapshotWhosePicturesCannotBeSavedEndsWithAnError) {
    const auto pictures = state / "pictures";
    // A folder where one picture should go: that picture cannot be written.
    std::filesystem::create_directories(pictures / "139-pci.png");
    auto given = arguments();
    given.insert(given.end(), {"--snapshot", pictures.string()});
    std::string errors;
    EXPECT_EQ(test::runProgram(program, given, environment(), &errors), 1) << errors;
    EXPECT_NE(errors.find("could not all be saved"), std::string::npos) << errors;
}

// A snapshot run that another copy keeps from starting made no pictures: that is a failure.
TEST_F(ProgramStartTest, ASnapshotWhileAWindowRunsEndsWithAnError) {
    auto window = startRunning();
    const auto pictures = state / "pictures";
    auto given = arguments();
    given.insert(given.end(), {"--snapshot", pictures.string()});
    std::string errors;
    EXPECT_EQ(test::runProgram(program, given, environment(), &errors), 1) << errors;
    EXPECT_NE(errors.find("Already Running!"), std::string::npos) << errors;
    EXPECT_NE(errors.find("no pictures were made"), std::string::npos) << errors;
    window->signal(SIGTERM);
    EXPECT_EQ(window->wait(), 0) << window->errors();
}

// The window-less monitor (the systemd unit) hands over to a window started meanwhile: it writes
// its history and ends with the code that makes the unit retry later; the window runs.
TEST_F(ProgramStartTest, AWindowTakesOverFromTheMonitorWithoutAWindow) {
    test::ChildProcess monitor(program, {"--no-window", "--state-dir", state.path().string(), "--seed", "3"},
                               environment());
    platform::FileLockMutexService mutexes(runtime.path());
    for (int i = 0; i < 400 && !(mutexes.open("SolvaneII System") &&
                                 std::filesystem::exists(runtime / "solvane-monitor.pid"));
         ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ASSERT_TRUE(std::filesystem::exists(runtime / "solvane-monitor.pid")) << monitor.errors();

    const auto pictures = state / "pictures";
    auto given = arguments();
    given.insert(given.end(), {"--snapshot", pictures.string()});
    std::string errors;
    EXPECT_EQ(test::runProgram(program, given, environment(), &errors), 0) << errors;
    EXPECT_TRUE(std::filesystem::exists(pictures / "139-pci.png")) << errors;
    EXPECT_EQ(monitor.wait(), 75) << monitor.errors();
    EXPECT_NE(monitor.errors().find("a window takes over"), std::string::npos) << monitor.errors();
    EXPECT_FALSE(std::filesystem::exists(runtime / "solvane-monitor.pid"));
}

// Without XDG_RUNTIME_DIR the lock goes to a folder under the temporary folder, which another user
// could have made first: used only when it is this user's alone.
TEST_F(ProgramStartTest, ASharedLockFolderOpenToOthersIsRefused) {
    test::TempFolder temporary;
    const auto planted = temporary / ("solvane-" + std::to_string(::getuid()));
    std::filesystem::create_directory(planted);
    std::filesystem::permissions(planted, std::filesystem::perms::all);
    std::string errors;
    EXPECT_EQ(test::runProgram(program, arguments(),
                               {{"QT_QPA_PLATFORM", "offscreen"},
                                {"XDG_RUNTIME_DIR", ""},
                                {"TMPDIR", temporary.path().string()}},
                               &errors),
              1);
    EXPECT_NE(errors.find("is open to other users"), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(planted / "SolvaneII System.lock"));
}

TEST_F(ProgramStartTest, BadOptionsExitWithCodeTwo) {
    std::string errors;
    EXPECT_EQ(test::runProgram(program, {"--no-such-option"}, environment(), &errors), 2);
    EXPECT_NE(errors.find("unknown option --no-such-option"), std::string::npos);
    std::string output;
    EXPECT_EQ(test::runProgram(program, {"--help"}, environment(), nullptr, &output), 0);
    EXPECT_NE(output.find("--state-dir"), std::string::npos);
}

} // namespace
} // namespace solvane::app
