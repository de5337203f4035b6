#include "settings/RegDocument.h"

#include <optional>

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view OldHeader = "REGEDIT4";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t HexLineWidth = 77; // the editor keeps lines within 80 columns

char FoldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view Trim(std::string_view s)
{
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameRegName(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = FoldChar(c);
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// 1 to maxDigits hex digits and nothing else.
std::optional<std::uint32_t> ParseHex(std::string_view s, std::size_t maxDigits)
{
    if (s.empty() || s.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : s) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

void AppendHexDigits(std::string &out, std::uint32_t value, int digits)
{
    static constexpr char Digits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += Digits[(value >> shift) & 0xF];
    }
}

int HexDigitCount(std::uint32_t value)
{
    int count = 1;
    while ((value >>= 4) != 0) {
        ++count;
    }
    return count;
}

// --- UTF-16LE, the form of text in hex(1) values ---

void PutUnit(std::string &out, std::uint32_t unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

// The code point of the well-formed UTF-8 sequence at s[i] and its length, or length 0.
std::size_t DecodeUtf8(std::string_view s, std::size_t i, std::uint32_t &cp)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return (cp < minimum || cp > 0x10FFFF || surrogate) ? 0 : length;
}

void PutUtf8(std::string &out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// With a terminating zero; a byte that starts no well-formed sequence becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp = 0;
        std::size_t length = DecodeUtf8(text, i, cp);
        if (length == 0) {
            cp = 0xFFFD, length = 1;
        }
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            PutUnit(out, 0xD800 + (cp >> 10));
            PutUnit(out, 0xDC00 + (cp & 0x3FF));
        } else {
            PutUnit(out, cp);
        }
    }
    PutUnit(out, 0);
    return out;
}

// Trailing zero units are the terminator; an odd length or a lone surrogate is no text.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes)
{
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> units;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        units.push_back(static_cast<unsigned char>(bytes[i]) |
                        (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    while (!units.empty() && units.back() == 0) {
        units.pop_back();
    }
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            return std::nullopt;
        }
        PutUtf8(out, cp);
    }
    return out;
}

// --- reading ---

// One logical line from pos on, without surrounding blanks: a physical line ending in a backslash
// continues on the next. A continuation with nothing after it is damage, and so is a line that
// still ends in a backslash (continued onto an empty line): written back, it would continue.
bool NextLogicalLine(std::string_view text, std::size_t &pos, std::string &line, bool &damaged)
{
    if (pos >= text.size()) {
        return false;
    }
    line.clear();
    bool continues = true;
    while (continues && pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            damaged = true; // cut off: the last line has no line feed
        }
        // Blanks, the CR of a CRLF line end among them, never end a line.
        std::string_view physical = Trim(text.substr(pos, end == std::string_view::npos ? end : end - pos));
        pos = end == std::string_view::npos ? text.size() : end + 1;
        continues = !physical.empty() && physical.back() == '\\';
        if (continues) {
            physical.remove_suffix(1);
        }
        line.append(physical);
    }
    while (!line.empty() && (line.back() == '\\' || IsBlank(line.back()))) {
        damaged = damaged || line.back() == '\\';
        line.pop_back();
    }
    damaged = damaged || continues;
    return true;
}

// A quoted text starting at s[pos] == '"'. \\ and \" are escapes; any other backslash stands for
// itself. On success pos is just past the closing quote.
bool ReadQuoted(std::string_view s, std::size_t &pos, std::string &out)
{
    out.clear();
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            pos = i + 1;
            return true;
        }
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            ++i;
        }
        out += s[i];
    }
    return false;
}

// Comma-separated bytes of one or two hex digits each; an empty list is no bytes.
std::optional<std::string> ParseBytes(std::string_view s)
{
    std::string bytes;
    if (Trim(s).empty()) {
        return bytes;
    }
    while (true) {
        const std::size_t comma = s.find(',');
        const auto value = ParseHex(Trim(s.substr(0, comma)), 2);
        if (!value) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*value);
        if (comma == std::string_view::npos) {
            return bytes;
        }
        s.remove_prefix(comma + 1);
    }
}

