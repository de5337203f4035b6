#pragma once
// The registry editor's export format ("Windows Registry Editor Version 5.00"), held in memory as
// keys with named values and the comment lines between them. Parsing is linear in the input, never
// recursive, and accepts any bytes: what it cannot read becomes a value of unknown kind (keeping its
// text, and reported as damage) or, where not even a value name can be found, is dropped and
// reported as damage. Comments follow values as the registry editor allows them (`dword:0 ; off`),
// and comment lines may stand inside a value continued over several lines. It reads
// every form the registry editor writes: UTF-16LE or UTF-16BE with a byte-order mark, UTF-8 with or
// without one, and "REGEDIT4" files in Windows-1252. Pure C++, no Qt.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Registry value kinds; the numbers are the registry's own (hex(N) in the text format).
enum class TRegDataType : std::uint32_t {
    rdNone = 0,
    rdString = 1,           // REG_SZ
    rdExpandString = 2,     // REG_EXPAND_SZ
    rdBinary = 3,           // REG_BINARY
    rdInteger = 4,          // REG_DWORD
    rdMultiString = 7,      // REG_MULTI_SZ
    rdQWord = 11,           // REG_QWORD
    rdDeleted = 0xFFFFFFFE, // "Name"=-, which deletes the value on import
    rdUnknown = 0xFFFFFFFF, // missing, or a line that could not be read
};

// A logical line (a value with its continuations) longer than this is no setting; the whole file
// is read only up to MaxStoreSize (FileRegistryBackend.h).
constexpr std::size_t MaxValueText = 4 * 1024 * 1024;

struct TRegValue {
    TRegDataType Kind = TRegDataType::rdUnknown;
    std::uint32_t Number = 0; // rdInteger
    // rdString: the text (UTF-8); rdUnknown: the text after "=" as found; other kinds: the bytes.
    std::string Data;

    static TRegValue Integer(std::uint32_t number) { return {TRegDataType::rdInteger, number, {}}; }
    static TRegValue String(std::string text) { return {TRegDataType::rdString, 0, std::move(text)}; }
    friend bool operator==(const TRegValue &, const TRegValue &) = default;
};

struct TRegChange {
    std::string Name;
    TRegValue Value;
    std::string Comment = {}; // "; ..." after the value on its line, kept when the value changes
};

// Key paths and value names compare without regard to ASCII letter case, as in the registry.
std::string FoldRegName(std::string_view name);
bool SameRegName(std::string_view a, std::string_view b);
// True when path names a key somewhere below ancestor.
bool IsRegKeyBelow(std::string_view path, std::string_view ancestor);

// A comment line (";" first), kept where it stood: in front of the value at position Before.
struct TRegComment {
    std::size_t Before;
    std::string Text;
};

struct TRegKey {
    // As first written, e.g. HKEY_CURRENT_USER\Software\KX\Orvani; a key deletion [-KEY] keeps its
    // dash, so it names no key.
    std::string Path;
    std::vector<TRegChange> Values;
    std::unordered_map<std::string, std::size_t> Index; // folded name -> position in Values
    std::vector<TRegComment> Comments;
    std::vector<std::string> LeadingComments; // the comment lines just before the key's own line
};

class TRegDocument {
public:
    // True for a key with a section of its own or below which some section lies.
    bool KeyExists(std::string_view path) const;
    const TRegKey *FindKey(std::string_view path) const;
    // A value deletion ("Name"=-) is no value.
    const TRegValue *Find(std::string_view path, std::string_view name) const;
    TRegKey &CreateKey(std::string_view path);
    void Set(TRegKey &key, std::string name, TRegValue value);
    // Creates the key and sets the values, in order.
    void Apply(std::string_view path, const std::vector<TRegChange> &changes);
    // Carries out a registry editor file as an import does: its values are set, its value
    // deletions ("Name"=-) and key deletions ([-KEY], with every key below) carried out.
    void Import(const TRegDocument &file);
    const std::vector<TRegKey> &Keys() const { return FKeys; }
    // Comment lines after the last key.
    std::vector<std::string> TrailingComments;

private:
    void RemoveKeys(std::string_view path);
    void RemoveValue(TRegKey &key, std::string_view name);

    std::vector<TRegKey> FKeys;
    std::unordered_map<std::string, std::size_t> FIndex; // folded path -> position in FKeys
};

struct TRegParseResult {
    TRegDocument Document;
    // Something in the text will not survive a rewrite: no header, a line that is neither blank,
    // comment, key nor value, a value that cannot be read or is too long, or a value outside any
    // key.
    bool Damaged = false;
};

// text is the file's bytes in any of the forms above.
TRegParseResult ParseRegText(std::string_view text);

// The document in the export format, as the store keeps it: UTF-8, header, then each key with its
// comments and values (but those that could not be read), LF line ends.
std::string FormatRegText(const TRegDocument &document);

// The key root and every key below it exactly as the registry editor exports them for Windows:
// UTF-16LE with a byte-order mark, CRLF line ends, keys in the registry's order (each after its
// parent, siblings sorted by name, keys that only lead to others included), no comments, and no
// values of unknown kind (the registry editor could not take them), no deletions.
std::string FormatRegExport(const TRegDocument &document, std::string_view root);
