#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace solvane::platform {

// The system calls a file save is made of. A save takes them through this interface, so a test
// can watch the flushes and make any one of them fail; the program uses the real ones.
class FileCalls {
public:
    virtual ~FileCalls() = default;
    // Creates a new file, exclusively, under the template with its trailing XXXXXX replaced.
    virtual int createUnique(std::string& nameTemplate) = 0;
    virtual ssize_t write(int fd, const char* data, std::size_t size) = 0;
    virtual int sync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int unlink(const std::string& name) = 0;
    // Opens a folder for reading, to flush the entries of its files.
    virtual int openFolder(const std::string& path) = 0;
};

// The operating system's calls.
FileCalls& systemFileCalls();

} // namespace solvane::platform
