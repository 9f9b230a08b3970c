#include "sim/SimulatedBoard.h"

#include "sim/PciTopology.h"
#include "sim/images/SmbiosTable.h"
#include "sim/physics/HostCpuLoad.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace solvane::sim {

namespace {

const BoardModel& requireModel(int code) {
    if (const auto* model = findBoardModel(code))
        return *model;
    throw std::invalid_argument("there is no simulated board KX-" + std::to_string(code) +
                                " (boards 2901 to 2918, or 0 for a board of another maker)");
}

std::vector<MemoryModule> chooseModules(const SimulationOptions& options, const BoardModel& model) {
    std::vector<MemoryModule> modules =
        options.memory ? *options.memory
                       : std::vector<MemoryModule>(model.memory.begin(), model.memory.end());
    for (const auto& module : modules)
        if (const auto problem = checkModule(module); !problem.empty())
            throw std::invalid_argument(problem);
    return modules;
}

std::string productName(const BoardModel& model, std::string_view version,
                        const std::vector<MemoryModule>& modules, ProductNaming naming) {
    if (model.code == 0)
        return std::string(model.modelName);
    const bool hasDdr3 = std::any_of(modules.begin(), modules.end(), [](const MemoryModule& module) {
        return module.type == MemoryType::Ddr3;
    });
    const auto name = firmwareModelName(model, version, hasDdr3);
    const std::string code = "KX-" + std::to_string(model.code);
    if (naming == ProductNaming::CodeOnly || name.empty())
        return code;
    return std::string(name) + " (" + code + ")";
}

} // namespace

SimulatedBoard::SimulatedBoard(const SimulationOptions& options)
    : m_options(options), m_model(requireModel(options.boardCode)),
      m_graphics(options.graphics ? &optionCard(*options.graphics) : m_model.graphics),
      m_baseboardVersion(options.baseboardVersion.empty() ? std::string(m_model.baseboardVersion)
                                                          : options.baseboardVersion),
      m_biosVersion(options.biosVersion.empty() ? std::string(m_model.biosVersion) : options.biosVersion),
      m_modules(chooseModules(options, m_model)), m_registers(m_model.registers, {}),
      m_physics(m_model, *m_model.processor, m_graphics->watts),
      m_cpuLoad(options.cpuLoad ? options.cpuLoad : std::make_shared<HostCpuLoad>()),
      m_started(std::chrono::steady_clock::now()), m_random(options.seed) {
    if (m_model.revision && m_baseboardVersion.find(m_model.revision->marker) != std::string::npos) {
        m_revision = m_model.revision;
        m_registers = BoardRegisters(m_model.registers, m_revision->registers);
    }
    m_baseboardProduct = productName(m_model, m_baseboardVersion, m_modules, options.productNaming);
    for (const auto& module : m_modules)
        m_spd[module.slot] = buildSpdImage(module);
    installPciTopology(m_machine, m_model, *m_graphics);

    SmbiosIdentity identity;
    identity.boardCode = m_model.code;
    identity.maker = m_model.maker;
    identity.systemProduct = m_model.code == 0 ? m_baseboardProduct : "KX-" + std::to_string(m_model.code);
    identity.baseboardProduct = m_baseboardProduct;
    identity.baseboardVersion = m_baseboardVersion;
    char serial[32];
    std::snprintf(serial, sizeof serial, "TK%04d%s0912%05d", m_model.code, m_model.code == 0 ? "X" : "A",
                  m_model.code * 7 % 100000);
    identity.baseboardSerial = serial;
    identity.biosVendor = m_model.biosVendor;
    identity.biosVersion = m_biosVersion;
    identity.biosDate = m_model.biosDate;
    identity.processor = m_model.processor;
    identity.modules = m_modules;
    m_smbios = buildSmbiosTable(identity);

    loadState();
}

std::string SimulatedBoard::description() const {
    return "Simulated " + std::string(m_model.maker) + " " + m_baseboardProduct;
}

std::chrono::milliseconds SimulatedBoard::now() const {
    if (m_options.clock)
        return m_options.clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 m_started);
}

} // namespace solvane::sim
