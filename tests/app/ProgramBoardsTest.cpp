// The real program on every simulated board: the report, the window's snapshots, and the saved
// mode coming back on the next start.
#include "platform/FileRegistry.h"
#include "platform/NamedMutex.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"
#include "ui/BoardPictureLayout.h"
#include "ui/SkinResources.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace solvane::app {
namespace {

constexpr std::array kBoards{2901, 2902, 2903, 2904, 2905, 2906, 2907, 2908,
                             2909, 2910, 2911, 2912, 2915, 2916, 2917, 2918};

// The centre pixel of a lamp in a snapshot of the LED page (the full board picture), and of the
// lamp picture itself.
QRgb lampInSnapshot(const QImage& snapshot, int lampId) {
    const auto& picture = ui::skin::kFullBoardPicture;
    for (const auto& site : picture.lampSites)
        if (site.controlId == lampId) {
            const auto size = ui::skin::bitmapById(site.bitmapId);
            return snapshot.pixel(ui::skin::kPageFrame.x + picture.board.x + site.x + size->width / 2,
                                  ui::skin::kPageFrame.y + picture.board.y + site.y + size->height / 2);
        }
    ADD_FAILURE() << "no place for lamp " << lampId;
    return 0;
}
QRgb lampPicture(int bitmapId) {
    const auto image = ui::SkinResources(test::programFolder()).bitmap(bitmapId);
    return image.pixel(image.width() / 2, image.height() / 2);
}

class ProgramBoardsTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = test::programFolder() / "solvane";
        if (!std::filesystem::exists(program))
            GTEST_SKIP() << "the program is not built at " << program;
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
    }
    std::map<std::string, std::string> environment() const {
        return {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", runtime.path().string()}};
    }
    int run(std::vector<std::string> arguments, std::string* output = nullptr,
            std::string* errors = nullptr) {
        arguments.insert(arguments.end(), {"--batch", "--seed", "5", "--state-dir", state.path().string()});
        return test::runProgram(program, arguments, environment(), errors, output);
    }

    std::filesystem::path program;
    test::TempFolder state;
    test::TempFolder runtime;
};

