#pragma once

#include "platform/WinError.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::platform {

enum class ServiceType : std::uint32_t { KernelDriver = 1, FileSystemDriver = 2, OwnProcess = 0x10 };
enum class StartType : std::uint32_t { Boot = 0, System = 1, Automatic = 2, Demand = 3, Disabled = 4 };
enum class ServiceState : std::uint32_t { Stopped = 1, Running = 4 };

struct ServiceConfig {
    ServiceType type = ServiceType::KernelDriver;
    StartType startType = StartType::Demand;
    std::uint32_t errorControl = 1;
    std::string displayName;
    std::string imagePath;
};

// The service control manager: a table of installed services and whether each runs.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;

    // Opening the manager with full access; false when that is refused.
    virtual bool connect() = 0;
    virtual WinError createService(std::string_view name, const ServiceConfig& config) = 0;
    virtual bool exists(std::string_view name) const = 0;
    virtual std::optional<ServiceConfig> queryConfig(std::string_view name) const = 0;
    virtual std::optional<ServiceState> queryState(std::string_view name) const = 0;
    virtual WinError startService(std::string_view name) = 0;
    virtual WinError stopService(std::string_view name) = 0;
    virtual WinError deleteService(std::string_view name) = 0;
};

// The service table kept in a file of the state folder, so that an installed driver service stays
// installed (and running) across runs, as it does on the machine it stands in for. Starting a
// driver service loads its image file, so a missing file cannot be started.
class ServiceTable : public ServiceManager {
public:
    // An empty path keeps the table in memory only.
    explicit ServiceTable(std::filesystem::path file = {});

    bool connect() override { return true; }
    WinError createService(std::string_view name, const ServiceConfig& config) override;
    bool exists(std::string_view name) const override;
    std::optional<ServiceConfig> queryConfig(std::string_view name) const override;
    std::optional<ServiceState> queryState(std::string_view name) const override;
    WinError startService(std::string_view name) override;
    WinError stopService(std::string_view name) override;
    WinError deleteService(std::string_view name) override;

    // Lets an administrator's change (say, automatic start) be set up in tests and tools.
    void setStartType(std::string_view name, StartType startType);

    // How often each operation ran, so tests can tell a reinstall from a reuse.
    struct Counts {
        int created = 0;
        int started = 0;
        int stopped = 0;
        int deleted = 0;
    };
    const Counts& counts() const { return m_counts; }

    // Set when the table's file is there but cannot be used (unreadable, not a regular file): the
    // file is then left alone and the table lives in memory only.
    const std::string& problem() const { return m_problem; }

private:
    struct Entry {
        std::string name; // as created
        ServiceConfig config;
        ServiceState state = ServiceState::Stopped;
    };
    void load();
    void save() const;

    std::filesystem::path m_file;
    std::map<std::string, Entry> m_services; // keyed by the lower-cased name
    // Lines that could not be read as a service, written back as they came.
    std::vector<std::string> m_unreadLines;
    std::string m_problem;
    Counts m_counts;
};

} // namespace solvane::platform
