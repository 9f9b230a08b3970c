#include "platform/RegistryKeyTree.h"

#include "platform/AsciiCase.h"

#include <algorithm>
#include <utility>

namespace solvane::platform {

bool CaseInsensitiveLess::operator()(std::string_view left, std::string_view right) const {
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](char a, char b) { return lowerAscii(a) < lowerAscii(b); });
}

bool equalsIgnoringCase(std::string_view left, std::string_view right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

std::vector<std::string_view> splitKeyPath(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto name = path.substr(0, cut);
        if (!name.empty())
            names.push_back(name);
        if (cut == std::string_view::npos)
            break;
        path.remove_prefix(cut + 1);
    }
    return names;
}

void freeKeyTree(std::unique_ptr<RegistryKeyTree::Key> key) {
    std::vector<std::unique_ptr<RegistryKeyTree::Key>> pending;
    pending.push_back(std::move(key));
    while (!pending.empty()) {
        auto next = std::move(pending.back());
        pending.pop_back();
        if (!next)
            continue;
        for (auto& [name, child] : next->children)
            pending.push_back(std::move(child));
        // next goes here with only empty child pointers left.
    }
}

RegistryKeyTree::RegistryKeyTree() : m_root(std::make_unique<Key>()) {}

RegistryKeyTree::~RegistryKeyTree() {
    freeKeyTree(std::move(m_root));
}

RegistryKeyTree::RegistryKeyTree(RegistryKeyTree&& other) noexcept
    : m_root(std::exchange(other.m_root, std::make_unique<Key>())) {}

RegistryKeyTree& RegistryKeyTree::operator=(RegistryKeyTree&& other) noexcept {
    if (this != &other) {
        freeKeyTree(std::move(m_root));
        m_root = std::exchange(other.m_root, std::make_unique<Key>());
    }
    return *this;
}

const RegistryKeyTree::Key* RegistryKeyTree::find(std::string_view path) const {
    const Key* key = m_root.get();
    for (const auto name : splitKeyPath(path)) {
        const auto child = key->children.find(name);
        if (child == key->children.end())
            return nullptr;
        key = child->second.get();
    }
    return key;
}

RegistryKeyTree::Key* RegistryKeyTree::find(std::string_view path) {
    return const_cast<Key*>(std::as_const(*this).find(path));
}

RegistryKeyTree::Key& RegistryKeyTree::findOrCreate(std::string_view path) {
    Key* key = m_root.get();
    for (const auto name : splitKeyPath(path)) {
        auto child = key->children.find(name);
        if (child == key->children.end()) {
            auto created = std::make_unique<Key>();
            created->name = std::string(name);
            child = key->children.emplace(std::string(name), std::move(created)).first;
        }
        key = child->second.get();
    }
    return *key;
}

bool RegistryKeyTree::erase(std::string_view path) {
    auto names = splitKeyPath(path);
    if (names.empty())
        return false;
    const auto last = names.back();
    names.pop_back();
    Key* parent = m_root.get();
    for (const auto name : names) {
        const auto child = parent->children.find(name);
        if (child == parent->children.end())
            return false;
        parent = child->second.get();
    }
    const auto found = parent->children.find(last);
    if (found == parent->children.end())
        return false;
    freeKeyTree(std::move(found->second));
    parent->children.erase(found);
    return true;
}

bool RegistryKeyTree::empty() const {
    return m_root->children.empty() && m_root->values.empty();
}

} // namespace solvane::platform
