#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The line break of every file and every piece of generated command text.
inline constexpr std::string_view kCrLf = "\r\n";

// Splits text into lines at CR LF, a lone CR or a lone LF. A final line break does not
// start an empty last line.
std::vector<std::string_view> splitLines(std::string_view text);

// Joins lines with CR LF between them (no line break after the last).
std::string joinCrLf(const std::vector<std::string>& lines);

bool containsLineBreak(std::string_view text);

// True when the text cannot stand between double quotes on a line of generated text: a quote would end
// it early, and a line break would end the line.
bool breaksQuotedLine(std::string_view text);

} // namespace qv