TEST_F(ProgramBoardsTest, TheReportIdentifiesEveryBoard) {
    for (const int board : kBoards) {
        std::string output;
        std::string errors;
        ASSERT_EQ(run({"--report", "--board", std::to_string(board)}, &output, &errors), 0)
            << board << errors;
        const auto code = std::to_string(board);
        EXPECT_NE(output.find("Board string: KX-" + code + "\n"), std::string::npos) << output;
        EXPECT_NE(output.find("Board code: " + code + "\n"), std::string::npos) << board;
        EXPECT_NE(output.find("BoardSupported: yes\n"), std::string::npos) << board;
        EXPECT_NE(output.find("  CPU_VOLTAGE: "), std::string::npos) << board;
        EXPECT_NE(output.find("Active mode: Default Mode"), std::string::npos) << board;
    }
    std::string output;
    ASSERT_EQ(run({"--report", "--board", "unknown"}, &output), 0);
    EXPECT_NE(output.find("Board code: 0\n"), std::string::npos) << output;
    EXPECT_NE(output.find("BoardSupported: no\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(state / "registry.reg")) << "a report writes nothing";
    for (const int board : kBoards)
        EXPECT_FALSE(std::filesystem::exists(state / ("simulated-board-" + std::to_string(board) + ".state")))
            << "nor does it keep the simulated board's registers";
}

TEST_F(ProgramBoardsTest, TheReportNamesTheBridgesAsTheBoardDoes) {
    std::string output;
    ASSERT_EQ(run({"--report", "--board", "2902"}, &output), 0);
    EXPECT_NE(output.find("\n  NB Voltage: "), std::string::npos) << output;
    EXPECT_NE(output.find("\n  SB Voltage: "), std::string::npos);
    EXPECT_EQ(output.find("IOH Voltage"), std::string::npos);
    ASSERT_EQ(run({"--report", "--board", "2917"}, &output), 0);
    EXPECT_NE(output.find("\n  ICH Voltage: "), std::string::npos) << output;
}

TEST_F(ProgramBoardsTest, TheJsonReportParses) {
    std::string output;
    ASSERT_EQ(run({"--report", "--json", "--board", "2911"}, &output), 0);
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(output), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << output;
    const auto root = document.object();
    EXPECT_EQ(root.value(QStringLiteral("identification"))
                  .toObject()
                  .value(QStringLiteral("Board code"))
                  .toString(),
              QStringLiteral("2911"));
    EXPECT_TRUE(root.value(QStringLiteral("readouts")).toObject().contains(QStringLiteral("Core Voltage")));
}

TEST_F(ProgramBoardsTest, TheWindowComesUpOnEveryBoardAndOnAnUnknownOne) {
    std::vector<std::string> boards;
    for (const int board : kBoards)
        boards.push_back(std::to_string(board));
    boards.emplace_back("unknown");
    for (const auto& board : boards) {
        test::TempFolder pictures;
        std::string errors;
        ASSERT_EQ(run({"--board", board, "--snapshot", pictures.path().string()}, nullptr, &errors), 0)
            << board << ": " << errors;
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(pictures.path())) {
            const QImage picture(QString::fromStdString(entry.path().string()));
            EXPECT_EQ(picture.size(), QSize(750, 560)) << board << " " << entry.path();
            names.insert(entry.path().filename().string());
        }
        // The six pages of the window and the BIOS and CPU pages, each named by its dialog's number.
        EXPECT_EQ(names.size(), 8U) << board;
        if (board == "2917") {
            EXPECT_EQ(names,
                      (std::set<std::string>{"133-basic.png", "137-cpu.png", "138-memory.png", "139-pci.png",
                                             "140-bios.png", "142-advanced-motherboard.png",
                                             "235-motherboard.png", "242-led.png"}));
        }
        if (board != "2917" && board != "2915")
            continue;
        // The LED page draws its lamps lit or dark: the power lamp in its own colour, the standby
        // lamp dark, the Easy Button on, the PCI slot lamp lit only where a card answers (2917).
        const QImage led(QString::fromStdString((pictures.path() / "242-led.png").string()));
        EXPECT_EQ(lampInSnapshot(led, 1159), lampPicture(251)) << board;
        EXPECT_EQ(lampInSnapshot(led, 1163), lampPicture(256)) << board;
        EXPECT_EQ(lampInSnapshot(led, 1179), lampPicture(258)) << board;
        EXPECT_EQ(lampInSnapshot(led, 1180), lampPicture(board == "2917" ? 255 : 256)) << board;
    }
}

TEST_F(ProgramBoardsTest, OnAPcTheAdvancedAndLedPagesStepAside) {
    // A PC that is no Tarvok board (an empty sysfs tree): the snapshot holds every page the user can
    // reach, and neither the advanced motherboard page nor the LED page with its board picture.
    test::TempFolder sysfs;
    test::TempFolder pictures;
    std::string errors;
    ASSERT_EQ(run({"--hardware", "host", "--sysfs-root", sysfs.path().string(), "--snapshot",
                   pictures.path().string()},
                  nullptr, &errors),
              0)
        << errors;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(pictures.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names.size(), 6u) << "the four other pages of the window and the BIOS and CPU pages";
    for (const auto& name : names) {
        EXPECT_FALSE(name.starts_with("142-")) << name;
        EXPECT_FALSE(name.starts_with("242-")) << name;
    }
}

TEST_F(ProgramBoardsTest, TheModeOfANormallyEndedRunComesBack) {
    // The previous run ended normally in Max mode.
    {
        auto opened = platform::FileRegistry::open(state / "registry.reg");
        opened.registry->writeString("Software\\Tarvok\\SolvaneCenter", "EnableSolvane", "2");
        opened.registry->writeString("Software\\Tarvok\\SolvaneCenter", "SolvaneNormalEnd", "1");
    }
    test::ChildProcess child(program, {"--batch", "--seed", "5", "--state-dir", state.path().string()},
                             environment());
    platform::FileLockMutexService mutexes(runtime.path());
    for (int i = 0; i < 400 && mutexes.open("SolvaneII System") == nullptr; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500)); // the apply runs 300 ms after start-up
    child.signal(SIGTERM);
    ASSERT_EQ(child.wait(), 0) << child.errors();

    auto after = platform::FileRegistry::open(state / "registry.reg");
    EXPECT_EQ(after.registry->readString("Software\\Tarvok\\SolvaneCenter", "SolvaneNormalEnd"), "1");
    EXPECT_EQ(after.registry->readString("Software\\Tarvok\\SolvaneCenter", "EnableSolvane"), "2");
    EXPECT_TRUE(after.registry->readString("Software\\Tarvok\\SolvaneCenter\\Max", "DefaultSetting"));
    // The board kept the Max voltages: the report reads CPU option 15 back from the regulator.
    std::string output;
    ASSERT_EQ(run({"--report"}, &output), 0);
    EXPECT_NE(output.find("  CPU_VOLTAGE: 15 "), std::string::npos) << output;
    EXPECT_NE(output.find("Active mode: Max Power Saving Mode"), std::string::npos);
}

} // namespace
} // namespace solvane::app
