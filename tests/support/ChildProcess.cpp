#include "support/ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace solvane::test {

namespace {

std::filesystem::path captureFile(const char* kind) {
    static std::mt19937_64 random(std::random_device{}());
    return std::filesystem::temp_directory_path() /
           ("solvane-child-" + std::to_string(::getpid()) + "-" + std::to_string(random()) + "." + kind);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& environment)
    : m_outputFile(captureFile("out")), m_errorFile(captureFile("err")) {
    const int outputFd = ::open(m_outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errorFd = ::open(m_errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    m_pid = ::fork();
    if (m_pid == 0) {
        // A test killed by its time limit takes its children with it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(outputFd, STDOUT_FILENO);
        ::dup2(errorFd, STDERR_FILENO);
        for (const auto& [name, value] : environment)
            ::setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> argv;
        std::string programText = program.string();
        argv.push_back(programText.data());
        std::vector<std::string> copies = arguments;
        for (auto& argument : copies)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::execv(programText.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(outputFd);
    ::close(errorFd);
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0 && !m_ended) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove(m_outputFile, ignored);
    std::filesystem::remove(m_errorFile, ignored);
}

void ChildProcess::signal(int number) const {
    if (m_pid > 0 && !m_ended)
        ::kill(m_pid, number);
}

int ChildProcess::wait(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_ended) {
        int status = 0;
        const int result = ::waitpid(m_pid, &status, WNOHANG);
        if (result == m_pid) {
            m_ended = true;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_ended = true;
            m_status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return m_status;
}

bool ChildProcess::waitForOutput(const std::string& text, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (output().find(text) != std::string::npos)
            return true;
        int status = 0;
        if (!m_ended && ::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_ended = true;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (m_ended)
            return output().find(text) != std::string::npos;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::string ChildProcess::output() const {
    return readFile(m_outputFile);
}

std::string ChildProcess::errors() const {
    return readFile(m_errorFile);
}

int runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment, std::string* errors,
               std::string* output, int timeoutMs) {
    ChildProcess child(program, arguments, environment);
    const int code = child.wait(timeoutMs);
    if (errors != nullptr)
        *errors = child.errors();
    if (output != nullptr)
        *output = child.output();
    return code;
}

std::string shellOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
        output += buffer;
    return output;
}

} // namespace solvane::test
