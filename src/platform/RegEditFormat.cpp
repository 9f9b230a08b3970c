#include "platform/RegEditFormat.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <optional>

namespace solvane::platform {

namespace {

constexpr std::string_view kRegEdit4Header = "REGEDIT4";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr unsigned kStringType = 1;
constexpr unsigned kBinaryType = 3;

bool needsHexForm(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 code units as UTF-8, or nothing when a surrogate stands alone.
std::optional<std::string> utf16ToUtf8(const std::vector<char16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
                return std::nullopt;
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return std::nullopt;
        }
        appendUtf8(out, code);
    }
    return out;
}

// The code points of valid UTF-8 text, or nothing when the bytes are not UTF-8.
std::optional<std::u32string> utf8CodePoints(std::string_view text) {
    std::u32string codes;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80         ? 1
                           : (lead >> 5) == 6  ? 2
                           : (lead >> 4) == 14 ? 3
                           : (lead >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size())
            return std::nullopt;
        auto code = static_cast<char32_t>(length == 1 ? lead : lead & (0x7F >> length));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        codes += code;
        i += static_cast<std::size_t>(length);
    }
    return codes;
}

void appendHexBytes(std::string& out, std::string_view bytes) {
    char pair[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02x" : ",%02x", static_cast<unsigned char>(bytes[i]));
        out += pair;
    }
}

// hex(1): UTF-16LE with its terminating zero. Text whose characters all fit a byte is written one
// byte per code unit, so any byte string comes back unchanged; UTF-8 text with characters above
// U+00FF is written as the characters themselves.
void appendHexString(std::string& out, std::string_view text) {
    std::u32string units;
    if (const auto codes = utf8CodePoints(text)) {
        bool wide = false;
        for (const char32_t code : *codes)
            wide = wide || code > 0xFF;
        if (wide)
            units = *codes;
    }
    if (units.empty())
        for (const char c : text)
            units += static_cast<char32_t>(static_cast<unsigned char>(c));
    std::string bytes;
    auto addUnit = [&](char32_t unit) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    };
    for (const char32_t code : units) {
        if (code >= 0x10000) {
            addUnit(0xD800 + ((code - 0x10000) >> 10));
            addUnit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            addUnit(code);
        }
    }
    addUnit(0);
    out += "hex(1):";
    appendHexBytes(out, bytes);
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

void appendValues(std::string& out, const RegistryKeyTree::Key& key) {
    for (const auto& [name, data] : key.values) {
        if (name.empty())
            out += '@';
        else
            appendQuoted(out, name);
        out += '=';
        if (const auto* text = std::get_if<std::string>(&data)) {
            if (needsHexForm(*text))
                appendHexString(out, *text);
            else
                appendQuoted(out, *text);
        } else if (const auto* number = std::get_if<std::uint32_t>(&data)) {
            char dword[16];
            std::snprintf(dword, sizeof dword, "dword:%08x", static_cast<unsigned>(*number));
            out += dword;
        } else {
            const auto& raw = std::get<RawRegistryValue>(data);
            char kind[24];
            std::snprintf(kind, sizeof kind, raw.type == kBinaryType ? "hex:" : "hex(%x):", raw.type);
            out += kind;
            appendHexBytes(out, raw.bytes);
        }
        out += '\n';
    }
    out += '\n';
}

void appendKey(std::string& out, const RegistryKeyTree::Key& key, const std::string& path) {
    out += '[';
    out += path;
    out += "]\n";
    appendValues(out, key);
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

// "41,00,42,00" (spaces allowed) as bytes.
std::optional<std::string> readHexBytes(std::string_view hex) {
    std::string bytes;
    while (!hex.empty()) {
        while (!hex.empty() && (hex.front() == ' ' || hex.front() == '\t'))
            hex.remove_prefix(1);
        const auto digits = std::min<std::size_t>(hex.size(), 2);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(hex.data(), hex.data() + digits, value, 16);
        if (digits == 0 || error != std::errc() || end != hex.data() + digits)
            return std::nullopt;
        bytes += static_cast<char>(value);
        hex.remove_prefix(digits);
        while (!hex.empty() && (hex.front() == ' ' || hex.front() == '\t'))
            hex.remove_prefix(1);
        if (!hex.empty()) {
            if (hex.front() != ',')
                return std::nullopt;
            hex.remove_prefix(1);
        }
    }
    return bytes;
}

// hex(1) bytes as the registry's string: code units up to U+00FF as one byte each (what this
// registry writes for any byte string), wider text as UTF-8.
std::optional<std::string> readHexString(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::vector<char16_t> units;
    bool wide = false;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8);
        units.push_back(unit);
        wide = wide || unit > 0xFF;
    }
    if (!units.empty() && units.back() == 0)
        units.pop_back();
    if (wide)
        return utf16ToUtf8(units);
    std::string out;
    for (const char16_t unit : units)
        out += static_cast<char>(unit);
    return out;
}