// hex(1) is text and hex(4) an integer in the registry; other kinds keep their bytes.
std::optional<TRegValue> TypedValue(std::uint32_t kind, std::string bytes)
{
    if (kind == static_cast<std::uint32_t>(TRegDataType::rdString)) {
        auto text = Utf16LeToUtf8(bytes);
        return text ? std::optional(TRegValue::String(std::move(*text))) : std::nullopt;
    }
    if (kind == static_cast<std::uint32_t>(TRegDataType::rdInteger)) {
        if (bytes.size() != 4) {
            return std::nullopt;
        }
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) {
            number = (number << 8) | static_cast<unsigned char>(bytes[i]);
        }
        return TRegValue::Integer(number);
    }
    return TRegValue{static_cast<TRegDataType>(kind), 0, std::move(bytes)};
}

std::optional<TRegValue> ParseHexValue(std::string_view data)
{
    std::uint32_t kind = static_cast<std::uint32_t>(TRegDataType::rdBinary);
    if (!data.empty() && data.front() == '(') {
        const std::size_t close = data.find(')');
        const auto number = ParseHex(data.substr(1, close == std::string_view::npos ? 0 : close - 1), 8);
        // The top kind number is taken by rdUnknown.
        if (!number || *number == static_cast<std::uint32_t>(TRegDataType::rdUnknown)) {
            return std::nullopt;
        }
        kind = *number;
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') {
        return std::nullopt;
    }
    auto bytes = ParseBytes(data.substr(1));
    return bytes ? TypedValue(kind, std::move(*bytes)) : std::nullopt;
}

// The text after "=", trimmed.
TRegValue ParseData(std::string_view data)
{
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        std::string text;
        if (ReadQuoted(data, pos, text) && pos == data.size()) {
            return TRegValue::String(std::move(text));
        }
    } else if (StartsWithNoCase(data, "dword:")) {
        const std::string_view digits = data.substr(6);
        if (const auto number = ParseHex(digits, 8); number && digits.size() == 8) {
            return TRegValue::Integer(*number);
        }
    } else if (StartsWithNoCase(data, "hex")) {
        if (auto value = ParseHexValue(data.substr(3))) {
            return std::move(*value);
        }
    }
    return {TRegDataType::rdUnknown, 0, std::string(data)};
}

// A value line: "name"=data or @=data. False when it is not one.
bool ParseValueLine(std::string_view line, std::string &name, TRegValue &value)
{
    std::size_t pos = 0;
    if (line.front() == '@') {
        name.clear();
        pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
        return false;
    }
    const std::string_view rest = TrimLeft(line.substr(pos));
    if (rest.empty() || rest.front() != '=') {
        return false;
    }
    value = ParseData(Trim(rest.substr(1)));
    return true;
}

// --- writing ---

void AppendQuoted(std::string &out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

void AppendHexValue(std::string &out, std::uint32_t kind, std::string_view bytes)
{
    const std::size_t lineStart = out.rfind('\n') + 1;
    if (kind == static_cast<std::uint32_t>(TRegDataType::rdBinary)) {
        out += "hex:";
    } else {
        out += "hex(";
        AppendHexDigits(out, kind, HexDigitCount(kind));
        out += "):";
    }
    std::size_t column = out.size() - lineStart;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ',';
            ++column;
            if (column + 3 > HexLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
        }
        AppendHexDigits(out, static_cast<unsigned char>(bytes[i]), 2);
        column += 2;
    }
}

void AppendValue(std::string &out, const TRegChange &entry)
{
    if (entry.Name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, entry.Name);
    }
    out += '=';
    const TRegValue &value = entry.Value;
    switch (value.Kind) {
    case TRegDataType::rdInteger:
        out += "dword:";
        AppendHexDigits(out, value.Number, 8);
        break;
    case TRegDataType::rdString:
        // A line feed cannot stand inside quotes; the registry's own UTF-16 form carries it.
        if (value.Data.find('\n') == std::string::npos) {
            AppendQuoted(out, value.Data);
        } else {
            AppendHexValue(out, 1, Utf8ToUtf16Le(value.Data));
        }
        break;
    case TRegDataType::rdUnknown:
        out += value.Data;
        break;
    default:
        AppendHexValue(out, static_cast<std::uint32_t>(value.Kind), value.Data);
        break;
    }
    out += '\n';
}

} // namespace

