#pragma once
// The news list file: name=value lines naming up to 100 root entries ("item<i>") and up to
// 100 children per root ("subitem<i>-<j>"), each with two image indices, a text and, for a
// child, a link. Plain C++ without Qt, so that the parser of this outside text can be fuzzed.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TFeedNode {
    int ImageIndex = 0;    // image shown normally
    int SelectedIndex = 0; // image shown while the node is selected
    std::string Text;
    std::string Link;                // children only
    std::vector<TFeedNode> Children; // roots only
};

constexpr int FeedMaxIndex = 99;
constexpr std::size_t FeedMaxLinkLength = 128; // characters

// The roots in index order, each with its children in index order. Never fails: entries that
// cannot be read are left out.
std::vector<TFeedNode> ParseFeedList(std::string_view text);

// The lines of a text split at CR, LF or CR LF; a line end at the very end adds no empty line.
std::vector<std::string_view> SplitFeedLines(std::string_view text);

// Error pages of web servers carry "404" in their first line; a list never does.
bool FirstLineHas404(std::string_view text);
