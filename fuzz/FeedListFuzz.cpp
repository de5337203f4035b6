// The news list parser on arbitrary bytes: never a crash or a hang, and its limits always hold.
// The parser is plain C++; it is compiled into this file because the fuzz build has no Qt.
#include "../src/components/kxFeedList.cpp"

#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsTrimmed(const std::string &text)
{
    return text.empty() || (!IsBlankOrControl(text.front()) && !IsBlankOrControl(text.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    (void)FirstLineHas404(text);
    const std::vector<TFeedNode> roots = ParseFeedList(text);
    Require(roots.size() <= FeedMaxIndex + 1);
    for (const TFeedNode &root : roots) {
        Require(root.Link.empty() && root.Children.size() <= FeedMaxIndex + 1);
        for (const TFeedNode &child : root.Children) {
            Require(child.Children.empty() && IsTrimmed(child.Link));
            Require(child.Link.size() <= 4 * FeedMaxLinkLength); // 128 characters of at most 4 bytes
        }
    }
    return 0;
}
