#include "settings/RegDocument.h"

#include "text/Utf8.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

constexpr std::string_view Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view OldHeader = "REGEDIT4";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";
// The registry editor breaks a hex line once it reaches this column, keeping lines within 80.
constexpr std::size_t HexLineWidth = 77;

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

// Calls put with each code point of the text; a byte that starts no well-formed sequence is
// U+FFFD.
template <typename Put> void ForEachCodePoint(std::string_view text, Put put)
{
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Char c = DecodeUtf8(text.substr(i));
        put(c.Length != 0 ? static_cast<std::uint32_t>(c.CodePoint) : 0xFFFD);
        i += std::max<std::size_t>(c.Length, 1);
    }
}

// Text as it comes back from UTF-16.
std::string ValidUtf8(std::string_view text)
{
    std::string out;
    ForEachCodePoint(text, [&out](std::uint32_t cp) { PutUtf8(out, cp); });
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text)
{
    std::string out;
    ForEachCodePoint(text, [&out](std::uint32_t cp) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            PutUnit(out, 0xD800 + (cp >> 10));
            PutUnit(out, 0xDC00 + (cp & 0x3FF));
        } else {
            PutUnit(out, cp);
        }
    });
    return out;
}

// A lone surrogate or an odd last byte becomes U+FFFD and clears valid.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian, bool &valid)
{
    const std::size_t count = bytes.size() / 2;
    const auto unit = [&](std::size_t k) -> std::uint32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * k]);
        const auto second = static_cast<unsigned char>(bytes[2 * k + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    const auto isLow = [&](std::size_t k) { return k < count && unit(k) >= 0xDC00 && unit(k) <= 0xDFFF; };
    valid = bytes.size() % 2 == 0;
    std::string out;
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t cp = unit(k);
        if (cp >= 0xD800 && cp <= 0xDBFF && isLow(k + 1)) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(k + 1) - 0xDC00);
            ++k;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
            valid = false;
        }
        PutUtf8(out, cp);
    }
    if (!valid && bytes.size() % 2 != 0) {
        PutUtf8(out, 0xFFFD);
    }
    return out;
}

// Trailing zero units are the terminator; an odd length or a lone surrogate is no text.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes)
{
    while (bytes.size() >= 2 && bytes.size() % 2 == 0 &&
           bytes.substr(bytes.size() - 2) == std::string_view("\0\0", 2)) {
        bytes.remove_suffix(2);
    }
    bool valid = true;
    std::string text = Utf16ToUtf8(bytes, false, valid);
    return valid ? std::optional(std::move(text)) : std::nullopt;
}

// --- Windows-1252, the code page of REGEDIT4 files ---

// Bytes 0x80 to 0x9F; the five the code page leaves open stand for the control characters.
constexpr std::uint16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t Windows1252CodePoint(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x80 && byte < 0xA0) ? Windows1252High[byte - 0x80] : byte;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        PutUtf8(out, Windows1252CodePoint(c));
    }
    return out;
}

// Texts in hex(1), hex(2) and hex(7) values of REGEDIT4 files are in the code page, one byte a
// character; the registry holds them in UTF-16LE.
std::string Windows1252ToUtf16Le(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        PutUnit(out, Windows1252CodePoint(c));
    }
    return out;
}

struct TDecodedFile {
    std::string Text; // UTF-8, or bytes as found where the file claims no encoding
    bool Valid = true;
};

TDecodedFile DecodeFile(std::string_view bytes)
{
    TDecodedFile file;
    if (bytes.substr(0, 2) == Utf16LeMark || bytes.substr(0, 2) == Utf16BeMark) {
        file.Text = Utf16ToUtf8(bytes.substr(2), bytes.front() == Utf16BeMark.front(), file.Valid);
    } else if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        file.Text = bytes.substr(ByteOrderMark.size());
    } else if (bytes.substr(0, OldHeader.size()) == OldHeader) {
        file.Text = Windows1252ToUtf8(bytes);
    } else {
        file.Text = bytes;
    }
    return file;
}

