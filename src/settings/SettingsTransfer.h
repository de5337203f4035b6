#pragma once
// Moving the settings to and from the registry editor of Windows. Pure C++, no Qt.

#include <string>

// Writes the settings keys of the store at storePath to exportPath exactly as the registry editor
// exports them (UTF-16LE with a byte-order mark, CRLF line ends, hex data wrapped at 80 columns).
// Returns the empty string on success, otherwise one line for standard error saying what went
// wrong, starting "orvani: "; on failure nothing is touched.
std::string ExportSettings(const std::string &storePath, const std::string &exportPath);

// Merges the values of importPath, in any form the registry editor writes, into the store at
// storePath under the store's lock. Returns as ExportSettings does; on failure nothing is touched.
std::string ImportSettings(const std::string &importPath, const std::string &storePath);
