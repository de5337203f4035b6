#pragma once
// Moving the settings to and from the registry editor of Windows. Pure C++, no Qt.

#include <cstdint>
#include <string>

// Writes the settings keys of the store at storePath to exportPath ("-" for standard output)
// exactly as the registry editor exports them (UTF-16LE with a byte-order mark, CRLF line ends,
// hex data wrapped at 80 columns). Without a store, or one without settings, these are the
// general settings the program would start with (lcid: the user's locale identifier); the window
// placement follows the screen and is left out. Returns the empty string on success, otherwise one
// line for standard error saying what went wrong, starting "orvani: "; on failure a plain file
// at exportPath is as it was.
std::string ExportSettings(const std::string &storePath, const std::string &exportPath, std::uint32_t lcid);

// Merges the values of importPath ("-" for standard input), in any form the registry editor
// writes, into the store at storePath under the store's lock; value and key deletions ("Name"=-,
// [-KEY]) are carried out, so a deleted setting goes back to its default. Returns as
// ExportSettings does; on failure nothing is touched.
std::string ImportSettings(const std::string &importPath, const std::string &storePath);