// A line of a hex value that goes on in the next line: "…=hex(7):61,00,\" (and not a string value
// that merely ends in a backslash).
bool continuesHexValue(std::string_view line) {
    if (!line.ends_with('\\'))
        return false;
    line.remove_suffix(1);
    while (!line.empty() &&
           std::string_view("0123456789abcdefABCDEF, \t").find(line.back()) != std::string_view::npos)
        line.remove_suffix(1);
    if (!line.ends_with(':'))
        return false;
    line.remove_suffix(1);
    if (line.ends_with(')')) {
        const auto open = line.rfind('(');
        if (open == std::string_view::npos)
            return false;
        line = line.substr(0, open);
    }
    return line.ends_with("=hex");
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

// The text of a file the Windows tool wrote as UTF-16LE, as UTF-8.
std::optional<std::string> fromUtf16File(std::string_view bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::vector<char16_t> units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    return utf16ToUtf8(units);
}

// "hex:" or "hex(7):" at the start of data: the value type and where the bytes begin.
std::optional<std::pair<unsigned, std::size_t>> hexKind(std::string_view data) {
    if (data.starts_with("hex:"))
        return std::pair{kBinaryType, std::size_t{4}};
    if (!data.starts_with("hex("))
        return std::nullopt;
    const auto close = data.find("):");
    if (close == std::string_view::npos || close <= 4 || close > 12)
        return std::nullopt;
    unsigned type = 0;
    const auto [end, error] = std::from_chars(data.data() + 4, data.data() + close, type, 16);
    if (error != std::errc() || end != data.data() + close)
        return std::nullopt;
    return std::pair{type, close + 2};
}

// The text of a registry file as UTF-8 (a file the Windows tool wrote as UTF-16LE is converted into
// decoded), without its byte-order mark. An error when UTF-16 text is cut or broken.
std::optional<std::string> decodeFileText(std::string_view& text, std::string& decoded) {
    if (text.starts_with(kUtf16Mark)) {
        auto utf8 = fromUtf16File(text.substr(kUtf16Mark.size()));
        if (!utf8)
            return "the file is not whole UTF-16 text";
        decoded = std::move(*utf8);
        text = decoded;
    } else if (text.starts_with(kUtf8Mark)) {
        text.remove_prefix(kUtf8Mark.size());
    }
    return std::nullopt;
}

// The entries of a registry file, one at a time: each line trimmed, blank lines and comments
// skipped, and a hex value that goes on over several lines (each ending in a backslash) joined into
// one entry. A blank line does not finish such a value: a file cut after a backslash is cut inside it.
class RegEditLines {
public:
    RegEditLines() = default;
    explicit RegEditLines(std::string_view text) : m_rest(text) {}

    // The next entry; nothing at the end of the text.
    std::optional<std::string_view> next() {
        m_entry.clear();
        while (!m_rest.empty()) {
            const auto cut = m_rest.find('\n');
            const auto line = trimmed(m_rest.substr(0, cut));
            m_rest.remove_prefix(cut == std::string_view::npos ? m_rest.size() : cut + 1);
            ++m_lineNumber;
            if (line.empty() && m_continuing)
                continue;
            m_entry += line;
            m_continuing = continuesHexValue(m_entry);
            if (m_continuing) {
                m_entry.pop_back();
                continue;
            }
            if (!m_entry.empty() && m_entry.front() != ';')
                return std::string_view(m_entry);
            m_entry.clear();
        }
        return std::nullopt;
    }
    // The line the last entry ended on.
    int lineNumber() const { return m_lineNumber; }
    // Whether the text ended inside a continued value.
    bool endedInsideValue() const { return !m_entry.empty(); }

private:
    std::string_view m_rest;
    std::string m_entry;
    bool m_continuing = false;
    int m_lineNumber = 0;
};

// "[HKEY_LOCAL_MACHINE\\Key]" opens (and makes) a key, "[-HKEY_LOCAL_MACHINE\\Key]" deletes one; the
// values that follow belong to current.
std::optional<std::string> applyKeyLine(std::string_view entry, RegistryKeyTree& tree,
                                        RegistryKeyTree::Key*& current) {
    if (entry.back() != ']')
        return "a key line does not end in ']'";
    auto path = entry.substr(1, entry.size() - 2);
    const bool deletion = path.starts_with('-');
    if (deletion)
        path.remove_prefix(1);
    const auto hive = path.substr(0, path.find('\\'));
    if (!equalsIgnoringCase(hive, kLocalMachine))
        return "a key outside HKEY_LOCAL_MACHINE";
    path.remove_prefix(hive.size());
    if (splitKeyPath(path).size() > RegistryKeyTree::kMaxDepth)
        return "a key nested deeper than " + std::to_string(RegistryKeyTree::kMaxDepth) + " levels";
    if (deletion) {
        tree.erase(path);
        current = nullptr; // values after a deleted key belong to no key
    } else {
        current = splitKeyPath(path).empty() ? &tree.mutableRoot() : &tree.findOrCreate(path);
    }
    return std::nullopt;
}

// The data of a value line after its '=' (a quoted string, dword:, hex: or hex(n):), or why it
// cannot be read.
struct ValueData {
    std::optional<RegistryData> data = std::nullopt;
    std::string error = {};
};

ValueData readValueData(std::string_view data) {
    if (data.starts_with('"')) {
        std::size_t pos = 0;
        std::string value;
        if (!readQuoted(data, pos, value) || pos != data.size())
            return {.error = "a string value is not closed"};
        return {.data = std::move(value)};
    }
    if (data.starts_with("dword:")) {
        const auto digits = data.substr(6);
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || digits.size() > 8 || error != std::errc() ||
            end != digits.data() + digits.size())
            return {.error = "a dword value is not 1 to 8 hexadecimal digits"};
        return {.data = value};
    }
    if (const auto kind = hexKind(data)) {
        const auto bytes = readHexBytes(data.substr(kind->second));
        if (!bytes)
            return {.error = "a hex value is malformed"};
        if (kind->first != kStringType)
            return {.data = RawRegistryValue{kind->first, *bytes}};
        auto value = readHexString(*bytes);
        if (!value)
            return {.error = "a hex(1) value is not UTF-16 text"};
        return {.data = std::move(*value)};
    }
    return {.error = "a value of a kind this registry does not know"};
}

