#include "components/kxFeedList.h"

#include "text/Utf8.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int FeedCount = FeedMaxIndex + 1;
using TValue = std::optional<std::string_view>;

// Bytes of the character at pos: a whole UTF-8 sequence, or one byte of anything else (text in
// a single-byte code page still counts one character per byte).
std::size_t SequenceLength(std::string_view s, std::size_t pos)
{
    return std::max<std::size_t>(1, DecodeUtf8(s.substr(pos)).Length);
}

// Byte offset of the character `count` characters into s, or the end of s.
std::size_t CharOffset(std::string_view s, std::size_t count)
{
    std::size_t pos = 0;
    for (; count > 0 && pos < s.size(); --count)
        pos += SequenceLength(s, pos);
    return pos;
}

// `count` characters from the character `first` (both counted from 0); cuts whole characters only.
std::string_view Chars(std::string_view s, std::size_t first, std::size_t count)
{
    s.remove_prefix(CharOffset(s, first));
    return s.substr(0, CharOffset(s, count));
}

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlankOrControl(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view lowerPrefix)
{
    if (s.size() < lowerPrefix.size())
        return false;
    for (std::size_t k = 0; k < lowerPrefix.size(); ++k) {
        const char c = s[k] >= 'A' && s[k] <= 'Z' ? static_cast<char>(s[k] - 'A' + 'a') : s[k];
        if (c != lowerPrefix[k])
            return false;
    }
    return true;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// An entry number 0..99 written in decimal without leading zeros, or -1.
int EntryNumber(std::string_view digits)
{
    if (digits == "0")
        return 0;
    if (digits.empty() || digits.size() > 2 || digits[0] == '0')
        return -1;
    int number = 0;
    for (const char c : digits) {
        if (!IsDigit(c))
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

// An image index field: optional leading blanks, an optional sign and at least one digit.
std::optional<int> ImageNumber(std::string_view field)
{
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    const bool negative = !field.empty() && field.front() == '-';
    if (!field.empty() && (field.front() == '-' || field.front() == '+'))
        field.remove_prefix(1);
    if (field.empty())
        return std::nullopt;
    int number = 0;
    for (const char c : field) {
        if (!IsDigit(c))
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return negative ? -number : number;
}

// The common layout: image index in characters 1-2, selected image in 3-4, one character
// ignored, the text from character 6 on. A bad index field gives 0 for both.
TFeedNode ReadEntry(std::string_view value)
{
    TFeedNode node;
    const std::optional<int> image = ImageNumber(Chars(value, 0, 2));
    const std::optional<int> selected = ImageNumber(Chars(value, 2, 2));
    if (image && selected) {
        node.ImageIndex = *image;
        node.SelectedIndex = *selected;
    }
    node.Text = Chars(value, 5, value.size());
    return node;
}

// A child is "<entry>|<link>"; without the bar it is no child.
std::optional<TFeedNode> ReadChild(std::string_view value)
{
    const std::size_t bar = value.find('|');
    if (bar == std::string_view::npos)
        return std::nullopt;
    TFeedNode node = ReadEntry(Trim(value.substr(0, bar)));
    node.Link = Trim(Chars(value.substr(bar + 1), 0, FeedMaxLinkLength));
    return node;
}

// The value of every item and subitem name; the first line of a name wins.
struct TFeedValues {
    std::vector<TValue> Roots = std::vector<TValue>(FeedCount);
    std::vector<TValue> Children = std::vector<TValue>(FeedCount * FeedCount);

    TValue &Child(int root, int child)
    {
        return Children[static_cast<std::size_t>(root * FeedCount + child)];
    }

    void Take(std::string_view name, std::string_view value)
    {
        TValue *slot = nullptr;
        if (StartsWithNoCase(name, "subitem")) {
            name.remove_prefix(7);
            const std::size_t dash = name.find('-');
            const int root = EntryNumber(name.substr(0, dash));
            const int child = dash == std::string_view::npos ? -1 : EntryNumber(name.substr(dash + 1));
            if (root >= 0 && child >= 0)
                slot = &Child(root, child);
        } else if (StartsWithNoCase(name, "item")) {
            const int root = EntryNumber(name.substr(4));
            if (root >= 0)
                slot = &Roots[static_cast<std::size_t>(root)];
        }
        if (slot && !*slot)
            *slot = value;
    }
};

bool Present(const TValue &value)
{
    return value && !value->empty();
}

} // namespace

std::vector<std::string_view> SplitFeedLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
    return lines;
}

bool FirstLineHas404(std::string_view text)
{
    return text.substr(0, text.find_first_of("\r\n")).find("404") != std::string_view::npos;
}

std::vector<TFeedNode> ParseFeedList(std::string_view text)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF"; // editors may put one in front of UTF-8 text
    if (text.substr(0, bom.size()) == bom)
        text.remove_prefix(bom.size());

    TFeedValues values;
    for (const std::string_view line : SplitFeedLines(text)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            values.Take(line.substr(0, equals), line.substr(equals + 1));
    }

    std::vector<TFeedNode> roots;
    for (int i = 0; i < FeedCount; ++i) {
        const TValue &rootValue = values.Roots[static_cast<std::size_t>(i)];
        if (!Present(rootValue))
            continue;
        TFeedNode root = ReadEntry(*rootValue);
        for (int j = 0; j < FeedCount; ++j) {
            const TValue &childValue = values.Child(i, j);
            if (!Present(childValue))
                continue;
            if (std::optional<TFeedNode> child = ReadChild(*childValue))
                root.Children.push_back(std::move(*child));
        }
        roots.push_back(std::move(root));
    }
    return roots;
}
