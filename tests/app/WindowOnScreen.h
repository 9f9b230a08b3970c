#pragma once

// The program's main window in a test, on a simulated board with the timers on the virtual clock;
// and the helpers that drive it, or the real program, on an X server through xdotool.
#include "SimulatedCore.h"
#include "app/CSampleDlg.h"
#include "platform/RegistrySeed.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"
#include "ui/MainWindowIds.h"
#include "ui/RecordingNotificationShell.h"
#include "ui/SkinLayout.h"

#include <QApplication>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>

namespace solvane::test {

// The main window on a simulated board, built and shown, with the sections opened by their
// buttons. Message boxes are answered from the script, or on the screen.
class MainWindowRig {
public:
    MainWindowRig(int board, std::initializer_list<int> buttons, platform::Prompt* screenPrompt = nullptr,
                  std::string biosVersion = {})
        : devices(serviceTable), driver(parts.system, serviceTable, devices, sleeper),
          hardware(simulatedBoard(
              {.board = board, .load = 0.3, .seed = 5, .biosVersion = std::move(biosVersion)})) {
        parts.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4");
        auto services = parts.on(*hardware, 5);
        core = std::make_unique<app::SolvaneCore>(
            app::SolvaneCore::Services{services.hardware,
                                       services.registry,
                                       services.system,
                                       services.scheduler,
                                       screenPrompt != nullptr ? *screenPrompt : parts.prompt,
                                       services.random,
                                       services.seed,
                                       {}});
        window = std::make_unique<app::CSampleDlg>(driver, *core, shell);
        window->InitDialog();
        window->show();
        for (const int button : buttons)
            window->OnCommand(button);
    }
    ~MainWindowRig() { window->DestroyWindow(); }
    MainWindowRig(const MainWindowRig&) = delete;
    MainWindowRig& operator=(const MainWindowRig&) = delete;

    power::SettingValue& value(int setting) {
        return core->state().modes.CurrentValues[static_cast<std::size_t>(setting)];
    }

    CoreServices parts;
    platform::ServiceTable serviceTable;
    platform::DeviceNamespace devices;
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    ui::RecordingNotificationShell shell;
    std::unique_ptr<app::SolvaneCore> core;
    std::unique_ptr<app::CSampleDlg> window;
};

// ---- On the screen -------------------------------------------------------------------------------

inline bool onScreen() {
    return std::getenv("DISPLAY") != nullptr && QGuiApplication::platformName() == QStringLiteral("xcb") &&
           std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

inline bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

inline void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

inline void clickAt(QPoint screen) {
    xdotool("mousemove " + std::to_string(screen.x()) + " " + std::to_string(screen.y()) + " click 1");
}

inline void clickOn(QWidget& widget) {
    clickAt(widget.mapToGlobal(widget.rect().center()));
}

// The program started on the X server with a state folder, driven through xdotool at the places
// its dialog layouts put the controls, as a user clicks them.
class ProgramOnScreen {
public:
    ProgramOnScreen(const std::filesystem::path& state, const std::filesystem::path& runtime,
                    int board = 2917)
        : m_process(programFolder() / "solvane",
                    {"--state-dir", state.string(), "--board", std::to_string(board), "--seed", "5",
                     "--cpu-load", "30"},
                    {{"XDG_RUNTIME_DIR", runtime.string()}}) {
        // The window is placed once it is up: take its position after that.
        const auto geometry = shellOutput("timeout 15 xdotool search --sync --all --onlyvisible --pid " +
                                          std::to_string(m_process.pid()) +
                                          " --name 'Solvane Center' sleep 1 getwindowgeometry --shell");
        for (const auto& line : QString::fromStdString(geometry).split(QLatin1Char('\n'))) {
            if (line.startsWith(QStringLiteral("X=")))
                m_origin.setX(line.mid(2).toInt());
            if (line.startsWith(QStringLiteral("Y=")))
                m_origin.setY(line.mid(2).toInt());
        }
        m_found = geometry.find("WINDOW=") != std::string::npos;
    }

    bool found() const { return m_found; }
    int pid() const { return m_process.pid(); }
    // A click at a point of the main window.
    void click(QPoint inWindow, const char* extra = "") {
        const QPoint at = m_origin + inWindow;
        xdotool("mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) + " click 1 " + extra +
                " sleep 0.4");
    }
    void clickCentre(const ui::skin::Rect& rect) {
        click(QPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
    }
    // A point of the page, in window coordinates.
    static QPoint onPage(QPoint inPage) {
        return inPage + QPoint(ui::skin::kPageFrame.x, ui::skin::kPageFrame.y);
    }
    // A point of the window on the screen.
    QPoint onScreenAt(QPoint inWindow) const { return m_origin + inWindow; }
    // Opens a page by the main window's buttons, in order.
    void openPage(std::initializer_list<int> buttons) {
        for (const int id : buttons)
            for (const auto& button : ui::skin::kMainButtons)
                if (button.controlId == id)
                    clickCentre(button.rect);
    }
    void exit() {
        for (const auto& button : ui::skin::kMainButtons)
            if (button.controlId == ui::main_window_ids::kExit)
                clickCentre(button.rect);
    }
    int wait() { return m_process.wait(15000); }

private:
    ChildProcess m_process;
    QPoint m_origin;
    bool m_found = false;
};

// The program's JSON report of a state folder.
inline QJsonObject programReport(const std::filesystem::path& state, const std::filesystem::path& runtime,
                                 int board = 2917) {
    std::string output;
    std::string errors;
    EXPECT_EQ(
        runProgram(programFolder() / "solvane",
                   {"--state-dir", state.string(), "--board", std::to_string(board), "--report", "--json"},
                   {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", runtime.string()}}, &errors,
                   &output),
        0)
        << errors;
    return QJsonDocument::fromJson(QByteArray::fromStdString(output)).object();
}

} // namespace solvane::test
