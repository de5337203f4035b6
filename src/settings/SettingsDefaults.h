#pragma once
// The settings' defaults and limits, written once for the store, the windows and the command
// line. Pure C++, no Qt.

#include <string_view>

namespace settingsdefaults {

// Where the settings live, below HKEY_CURRENT_USER\Software.
inline constexpr std::string_view KeyPath = "KX\\Orvani";
inline constexpr std::string_view RootKey = "HKEY_CURRENT_USER";

inline constexpr std::string_view FontName = "Arial";
// A stored size below MinFontSize falls back to FontSize; above MaxFontSize it is drawn at that.
inline constexpr int FontSize = 9;
inline constexpr int MinFontSize = 1;
inline constexpr int MaxFontSize = 144;

inline constexpr std::string_view DatePattern = "ww * dddd dd-mm-yy * yyyy";

// AlphaBlend: the opacity slider's range. The highest value, the default, is fully opaque; no
// stored value is shown fainter than the lowest.
inline constexpr int HighestAlphaBlend = 250;
inline constexpr int LowestAlphaBlend = 100;

} // namespace settingsdefaults
