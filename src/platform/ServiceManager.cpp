#include "platform/ServiceManager.h"

#include "platform/AsciiCase.h"
#include "platform/AtomicFile.h"

#include <charconv>
#include <vector>

namespace solvane::platform {

namespace {

constexpr std::string_view kTableHeader = "# Solvane service table: name, type, start, error control, state, "
                                          "display name, image path (tab separated)";

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    while (true) {
        const auto cut = line.find('\t');
        fields.push_back(line.substr(0, cut));
        if (cut == std::string_view::npos)
            return fields;
        line.remove_prefix(cut + 1);
    }
}

std::optional<std::uint32_t> number(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool fitsOnALine(std::string_view text) {
    return text.find_first_of("\t\n\r") == std::string_view::npos;
}

} // namespace

ServiceTable::ServiceTable(std::filesystem::path file) : m_file(std::move(file)) {
    load();
}

void ServiceTable::load() {
    if (m_file.empty())
        return;
    const auto read = readKeptFile(m_file);
    if (read.status == FileRead::Status::Failed) {
        m_problem = "The driver service table cannot be used (" + read.error + ")";
        m_file.clear();
        return;
    }
    std::string_view rest = read.contents;
    while (!rest.empty()) {
        const auto cut = rest.find('\n');
        const auto line = rest.substr(0, cut);
        rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto fields = splitTabs(line);
        const auto field = [&](std::size_t i) {
            return fields.size() == 7 ? number(fields[i]) : std::nullopt;
        };
        const auto type = field(1);
        const auto start = field(2);
        const auto errorControl = field(3);
        const auto state = field(4);
        if (!type || !start || !errorControl || !state || *start > 4) {
            // A damaged line loses that one service, never the others, and stays in the file.
            m_unreadLines.emplace_back(line);
            continue;
        }
        Entry entry;
        entry.name = std::string(fields[0]);
        entry.config = {static_cast<ServiceType>(*type), static_cast<StartType>(*start), *errorControl,
                        std::string(fields[5]), std::string(fields[6])};
        entry.state = *state == static_cast<std::uint32_t>(ServiceState::Running) ? ServiceState::Running
                                                                                  : ServiceState::Stopped;
        m_services[lowerAscii(fields[0])] = std::move(entry);
    }
}

void ServiceTable::save() const {
    if (m_file.empty())
        return;
    std::string text(kTableHeader);
    text += '\n';
    for (const auto& line : m_unreadLines)
        text += line + '\n';
    for (const auto& [key, entry] : m_services) {
        text += entry.name + '\t' + std::to_string(static_cast<std::uint32_t>(entry.config.type)) + '\t' +
                std::to_string(static_cast<std::uint32_t>(entry.config.startType)) + '\t' +
                std::to_string(entry.config.errorControl) + '\t' +
                std::to_string(static_cast<std::uint32_t>(entry.state)) + '\t' + entry.config.displayName +
                '\t' + entry.config.imagePath + '\n';
    }
    writeFileAtomically(m_file, text);
}

WinError ServiceTable::createService(std::string_view name, const ServiceConfig& config) {
    if (name.empty() || !fitsOnALine(name) || !fitsOnALine(config.displayName) ||
        !fitsOnALine(config.imagePath))
        return WinError::InvalidParameter;
    const auto key = lowerAscii(name);
    if (m_services.count(key) != 0)
        return WinError::ServiceExists;
    m_services[key] = Entry{std::string(name), config, ServiceState::Stopped};
    ++m_counts.created;
    save();
    return WinError::Success;
}

bool ServiceTable::exists(std::string_view name) const {
    return m_services.count(lowerAscii(name)) != 0;
}

std::optional<ServiceConfig> ServiceTable::queryConfig(std::string_view name) const {
    const auto found = m_services.find(lowerAscii(name));
    if (found == m_services.end())
        return std::nullopt;
    return found->second.config;
}

std::optional<ServiceState> ServiceTable::queryState(std::string_view name) const {
    const auto found = m_services.find(lowerAscii(name));
    if (found == m_services.end())
        return std::nullopt;
    return found->second.state;
}

WinError ServiceTable::startService(std::string_view name) {
    const auto found = m_services.find(lowerAscii(name));
    if (found == m_services.end())
        return WinError::ServiceDoesNotExist;
    if (found->second.state == ServiceState::Running)
        return WinError::ServiceAlreadyRunning;
    std::error_code error;
    if (!std::filesystem::is_regular_file(found->second.config.imagePath, error))
        return WinError::FileNotFound;
    found->second.state = ServiceState::Running;
    ++m_counts.started;
    save();
    return WinError::Success;
}

WinError ServiceTable::stopService(std::string_view name) {
    const auto found = m_services.find(lowerAscii(name));
    if (found == m_services.end())
        return WinError::ServiceDoesNotExist;
    if (found->second.state != ServiceState::Running)
        return WinError::ServiceNotActive;
    found->second.state = ServiceState::Stopped;
    ++m_counts.stopped;
    save();
    return WinError::Success;
}

WinError ServiceTable::deleteService(std::string_view name) {
    const auto found = m_services.find(lowerAscii(name));
    if (found == m_services.end())
        return WinError::ServiceDoesNotExist;
    m_services.erase(found);
    ++m_counts.deleted;
    save();
    return WinError::Success;
}

void ServiceTable::setStartType(std::string_view name, StartType startType) {
    const auto found = m_services.find(lowerAscii(name));
    if (found == m_services.end())
        return;
    found->second.config.startType = startType;
    save();
}

} // namespace solvane::platform