// --- reading ---

// One logical line from pos on, without surrounding blanks: a physical line ending in a backslash
// continues on the next, except a comment line, whose backslashes are its own. Comment lines
// within a continued line go to comments and the line goes on past them. A continuation with
// nothing after it is damage, and so is a line that still ends in a backslash (continued onto an
// empty line): written back, it would continue. A line longer than MaxValueText is damage and
// comes back empty. A last line without a line feed is whole.
bool NextLogicalLine(std::string_view text, std::size_t &pos, std::string &line,
                     std::vector<std::string> &comments, bool &damaged)
{
    if (pos >= text.size()) {
        return false;
    }
    line.clear();
    comments.clear();
    bool continues = true;
    bool tooLong = false;
    for (bool first = true; continues && pos < text.size(); first = false) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        // Blanks, the CR of a CRLF line end among them, never end a line.
        std::string_view physical = Trim(text.substr(pos, end - pos));
        pos = std::min(end + 1, text.size());
        if (!physical.empty() && physical.front() == ';') {
            if (first) {
                line = physical;
                return true;
            }
            comments.emplace_back(physical);
            continue;
        }
        continues = !physical.empty() && physical.back() == '\\';
        if (continues) {
            physical.remove_suffix(1);
        }
        tooLong = tooLong || line.size() + physical.size() > MaxValueText;
        if (!tooLong) {
            line.append(physical);
        }
    }
    if (tooLong) {
        line.clear();
        damaged = true;
    }
    while (!line.empty() && (line.back() == '\\' || IsBlank(line.back()))) {
        damaged = damaged || line.back() == '\\';
        line.pop_back();
    }
    damaged = damaged || continues;
    return true;
}

// A quoted text starting at s[pos] == '"'. \\, \" and \n (a line feed) are escapes; any other
// backslash stands for itself. On success pos is just past the closing quote.
bool ReadQuoted(std::string_view s, std::size_t &pos, std::string &out)
{
    out.clear();
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            pos = i + 1;
            return true;
        }
        const bool escape =
            s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"' || s[i + 1] == 'n');
        if (escape) {
            ++i;
        }
        out += (escape && s[i] == 'n') ? '\n' : s[i];
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

bool IsTextKind(std::uint32_t kind)
{
    return kind == static_cast<std::uint32_t>(TRegDataType::rdString) ||
           kind == static_cast<std::uint32_t>(TRegDataType::rdExpandString) ||
           kind == static_cast<std::uint32_t>(TRegDataType::rdMultiString);
}

