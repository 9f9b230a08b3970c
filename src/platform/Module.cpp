#include "platform/Module.h"

#include "platform/AsciiCase.h"

namespace solvane::platform {

void ModuleCatalog::add(std::string_view fileName, Factory factory) {
    m_factories.insert_or_assign(lowerAscii(fileName), std::move(factory));
}

void ModuleCatalog::remove(std::string_view fileName) {
    m_factories.erase(lowerAscii(fileName));
}

std::shared_ptr<const Module> ModuleCatalog::load(std::string_view fileName) {
    const auto found = m_factories.find(lowerAscii(fileName));
    if (found == m_factories.end())
        return nullptr;
    ++m_loads;
    return found->second();
}

} // namespace solvane::platform
