// The news list file format: entry names, the root and child layouts, trimming and cutting.
#include "components/kxFeedList.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const std::vector<TFeedNode> &nodes)
{
    std::vector<std::string> texts;
    for (const TFeedNode &node : nodes)
        texts.push_back(node.Text);
    return texts;
}

using Strings = std::vector<std::string>;

TEST(FeedList, EveryIndexIsProbedAndRootsKeepTheirOrder)
{
    const auto roots = ParseFeedList("item99=0000 last\n"
                                     "subitem1-0=0000 orphan|http://example.org/orphan\n"
                                     "item2=0000 middle\n"
                                     "subitem99-99=0000 deep|http://example.org/deep\n"
                                     "item0=0000 first\n"
                                     "subitem0-7=0000 seven|http://example.org/7\n"
                                     "subitem0-3=0000 three|http://example.org/3\n");
    EXPECT_EQ(Texts(roots), (Strings{"first", "middle", "last"}));
    EXPECT_EQ(Texts(roots[0].Children), (Strings{"three", "seven"}));
    EXPECT_TRUE(roots[1].Children.empty());
    EXPECT_EQ(Texts(roots[2].Children), (Strings{"deep"}));
}

TEST(FeedList, RootLayout)
{
    struct Case {
        const char *value;
        int image;
        int selected;
        const char *text;
    };
    const Case cases[] = {
        {"0001 News", 0, 1, "News"},
        {"xx01 News", 0, 0, "News"},             // letters in the first field
        {"01yy News", 0, 0, "News"},             // letters in the second field
        {"1514-Photos", 15, 14, "Photos"},       // position 5 is ignored, whatever it holds
        {" 7 9 Balls", 7, 9, "Balls"},           // a leading blank in a field is allowed
        {"0001   spaced  ", 0, 1, "  spaced  "}, // a root's text is not trimmed
        {"0001 a=b", 0, 1, "a=b"},               // the value runs past further "="
        {"0001", 0, 1, ""},
        {"7", 0, 0, ""}, // the second field is missing
    };
    for (const Case &c : cases) {
        const auto roots = ParseFeedList(std::string("item0=") + c.value);
        ASSERT_EQ(roots.size(), 1u) << c.value;
        EXPECT_EQ(roots[0].ImageIndex, c.image) << c.value;
        EXPECT_EQ(roots[0].SelectedIndex, c.selected) << c.value;
        EXPECT_EQ(roots[0].Text, c.text) << c.value;
    }
}

TEST(FeedList, ChildLayoutIsTrimmedAroundTheBar)
{
    const auto roots =
        ParseFeedList("item0=0001 News\r\nsubitem0-0=  1011 Release notes  |  notes.htm  \r\n");
    ASSERT_EQ(roots.size(), 1u);
    ASSERT_EQ(roots[0].Children.size(), 1u);
    const TFeedNode &child = roots[0].Children[0];
    EXPECT_EQ(child.Text, "Release notes");
    EXPECT_EQ(child.ImageIndex, 10);
    EXPECT_EQ(child.SelectedIndex, 11);
    EXPECT_EQ(child.Link, "notes.htm");
}

TEST(FeedList, LinksAreCutAt128CharactersThenTrimmed)
{
    struct Case {
        std::string link;
        std::string expected;
    };
    const std::string e = "\xC3\xA9"; // one character, two bytes
    std::string manyE;
    for (int k = 0; k < 200; ++k)
        manyE += e;
    const Case cases[] = {
        {std::string(200, 'a'), std::string(128, 'a')},
        {"  " + std::string(198, 'b'), std::string(126, 'b')},
        {std::string(127, 'c') + " d", std::string(127, 'c')},
        {manyE, manyE.substr(0, 2 * 128)},
    };
    for (const Case &c : cases) {
        const auto roots = ParseFeedList("item0=0000 x\nsubitem0-0=0000 y|" + c.link);
        ASSERT_EQ(roots.at(0).Children.size(), 1u);
        EXPECT_EQ(roots[0].Children[0].Link, c.expected);
    }
}

TEST(FeedList, ChildrenWithoutABarAndEmptyValuesAreSkipped)
{
    const auto roots = ParseFeedList("item0=0000 root\n"
                                     "subitem0-0=0000 no bar here\n"
                                     "subitem0-1=0000 kept|http://example.org/\n"
                                     "subitem0-2=\n"
                                     "item1=\n"
                                     "subitem1-0=0000 under an empty root|http://example.org/\n");
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(Texts(roots[0].Children), (Strings{"kept"}));
}

TEST(FeedList, NamesIgnoreCaseButNothingElseAndTheFirstLineWins)
{
    const auto roots = ParseFeedList("ITEM0=0000 upper\n"
                                     "item0=0000 second\n"
                                     "SubItem0-0=0000 mixed|http://example.org/\n"
                                     "item1=\n"
                                     "item1=0000 after an empty first\n"
                                     "item01=0000 leading zero\n"
                                     "item2 =0000 blank before the equals sign\n"
                                     "item3\n"
                                     "item100=0000 out of range\n"
                                     "subitem0-100=0000 out of range|http://example.org/\n"
                                     "; item4=0000 comment\n");
    EXPECT_EQ(Texts(roots), (Strings{"upper"}));
    EXPECT_EQ(Texts(roots[0].Children), (Strings{"mixed"}));
}

TEST(FeedList, LinesEndAtCrLfOrCrLf)
{
    EXPECT_EQ(SplitFeedLines("a\r\nb\rc\nd\n\ne"),
              (std::vector<std::string_view>{"a", "b", "c", "d", "", "e"}));
    EXPECT_TRUE(SplitFeedLines("").empty());
    EXPECT_EQ(SplitFeedLines("\n"), (std::vector<std::string_view>{""}));
    const auto roots = ParseFeedList("item0=0000 a\ritem1=0000 b\r\nitem2=0000 c\nitem3=0000 d");
    EXPECT_EQ(Texts(roots), (Strings{"a", "b", "c", "d"}));
}

TEST(FeedList, ByteOrderMarkIsSkipped)
{
    EXPECT_EQ(Texts(ParseFeedList("\xEF\xBB\xBFitem0=0000 first")), (Strings{"first"}));
}

TEST(FeedList, Only404InTheFirstLineMarksAnErrorPage)
{
    EXPECT_TRUE(FirstLineHas404("<title>404 Not Found</title>\nitem0=0000 x"));
    EXPECT_TRUE(FirstLineHas404("x404"));
    EXPECT_FALSE(FirstLineHas404("item0=0000 x\r\nitem1=0000 404"));
    EXPECT_FALSE(FirstLineHas404("40\n4"));
    EXPECT_FALSE(FirstLineHas404(""));
}

TEST(FeedList, GarbageGivesNoEntries)
{
    EXPECT_TRUE(ParseFeedList("").empty());
    EXPECT_TRUE(ParseFeedList(std::string("\0\0=\0", 4)).empty());
    EXPECT_TRUE(ParseFeedList("====\n|||\nsubitem=\nsubitem-=x|y\nitem=0000 z").empty());
}

} // namespace