// "name"=data, @=data (the key's default value) or "name"=- (a deletion), applied to key.
std::optional<std::string> applyValueLine(std::string_view entry, RegistryKeyTree::Key& key) {
    std::size_t pos = 0;
    std::string name;
    if (entry.front() == '@')
        pos = 1; // the key's default value, which has no name
    else if (!readQuoted(entry, pos, name))
        return "a value line without a quoted name and '='";
    if (pos >= entry.size() || entry[pos] != '=')
        return "a value line without a quoted name and '='";
    const auto data = entry.substr(pos + 1);
    if (data == "-") {
        key.values.erase(name);
        return std::nullopt;
    }
    auto value = readValueData(data);
    if (!value.data)
        return std::move(value.error);
    key.values.insert_or_assign(name, std::move(*value.data));
    return std::nullopt;
}

} // namespace

std::string formatRegEdit(const RegistryKeyTree& tree) {
    std::string out(kRegEditHeader);
    out += "\n\n";
    if (!tree.root().values.empty()) {
        out += '[';
        out += kLocalMachine;
        out += "]\n";
        appendValues(out, tree.root());
    }
    for (const auto& [name, child] : tree.root().children)
        appendKey(out, *child, std::string(kLocalMachine) + '\\' + child->name);
    return out;
}

RegEditParseResult parseRegEdit(std::string_view text, RegistryKeyTree& tree) {
    RegEditParseResult result;
    RegEditLines lines;
    auto fail = [&](std::string message) {
        result.ok = false;
        result.errorLine = lines.lineNumber();
        result.error = std::move(message);
        return result;
    };
    std::string decoded;
    if (auto error = decodeFileText(text, decoded))
        return fail(std::move(*error));
    lines = RegEditLines(text);

    RegistryKeyTree::Key* current = nullptr;
    bool headerSeen = false;
    while (const auto entry = lines.next()) {
        std::optional<std::string> error;
        if (!headerSeen) {
            if (*entry != kRegEditHeader && *entry != kRegEdit4Header)
                error = "the first line is not \"" + std::string(kRegEditHeader) + "\"";
            headerSeen = true;
        } else if (entry->front() == '[') {
            error = applyKeyLine(*entry, tree, current);
        } else if (entry->front() == '"' || entry->front() == '@') {
            error = current == nullptr ? "a value before any key" : applyValueLine(*entry, *current);
        } else {
            error = "a line that is neither a key nor a value";
        }
        if (error)
            return fail(std::move(*error));
    }
    if (!headerSeen)
        return fail("the file is empty");
    if (lines.endedInsideValue())
        return fail("the file ends inside a continued value");
    result.ok = true;
    return result;
}

} // namespace solvane::platform
