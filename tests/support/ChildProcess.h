#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace solvane::test {

// A program started by a test, with its standard output and error captured in files.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int pid() const { return m_pid; }
    void signal(int number) const;
    // Waits up to timeoutMs for the process to end; its exit code, 128 + signal when a signal ended
    // it, or -1 when it still runs (then it is killed).
    int wait(int timeoutMs = 20000);
    // Waits until the standard output holds text; false on timeout or when the process ended.
    bool waitForOutput(const std::string& text, int timeoutMs = 20000);

    std::string output() const;
    std::string errors() const;

private:
    int m_pid = -1;
    bool m_ended = false;
    int m_status = -1;
    std::filesystem::path m_outputFile;
    std::filesystem::path m_errorFile;
};

// Runs a program to its end and returns its exit code (see ChildProcess::wait).
int runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment, std::string* errors = nullptr,
               std::string* output = nullptr, int timeoutMs = 60000);

// What a shell command prints on its standard output; empty when it cannot be started.
std::string shellOutput(const std::string& command);

} // namespace solvane::test
