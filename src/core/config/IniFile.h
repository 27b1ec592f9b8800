#pragma once

#include "Result.h"

#include <string>
#include <string_view>

namespace qv {

// Reader and writer of the private-profile text format, working on the bytes of a whole file
// (Windows-1252). Names are matched without regard to letter case; see ini-rules in docs.
namespace ini {

// Longest value a read returns (the 200-byte buffer less its terminator).
inline constexpr std::size_t kMaxReadLength = 199;

// Value of key in section, or fallback when the section or key is missing. Section and key are
// trimmed of spaces. The result is cut at kMaxReadLength bytes.
std::string readValue(std::string_view file, std::string_view section, std::string_view key, std::string_view fallback);

// The file's bytes after writing key=value into section. Refuses names or values that hold a line
// break, empty names, and names a read would not find again: a section holding "]", a key holding "="
// or beginning with "[" or ";", and either beginning or ending with a tab or vertical tab.
Result<std::string> writeValue(std::string_view file, std::string_view section, std::string_view key,
                               std::string_view value);

} // namespace ini
} // namespace qv
