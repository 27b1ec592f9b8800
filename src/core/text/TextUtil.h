#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Removes leading and trailing space characters (not tabs or line breaks).
std::string_view TrimSpaces(std::string_view text);
std::string_view TrimLeadingSpaces(std::string_view text);
std::string_view TrimTrailingSpaces(std::string_view text);

// Upper-cases ASCII letters only; other bytes pass unchanged (UTF-8 safe).
std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Leading whole number of the trimmed text, as a 16-bit integer would hold it; nullopt when
// the text does not start with a number.
std::optional<int> ParseInt16(std::string_view text);

} // namespace qv
