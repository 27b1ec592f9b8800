#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Removes leading and trailing space characters (not tabs or line breaks).
std::string_view trimSpaces(std::string_view text);
std::string_view trimLeadingSpaces(std::string_view text);
std::string_view trimTrailingSpaces(std::string_view text);

// Upper-cases ASCII letters only; other bytes pass unchanged (UTF-8 safe).
std::string toUpperAscii(std::string_view text);
bool equalsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Leading whole number of the trimmed text, as a 16-bit integer would hold it; nullopt when
// the text does not start with a number.
std::optional<int> parseInt16(std::string_view text);

} // namespace qv
