#include "power/SystemProfileModes.h"

namespace solvane::power {

namespace {

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

} // namespace

SystemProfileModes::SystemProfileModes(std::vector<platform::PowerProfileService*> services,
                                       platform::Registry& registry)
    : m_services(std::move(services)), m_registry(registry) {}

std::string_view SystemProfileModes::serviceName() const {
    return m_service != nullptr ? m_service->name() : std::string_view();
}

void SystemProfileModes::start() {
    std::string problems;
    for (auto* service : m_services) {
        const auto offer = service->offer();
        if (offer.problem.empty() && !offer.profiles.empty()) {
            m_service = service;
            break;
        }
        problems += problems.empty() ? "" : "; ";
        problems +=
            offer.problem.empty() ? std::string(service->name()) + " offers no profile" : offer.problem;
    }
    if (const auto note = ProfileRestoreNote::read(m_registry)) {
        // A run that ended without giving the profile back: the boards' crash fallback to Default.
        if (m_service == nullptr || note->service != m_service->name()) {
            m_reason = "The " + quoted(note->before) + " power profile set aside through " + note->service +
                       " cannot be given back while " + note->service + " is not available";
            m_service = nullptr;
            return;
        }
        if (auto problem = giveBack(*note); !problem.empty()) {
            m_reason = std::move(problem);
            return;
        }
    }
    if (m_service == nullptr) {
        m_reason = "No power profile to switch: " + problems;
        return;
    }
    const auto offer = m_service->offer();
    m_offered = offer.profiles;
    m_plan = planProfiles(m_offered, offer.active);
    if (!m_plan.savesAnything())
        m_reason = "The power profile in force, " + quoted(m_plan.usual) + ", already saves the most";
}

std::string SystemProfileModes::apply(PowerMode mode) {
    if (mode == PowerMode::Default || mode == PowerMode::None)
        return restore();
    if (!savingModesAvailable())
        return m_reason;
    auto note = ProfileRestoreNote::read(m_registry);
    if (!note) {
        // From the usual profile: the one in force now is what the user runs without Solvane.
        const auto offer = m_service->offer();
        if (!offer.problem.empty())
            return offer.problem;
        m_offered = offer.profiles;
        m_plan = planProfiles(m_offered, offer.active);
        note = ProfileRestoreNote{std::string(m_service->name()), offer.active, {}};
    }
    const auto& profile = m_plan.profileOf(mode);
    if (!note->solvaneSet(profile))
        note->set.push_back(profile);
    // The note goes first, so a crash right after the switch still finds what to give back.
    if (!note->write(m_registry))
        return "The power profile stays " + quoted(note->before) +
               ": the registry cannot keep the note of what to give back";
    if (auto problem = m_service->setProfile(profile); !problem.empty()) {
        if (m_mode == PowerMode::Default)
            ProfileRestoreNote::clear(m_registry);
        return problem;
    }
    m_mode = mode;
    return {};
}

std::string SystemProfileModes::restore() {
    const auto note = ProfileRestoreNote::read(m_registry);
    if (!note) {
        m_mode = PowerMode::Default;
        return {};
    }
    if (m_service == nullptr || note->service != m_service->name())
        return m_reason;
    return giveBack(*note);
}

std::string SystemProfileModes::giveBack(const ProfileRestoreNote& note) {
    const auto offer = m_service->offer();
    if (!offer.problem.empty())
        return offer.problem;
    // A profile the user chose elsewhere since stays: it is the new usual one.
    if (offer.active != note.before && note.solvaneSet(offer.active))
        if (auto problem = m_service->setProfile(note.before); !problem.empty())
            return problem;
    ProfileRestoreNote::clear(m_registry);
    m_mode = PowerMode::Default;
    return {};
}

} // namespace solvane::power
