#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace solvane::platform {

// Processor architecture codes as the native system information reports them.
enum class ProcessorArchitecture : std::uint16_t {
    Intel = 0,
    Arm = 5,
    Ia64 = 6,
    Amd64 = 9,
    Arm64 = 12,
    Unknown = 0xFFFF,
};

// Platform ids of the operating-system version record.
enum class PlatformId : std::uint32_t {
    Win32s = 0,
    Win32Windows = 1,
    Win32Nt = 2,
};

// Facts about the machine and the program's own place on it.
class SystemFacts {
public:
    virtual ~SystemFacts() = default;

    virtual PlatformId platformId() const = 0;
    // Empty when the native system information cannot be asked for at all.
    virtual std::optional<ProcessorArchitecture> nativeArchitecture() const = 0;
    virtual unsigned processorCount() const = 0;
    // The folder the program's executable lives in.
    virtual std::filesystem::path programFolder() const = 0;
    // The folder of the files the program ships with (skins, driver descriptors): the program's own
    // folder in the build, PREFIX/share/solvane once installed.
    virtual std::filesystem::path dataFolder() const = 0;
    // True for a path on a network file system (NFS, SMB/CIFS, …) or written as a network path.
    virtual bool isNetworkLocation(const std::filesystem::path& path) const = 0;
};

// The machine the program runs on: uname, the processor count, statfs.
class HostSystemFacts final : public SystemFacts {
public:
    PlatformId platformId() const override { return PlatformId::Win32Nt; }
    std::optional<ProcessorArchitecture> nativeArchitecture() const override;
    unsigned processorCount() const override;
    std::filesystem::path programFolder() const override;
    std::filesystem::path dataFolder() const override;
    bool isNetworkLocation(const std::filesystem::path& path) const override;
};

// Architecture code for a uname machine name ("x86_64" -> Amd64, "i686" -> Intel, …).
ProcessorArchitecture architectureForMachine(std::string_view machine);
// True for the statfs file-system magic numbers of network file systems.
bool isNetworkFileSystemType(std::int64_t type);

// Test double: every fact is a field.
class FakeSystemFacts final : public SystemFacts {
public:
    PlatformId platform = PlatformId::Win32Nt;
    std::optional<ProcessorArchitecture> architecture = ProcessorArchitecture::Amd64;
    unsigned processors = 2;
    std::filesystem::path folder = "/opt/solvane";
    std::filesystem::path data; // empty: the program's folder, as in the build
    bool network = false;

    PlatformId platformId() const override { return platform; }
    std::optional<ProcessorArchitecture> nativeArchitecture() const override { return architecture; }
    unsigned processorCount() const override { return processors; }
    std::filesystem::path programFolder() const override { return folder; }
    std::filesystem::path dataFolder() const override { return data.empty() ? folder : data; }
    bool isNetworkLocation(const std::filesystem::path&) const override { return network; }
};

} // namespace solvane::platform
