#include "app/ProgramStart.h"

#include "app/CommandLineStart.h"
#include "platform/FileRegistry.h"
#include "platform/RegistrySeed.h"

#include <iostream>
#include <vector>

namespace solvane::app {

ProgramStart::ProgramStart(const Options& options, std::filesystem::path stateFolder,
                           const SimulationRun& run)
    : m_options(options), m_stateFolder(std::move(stateFolder)),
      m_backend(HardwareBackend::create(options, m_stateFolder, run)) {
    if (!m_backend.error.empty())
        std::cerr << "solvane: " << m_backend.error << '\n';
}

std::optional<int> ProgramStart::backendFailed() const {
    if (m_backend.error.empty())
        return std::nullopt;
    return kUsageExitCode;
}

StartedCore ProgramStart::startCore(RegistryUse use, platform::Scheduler& scheduler, platform::Prompt& prompt,
                                    const std::function<void(const std::string&)>& tell,
                                    std::function<void()> requestClose) {
    StartedCore started;
    if (!m_backend.notice.empty())
        tell(m_backend.notice);
    const auto file = m_stateFolder / "registry.reg";
    std::string notice;
    if (use == RegistryUse::File) {
        auto opened = platform::FileRegistry::open(file);
        notice = opened.notice;
        // A change that cannot be kept is told, never lost in silence.
        opened.registry->onSaveFailure(tell);
        started.registry = std::move(opened.registry);
    } else {
        started.registry = platform::openRegistrySnapshot(file, notice);
    }
    if (!notice.empty())
        tell(notice);
    platform::seedWindowsValues(*started.registry, m_system);
    started.core = std::make_unique<SolvaneCore>(
        SolvaneCore::Services{*m_backend.hardware, *started.registry, m_system, scheduler, prompt, m_random,
                              seedFrom(m_options), std::move(requestClose)});
    if (use == RegistryUse::File && m_options.hardware == HardwareKind::Host) {
        host::HostOptions machine;
        machine.sysfsRoot = m_options.sysfsRoot;
        m_profileFile = std::make_unique<host::PlatformProfileFile>(machine.root());
        std::vector<platform::PowerProfileService*> services;
        if (m_profileDaemon)
            services.push_back(m_profileDaemon.get());
        services.push_back(m_profileFile.get());
        started.core->session().useSystemProfiles(std::move(services));
    }
    return started;
}

void printNotice(const std::string& notice) {
    std::cerr << "solvane: " << notice << '\n';
}

} // namespace solvane::app
