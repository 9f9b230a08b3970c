#include "platform/SystemFacts.h"

#include "platform/RuntimeFolders.h"

#include <array>
#include <sys/statfs.h>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>

namespace solvane::platform {

ProcessorArchitecture architectureForMachine(std::string_view machine) {
    struct Entry {
        std::string_view machine;
        ProcessorArchitecture architecture;
    };
    static constexpr std::array kMachines{
        Entry{"x86_64", ProcessorArchitecture::Amd64}, Entry{"amd64", ProcessorArchitecture::Amd64},
        Entry{"i386", ProcessorArchitecture::Intel},   Entry{"i486", ProcessorArchitecture::Intel},
        Entry{"i586", ProcessorArchitecture::Intel},   Entry{"i686", ProcessorArchitecture::Intel},
        Entry{"ia64", ProcessorArchitecture::Ia64},    Entry{"aarch64", ProcessorArchitecture::Arm64},
        Entry{"armv7l", ProcessorArchitecture::Arm},
    };
    for (const auto& entry : kMachines)
        if (entry.machine == machine)
            return entry.architecture;
    return ProcessorArchitecture::Unknown;
}

bool isNetworkFileSystemType(std::int64_t type) {
    // statfs f_type values of file systems whose files live on another machine.
    static constexpr std::array<std::int64_t, 9> kNetworkTypes{
        0x6969,     // NFS
        0xFF534D42, // CIFS
        0xFE534D42, // SMB2
        0x517B,     // SMB
        0x564C,     // NCP
        0x65735546, // FUSE (sshfs and friends)
        0x00C36400, // Ceph
        0x6B414653, // AFS
        0x73757245, // Coda
    };
    for (const auto networkType : kNetworkTypes)
        if (type == networkType)
            return true;
    return false;
}

std::optional<ProcessorArchitecture> HostSystemFacts::nativeArchitecture() const {
    utsname name{};
    if (::uname(&name) != 0)
        return std::nullopt;
    return architectureForMachine(name.machine);
}

unsigned HostSystemFacts::processorCount() const {
    const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1U;
}

std::filesystem::path HostSystemFacts::programFolder() const {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : executable.parent_path();
}

std::filesystem::path HostSystemFacts::dataFolder() const {
    return runtimeFoldersFor(programFolder()).data;
}

bool HostSystemFacts::isNetworkLocation(const std::filesystem::path& path) const {
    const auto text = path.native();
    if (text.starts_with("\\\\") || text.starts_with("//"))
        return true;
    struct statfs info {};
    if (::statfs(path.c_str(), &info) != 0)
        return false;
    return isNetworkFileSystemType(static_cast<std::int64_t>(info.f_type));
}

} // namespace solvane::platform