// hex(1) is text and hex(4) an integer in the registry; other kinds keep their bytes. In REGEDIT4
// files (ansi) the texts of hex(1), hex(2) and hex(7) are in Windows-1252.
std::optional<TRegValue> TypedValue(std::uint32_t kind, std::string bytes, bool ansi)
{
    if (ansi && IsTextKind(kind)) {
        bytes = Windows1252ToUtf16Le(bytes);
    }
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

std::optional<TRegValue> ParseHexValue(std::string_view data, bool ansi)
{
    std::uint32_t kind = static_cast<std::uint32_t>(TRegDataType::rdBinary);
    if (!data.empty() && data.front() == '(') {
        const std::size_t close = data.find(')');
        const auto number = ParseHex(data.substr(1, close == std::string_view::npos ? 0 : close - 1), 8);
        // The top kind numbers are taken by rdDeleted and rdUnknown.
        if (!number || *number >= static_cast<std::uint32_t>(TRegDataType::rdDeleted)) {
            return std::nullopt;
        }
        kind = *number;
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') {
        return std::nullopt;
    }
    auto bytes = ParseBytes(data.substr(1));
    return bytes ? TypedValue(kind, std::move(*bytes), ansi) : std::nullopt;
}

// Splits "data ; comment" where the comment may follow a value; data keeps no trailing blanks.
std::string_view SplitComment(std::string_view data, std::string &comment)
{
    const std::size_t semicolon = data.find(';');
    if (semicolon != std::string_view::npos) {
        comment = data.substr(semicolon);
        data = Trim(data.substr(0, semicolon));
    }
    return data;
}

// The text after "=", trimmed; a comment after the value goes to comment.
TRegValue ParseData(std::string_view data, bool ansi, std::string &comment)
{
    comment.clear();
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        std::string text;
        if (ReadQuoted(data, pos, text)) {
            const std::string_view rest = TrimLeft(data.substr(pos));
            if (rest.empty() || rest.front() == ';') {
                comment = rest;
                return TRegValue::String(std::move(text));
            }
        }
    } else if (data == "-") {
        return {TRegDataType::rdDeleted, 0, {}};
    } else if (StartsWithNoCase(data, "dword:")) {
        if (const auto number = ParseHex(SplitComment(Trim(data.substr(6)), comment), 8)) {
            return TRegValue::Integer(*number);
        }
    } else if (StartsWithNoCase(data, "hex")) {
        if (auto value = ParseHexValue(SplitComment(data.substr(3), comment), ansi)) {
            return std::move(*value);
        }
    }
    comment.clear();
    return {TRegDataType::rdUnknown, 0, std::string(data)};
}

// A value line: "name"=data or @=data. False when it is not one.
bool ParseValueLine(std::string_view line, bool ansi, std::string &name, TRegValue &value,
                    std::string &comment)
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
    value = ParseData(Trim(rest.substr(1)), ansi, comment);
    return true;
}

// --- writing ---

