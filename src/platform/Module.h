#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace solvane::platform {

// A run-time module: a table of entry points looked up by name, as from a library loaded at run
// time. An entry point a module lacks is simply not found, and callers skip it.
class Module {
public:
    explicit Module(std::string name) : m_name(std::move(name)) {}

    const std::string& name() const { return m_name; }

    template <class Signature> void define(std::string entryPoint, std::function<Signature> function) {
        m_entries.insert_or_assign(std::move(entryPoint), std::move(function));
    }

    // The entry point when the module has it with this signature, else null.
    template <class Signature> const std::function<Signature>* find(std::string_view entryPoint) const {
        const auto found = m_entries.find(entryPoint);
        if (found == m_entries.end())
            return nullptr;
        return std::any_cast<std::function<Signature>>(&found->second);
    }

    bool has(std::string_view entryPoint) const { return m_entries.find(entryPoint) != m_entries.end(); }

private:
    std::string m_name;
    std::map<std::string, std::any, std::less<>> m_entries; // entry-point names are case-sensitive
};

// Loading modules by file name ("Nimbrel_xp.dll"); names compare without regard to case.
class ModuleLoader {
public:
    virtual ~ModuleLoader() = default;
    // Empty when no module of that name can be loaded.
    virtual std::shared_ptr<const Module> load(std::string_view fileName) = 0;
};

// The modules a hardware back-end provides, made on demand by their factories. A test takes away a
// module by not registering it, or an entry point by registering a module without it.
class ModuleCatalog final : public ModuleLoader {
public:
    using Factory = std::function<std::shared_ptr<const Module>()>;

    void add(std::string_view fileName, Factory factory);
    void remove(std::string_view fileName);
    std::shared_ptr<const Module> load(std::string_view fileName) override;
    int loads() const { return m_loads; }

private:
    std::map<std::string, Factory> m_factories; // keyed by lower-cased file name
    int m_loads = 0;
};

} // namespace solvane::platform
