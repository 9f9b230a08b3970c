#include "app/MonitorHandOver.h"

#include "platform/AtomicFile.h"

#include <charconv>
#include <csignal>
#include <sys/stat.h>
#include <thread>

namespace solvane::app {

namespace {

constexpr std::string_view kProcessFileName = "solvane-monitor.pid";
constexpr auto kPollInterval = std::chrono::milliseconds(50);

std::optional<pid_t> readProcess(const std::filesystem::path& file) {
    const auto read = platform::readKeptFile(file);
    if (read.status != platform::FileRead::Status::Read)
        return std::nullopt;
    pid_t process = 0;
    const auto& text = read.contents;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), process);
    if (error != std::errc() || process <= 0)
        return std::nullopt;
    return process;
}

// A window-less run of this same program: the same executable file, started with --no-window.
// A process id left by a killed monitor may have been given to any process since.
bool isWindowlessMonitor(pid_t process) {
    struct stat theirs {};
    struct stat ours {};
    const auto folder = "/proc/" + std::to_string(process);
    if (::stat((folder + "/exe").c_str(), &theirs) != 0 || ::stat("/proc/self/exe", &ours) != 0 ||
        theirs.st_dev != ours.st_dev || theirs.st_ino != ours.st_ino)
        return false;
    const auto arguments = platform::readWholeFile(folder + "/cmdline");
    return arguments && arguments->find(std::string("--no-window") + '\0') != std::string::npos;
}

} // namespace

std::filesystem::path monitorProcessFile(const std::filesystem::path& lockFolder) {
    return lockFolder / kProcessFileName;
}

MonitorProcessFile::MonitorProcessFile(std::filesystem::path file) : m_file(std::move(file)) {
    // Without the file the monitor still runs; a window then says it is already running.
    if (!platform::writeFileAtomically(m_file, std::to_string(::getpid())).empty())
        m_file.clear();
}

MonitorProcessFile::~MonitorProcessFile() {
    std::error_code ignored;
    if (!m_file.empty() && readProcess(m_file) == ::getpid())
        std::filesystem::remove(m_file, ignored);
}

bool takeOverFromMonitor(const HandOverCalls& calls) {
    const auto process = calls.monitorProcess();
    if (!process || !calls.isThisProgram(*process) || !calls.askToHandOver(*process))
        return false;
    for (int poll = 0; poll < kHandOverPolls; ++poll) {
        if (!calls.lockHeld())
            return true;
        calls.pause();
    }
    return false;
}

HandOverCalls systemHandOverCalls(const std::filesystem::path& lockFolder, std::function<bool()> lockHeld) {
    return {
        .monitorProcess = [file = monitorProcessFile(lockFolder)] { return readProcess(file); },
        .isThisProgram = isWindowlessMonitor,
        .askToHandOver = [](pid_t process) { return ::kill(process, SIGUSR1) == 0; },
        .lockHeld = std::move(lockHeld),
        .pause = [] { std::this_thread::sleep_for(kPollInterval); },
    };
}

} // namespace solvane::app
