#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::hostmodel {

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Scripts are one byte per character in Windows-1252; the host model works in UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);

// Splits text at CR LF, LF or a lone CR. A final line break does not start another line.
std::vector<std::string> splitLines(std::string_view text);
// The same as views into the text, which must outlive them.
std::vector<std::string_view> splitLineViews(std::string_view text);

} // namespace qv::hostmodel