std::string FoldRegName(std::string_view name)
{
    std::string folded(name);
    for (char &c : folded) {
        c = FoldChar(c);
    }
    return folded;
}

bool SameRegName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldChar(a[i]) != FoldChar(b[i])) {
            return false;
        }
    }
    return true;
}

bool TRegDocument::KeyExists(std::string_view path) const
{
    if (index_.count(FoldRegName(path)) != 0) {
        return true;
    }
    for (const TRegKey &key : keys_) {
        if (key.Path.size() > path.size() && key.Path[path.size()] == '\\' &&
            SameRegName(std::string_view(key.Path).substr(0, path.size()), path)) {
            return true;
        }
    }
    return false;
}

const TRegValue *TRegDocument::Find(std::string_view path, std::string_view name) const
{
    const auto key = index_.find(FoldRegName(path));
    if (key == index_.end()) {
        return nullptr;
    }
    const TRegKey &found = keys_[key->second];
    const auto value = found.Index.find(FoldRegName(name));
    return value == found.Index.end() ? nullptr : &found.Values[value->second].Value;
}

TRegKey &TRegDocument::CreateKey(std::string_view path)
{
    const auto [position, added] = index_.try_emplace(FoldRegName(path), keys_.size());
    if (added) {
        keys_.push_back(TRegKey{std::string(path), {}, {}});
    }
    return keys_[position->second];
}

void TRegDocument::Set(TRegKey &key, std::string name, TRegValue value)
{
    const auto [position, added] = key.Index.try_emplace(FoldRegName(name), key.Values.size());
    if (added) {
        key.Values.push_back(TRegChange{std::move(name), std::move(value)});
    } else {
        key.Values[position->second].Value = std::move(value);
    }
}

void TRegDocument::Apply(std::string_view path, const std::vector<TRegChange> &changes)
{
    TRegKey &key = CreateKey(path);
    for (const TRegChange &change : changes) {
        Set(key, change.Name, change.Value);
    }
}

TRegParseResult ParseRegText(std::string_view text)
{
    TRegParseResult result;
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        text.remove_prefix(ByteOrderMark.size());
    }
    TRegKey *key = nullptr;
    bool seenContent = false;
    std::size_t pos = 0;
    std::string line;
    std::string name;
    TRegValue value;
    while (NextLogicalLine(text, pos, line, result.Damaged)) {
        const std::string_view content = Trim(line);
        if (content.empty()) {
            continue;
        }
        if (!seenContent) {
            seenContent = true;
            if (content == Header || content == OldHeader) {
                continue;
            }
            result.Damaged = true;
        }
        if (content.front() == ';') {
            continue;
        }
        if (content.front() == '[') {
            // A broken key line also ends the previous key, so its values cannot land there.
            const std::string_view path =
                content.back() == ']' ? Trim(content.substr(1, content.size() - 2)) : std::string_view();
            key = path.empty() ? nullptr : &result.Document.CreateKey(path);
            result.Damaged = result.Damaged || key == nullptr;
        } else if ((content.front() == '"' || content.front() == '@') && key &&
                   ParseValueLine(content, name, value)) {
            result.Document.Set(*key, name, std::move(value));
        } else {
            result.Damaged = true;
        }
    }
    return result;
}

std::string FormatRegText(const TRegDocument &document)
{
    std::string out(Header);
    out += "\n\n";
    for (const TRegKey &key : document.Keys()) {
        out += '[';
        out += key.Path;
        out += "]\n";
        for (const TRegChange &entry : key.Values) {
            AppendValue(out, entry);
        }
        out += '\n';
    }
    return out;
}
