#include "platform/RegEditFormat.h"

#include <charconv>
#include <cstdio>

namespace solvane::platform {

namespace {

bool needsHexForm(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
}

void appendHexString(std::string& out, std::string_view text) {
    out += "hex(1):";
    char pair[8];
    bool first = true;
    auto appendByte = [&](unsigned value) {
        std::snprintf(pair, sizeof pair, first ? "%02x" : ",%02x", value);
        out += pair;
        first = false;
    };
    for (const char c : text) {
        appendByte(static_cast<unsigned char>(c));
        appendByte(0);
    }
    appendByte(0);
    appendByte(0);
}

void appendKey(std::string& out, const RegistryTree::Key& key, const std::string& path) {
    out += '[';
    out += path;
    out += "]\n";
    for (const auto& [name, data] : key.values) {
        appendQuoted(out, name);
        out += '=';
        if (const auto* text = std::get_if<std::string>(&data)) {
            if (needsHexForm(*text))
                appendHexString(out, *text);
            else
                appendQuoted(out, *text);
        } else {
            char dword[16];
            std::snprintf(dword, sizeof dword, "dword:%08x",
                          static_cast<unsigned>(std::get<std::uint32_t>(data)));
            out += dword;
        }
        out += '\n';
    }
    out += '\n';
    for (const auto& [name, child] : key.children)
        appendKey(out, *child, path + '\\' + child->name);
}

// Reads a quoted string starting at text[pos] == '"'; leaves pos after the closing quote.
bool readQuoted(std::string_view text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"')
        return false;
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"')
            return true;
        if (c == '\\') {
            if (pos >= text.size())
                return false;
            out += text[pos++];
        } else {
            out += c;
        }
    }
    return false;
}

bool readHexString(std::string_view hex, std::string& out) {
    std::string bytes;
    while (!hex.empty()) {
        while (!hex.empty() && (hex.front() == ' ' || hex.front() == '\t'))
            hex.remove_prefix(1);
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(hex.data(), hex.data() + std::min<std::size_t>(hex.size(), 2), value, 16);
        if (error != std::errc() || end != hex.data() + std::min<std::size_t>(hex.size(), 2))
            return false;
        bytes += static_cast<char>(value);
        hex.remove_prefix(2);
        if (!hex.empty()) {
            if (hex.front() != ',')
                return false;
            hex.remove_prefix(1);
        }
    }
    if (bytes.size() % 2 != 0)
        return false;
    out.clear();
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i + 1] != 0)
            return false; // Only the byte range of UTF-16 is kept by this registry.
        out += bytes[i];
    }
    if (!out.empty() && out.back() == '\0')
        out.pop_back();
    return true;
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

} // namespace

std::string formatRegEdit(const RegistryTree& tree) {
    std::string out(kRegEditHeader);
    out += "\n\n";
    for (const auto& [name, child] : tree.root().children)
        appendKey(out, *child, std::string(kLocalMachine) + '\\' + child->name);
    return out;
}

RegEditParseResult parseRegEdit(std::string_view text, RegistryTree& tree) {
    RegEditParseResult result;
    RegistryTree::Key* current = nullptr;
    int lineNumber = 0;
    bool headerSeen = false;
    std::string logical;
    auto fail = [&](std::string message) {
        result.ok = false;
        result.errorLine = lineNumber;
        result.error = std::move(message);
        return result;
    };

    while (!text.empty()) {
        auto cut = text.find('\n');
        auto line = text.substr(0, cut);
        text.remove_prefix(cut == std::string_view::npos ? text.size() : cut + 1);
        ++lineNumber;
        line = trimmed(line);
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        // hex values may continue over several lines, each ending in a backslash.
        logical += line;
        if (!logical.empty() && logical.back() == '\\' && logical.find("=hex") != std::string::npos) {
            logical.pop_back();
            continue;
        }
        const std::string_view entry = logical;
        if (entry.empty() || entry.front() == ';') {
            logical.clear();
            continue;
        }
        if (!headerSeen) {
            if (entry != kRegEditHeader)
                return fail("the first line is not \"" + std::string(kRegEditHeader) + "\"");
            headerSeen = true;
        } else if (entry.front() == '[') {
            if (entry.back() != ']')
                return fail("a key line does not end in ']'");
            auto path = entry.substr(1, entry.size() - 2);
            const auto hive = path.substr(0, path.find('\\'));
            if (!equalsIgnoringCase(hive, kLocalMachine))
                return fail("a key outside HKEY_LOCAL_MACHINE");
            path.remove_prefix(hive.size());
            current = &tree.findOrCreate(path);
        } else if (entry.front() == '"') {
            if (current == nullptr)
                return fail("a value before any key");
            std::size_t pos = 0;
            std::string name;
            if (!readQuoted(entry, pos, name) || pos >= entry.size() || entry[pos] != '=')
                return fail("a value line without a quoted name and '='");
            const auto data = entry.substr(pos + 1);
            if (data.starts_with('"')) {
                std::size_t dataPos = 0;
                std::string value;
                if (!readQuoted(data, dataPos, value) || dataPos != data.size())
                    return fail("a string value is not closed");
                current->values[name] = std::move(value);
            } else if (data.starts_with("dword:")) {
                const auto digits = data.substr(6);
                std::uint32_t value = 0;
                const auto [end, error] =
                    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
                if (digits.empty() || digits.size() > 8 || error != std::errc() ||
                    end != digits.data() + digits.size())
                    return fail("a dword value is not 1 to 8 hexadecimal digits");
                current->values[name] = value;
            } else if (data.starts_with("hex(1):")) {
                std::string value;
                if (!readHexString(data.substr(7), value))
                    return fail("a hex(1) value is malformed");
                current->values[name] = std::move(value);
            } else {
                return fail("a value of a kind this registry does not hold");
            }
        } else {
            return fail("a line that is neither a key nor a value");
        }
        logical.clear();
    }
    if (!headerSeen)
        return fail("the file is empty");
    if (!logical.empty())
        return fail("the file ends inside a continued value");
    result.ok = true;
    return result;
}

} // namespace solvane::platform