// A key path's place among its siblings: components compared in upper case, as the registry
// compares them, so that every key follows its parent and precedes its parent's next sibling.
std::vector<std::string> RegistryOrder(std::string_view path)
{
    std::vector<std::string> order(1);
    for (char c : path) {
        if (c == '\\') {
            order.emplace_back();
        } else {
            order.back() += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    return order;
}

void AppendQuoted(std::string &out, std::string_view text)
{
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c == '\n' ? std::string_view("\\n") : std::string_view(&c, 1);
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
    // Columns count UTF-16 units, as the registry editor does, not UTF-8 bytes.
    std::size_t column = Utf8ToUtf16Le(std::string_view(out).substr(lineStart)).size() / 2;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        AppendHexDigits(out, static_cast<unsigned char>(bytes[i]), 2);
        if (i + 1 == bytes.size()) {
            break;
        }
        out += ',';
        column += 3;
        if (column >= HexLineWidth) {
            out += "\\\n  ";
            column = 2;
        }
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
        AppendQuoted(out, value.Data);
        break;
    case TRegDataType::rdDeleted:
        out += '-';
        break;
    default:
        AppendHexValue(out, static_cast<std::uint32_t>(value.Kind), value.Data);
        break;
    }
    if (!entry.Comment.empty()) {
        out += ' ';
        out += entry.Comment;
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

bool IsRegKeyBelow(std::string_view path, std::string_view ancestor)
{
    return path.size() > ancestor.size() && path[ancestor.size()] == '\\' &&
           SameRegName(path.substr(0, ancestor.size()), ancestor);
}

bool TRegDocument::KeyExists(std::string_view path) const
{
    return FIndex.count(FoldRegName(path)) != 0 ||
           std::any_of(FKeys.begin(), FKeys.end(),
                       [&](const TRegKey &key) { return IsRegKeyBelow(key.Path, path); });
}

const TRegKey *TRegDocument::FindKey(std::string_view path) const
{
    const auto key = FIndex.find(FoldRegName(path));
    return key == FIndex.end() ? nullptr : &FKeys[key->second];
}

const TRegValue *TRegDocument::Find(std::string_view path, std::string_view name) const
{
    const TRegKey *key = FindKey(path);
    if (!key) {
        return nullptr;
    }
    const auto value = key->Index.find(FoldRegName(name));
    if (value == key->Index.end() || key->Values[value->second].Value.Kind == TRegDataType::rdDeleted) {
        return nullptr;
    }
    return &key->Values[value->second].Value;
}

TRegKey &TRegDocument::CreateKey(std::string_view path)
{
    const auto [position, added] = FIndex.try_emplace(FoldRegName(path), FKeys.size());
    if (added) {
        FKeys.push_back(TRegKey{std::string(path), {}, {}, {}, {}});
    }
    return FKeys[position->second];
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

void TRegDocument::Import(const TRegDocument &file)
{
    for (const TRegKey &source : file.Keys()) {
        if (!source.Path.empty() && source.Path.front() == '-') {
            RemoveKeys(Trim(std::string_view(source.Path).substr(1)));
            continue;
        }
        TRegKey &key = CreateKey(source.Path);
        for (const TRegChange &change : source.Values) {
            if (change.Value.Kind == TRegDataType::rdDeleted) {
                RemoveValue(key, change.Name);
            } else {
                Set(key, change.Name, change.Value);
            }
        }
    }
}

void TRegDocument::RemoveKeys(std::string_view path)
{
    std::erase_if(FKeys, [&](const TRegKey &key) {
        return SameRegName(key.Path, path) || IsRegKeyBelow(key.Path, path);
    });
    FIndex.clear();
    for (std::size_t i = 0; i < FKeys.size(); ++i) {
        FIndex.emplace(FoldRegName(FKeys[i].Path), i);
    }
}

void TRegDocument::RemoveValue(TRegKey &key, std::string_view name)
{
    const auto found = key.Index.find(FoldRegName(name));
    if (found == key.Index.end()) {
        return;
    }
    const std::size_t removed = found->second;
    key.Values.erase(key.Values.begin() + static_cast<std::ptrdiff_t>(removed));
    key.Index.erase(found);
    for (auto &entry : key.Index) {
        entry.second -= entry.second > removed ? 1 : 0;
    }
    // The comments stay in front of the value that followed.
    for (TRegComment &comment : key.Comments) {
        comment.Before -= comment.Before > removed ? 1 : 0;
    }
}

TRegParseResult ParseRegText(std::string_view bytes)
{
    TRegParseResult result;
    const TDecodedFile file = DecodeFile(bytes);
    const std::string_view text = file.Text;
    result.Damaged = !file.Valid;
    TRegKey *key = nullptr;
    bool seenContent = false;
    bool ansi = false;
    std::size_t pos = 0;
    std::string line;
    std::vector<std::string> inner;   // comment lines inside a continued value
    std::vector<std::string> pending; // comment lines waiting for the value or key they precede
    std::string name;
    std::string comment;
    TRegValue value;
    while (NextLogicalLine(text, pos, line, inner, result.Damaged)) {
        pending.insert(pending.end(), inner.begin(), inner.end());
        const std::string_view content = Trim(line);
        if (content.empty()) {
            continue;
        }
        if (!seenContent) {
            seenContent = true;
            if (content == Header || content == OldHeader) {
                ansi = content == OldHeader;
                continue;
            }
            result.Damaged = true;
        }
        if (content.front() == ';') {
            pending.emplace_back(content);
            continue;
        }
        if (content.front() == '[') {
            // A broken key line also ends the previous key, so its values cannot land there.
            const std::string_view path =
                content.back() == ']' ? Trim(content.substr(1, content.size() - 2)) : std::string_view();
            key = path.empty() ? nullptr : &result.Document.CreateKey(path);
            result.Damaged = result.Damaged || key == nullptr;
            if (key) {
                key->LeadingComments.insert(key->LeadingComments.end(), pending.begin(), pending.end());
                pending.clear();
            }
        } else if ((content.front() == '"' || content.front() == '@') && key &&
                   ParseValueLine(content, ansi, name, value, comment)) {
            result.Damaged = result.Damaged || value.Kind == TRegDataType::rdUnknown;
            result.Document.Set(*key, name, std::move(value));
            const std::size_t position = key->Index[FoldRegName(name)];
            key->Values[position].Comment = comment;
            for (std::string &before : pending) {
                key->Comments.push_back(TRegComment{position, std::move(before)});
            }
            pending.clear();
        } else {
            result.Damaged = true;
        }
    }
    result.Document.TrailingComments = std::move(pending);
    return result;
}

std::string FormatRegText(const TRegDocument &document)
{
    std::string out(Header);
    out += "\n\n";
    for (const TRegKey &key : document.Keys()) {
        for (const std::string &comment : key.LeadingComments) {
            out += comment + '\n';
        }
        out += '[';
        out += key.Path;
        out += "]\n";
        std::vector<const TRegComment *> comments;
        for (const TRegComment &comment : key.Comments) {
            comments.push_back(&comment);
        }
        std::stable_sort(comments.begin(), comments.end(),
                         [](const TRegComment *a, const TRegComment *b) { return a->Before < b->Before; });
        // What could not be read is not written back: the damaged copy keeps it.
        std::size_t end = key.Values.size();
        while (end > 0 && key.Values[end - 1].Value.Kind == TRegDataType::rdUnknown) {
            --end;
        }
        auto comment = comments.begin();
        for (std::size_t i = 0; i < end; ++i) {
            for (; comment != comments.end() && (*comment)->Before <= i; ++comment) {
                out += (*comment)->Text + '\n';
            }
            if (key.Values[i].Value.Kind != TRegDataType::rdUnknown) {
                AppendValue(out, key.Values[i]);
            }
        }
        out += '\n';
        // Comments after the last value belong with what follows, as they read back.
        for (; comment != comments.end(); ++comment) {
            out += (*comment)->Text + '\n';
        }
    }
    for (const std::string &comment : document.TrailingComments) {
        out += comment + '\n';
    }
    return out;
}

std::string FormatRegExport(const TRegDocument &document, std::string_view root)
{
    // Text that is no UTF-8 is taken as UTF-16 will carry it, before keys and names are matched.
    std::map<std::vector<std::string>, std::string> paths; // in the registry's order
    for (const TRegKey &key : document.Keys()) {
        const std::string path = ValidUtf8(key.Path);
        if (!SameRegName(path, root) && !IsRegKeyBelow(path, root)) {
            continue;
        }
        // The key and every key between it and the root (but one ending in a blank, which no
        // key line can hold).
        for (std::size_t end = path.size(); end != std::string::npos && end >= root.size();
             end = end == root.size() ? std::string::npos : path.rfind('\\', end - 1)) {
            if (!IsBlank(path[end - 1])) {
                paths.try_emplace(RegistryOrder(path.substr(0, end)), path.substr(0, end));
            }
        }
    }
    TRegDocument view;
    for (const auto &entry : paths) {
        view.CreateKey(entry.second);
    }
    for (const TRegKey &source : document.Keys()) {
        const std::string path = ValidUtf8(source.Path);
        if (!SameRegName(path, root) && !IsRegKeyBelow(path, root)) {
            continue;
        }
        TRegKey &key = view.CreateKey(path);
        for (const TRegChange &value : source.Values) {
            if (value.Value.Kind == TRegDataType::rdString) {
                view.Set(key, ValidUtf8(value.Name), TRegValue::String(ValidUtf8(value.Value.Data)));
            } else if (value.Value.Kind != TRegDataType::rdUnknown &&
                       value.Value.Kind != TRegDataType::rdDeleted) {
                view.Set(key, ValidUtf8(value.Name), value.Value);
            }
        }
    }
    std::string text;
    for (char c : FormatRegText(view)) {
        text += c == '\n' ? std::string_view("\r\n") : std::string_view(&c, 1);
    }
    return std::string(Utf16LeMark) + Utf8ToUtf16Le(text);
}
