#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace qv {

// The platform's path separator: "\" on Windows, "/" elsewhere.
char pathSeparator();

// True where file names that differ only in letter case name the same file (Windows).
bool fileNamesIgnoreCase();

// True for the platform separator, and for "/" everywhere (Windows accepts both).
bool isPathSeparator(char c);

// Folder + one separator + name; a separator already ending the folder is not doubled.
std::string joinPath(std::string_view folder, std::string_view name);

// Removes one trailing separator, if any.
std::string_view stripTrailingSeparator(std::string_view path);

// Splits a full path at its last separator into folder (without it) and file name. A path
// without a separator has an empty folder.
std::pair<std::string, std::string> splitAtLastSeparator(std::string_view path);

} // namespace qv
