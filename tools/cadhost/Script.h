#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

// One line of a script as the host types it.
struct ScriptLine
{
    int number = 0;                   // 1-based line number in the file
    bool comment = false;             // a ';' line: the host types nothing for it
    std::vector<std::string> entries; // UTF-8; each one is ended by Enter
};

// Scripts are one byte per character in Windows-1252; the host works in UTF-8.
std::string windows1252ToUtf8(std::string_view bytes);

// Splits text at CR LF, LF or a lone CR. A final line break does not start another line.
std::vector<std::string> splitLines(std::string_view text);

// A space outside double quotes acts as Enter, and so does the end of the line, so "A B" gives "A", "B",
// "A " gives "A", "" and an empty line gives one empty entry. Quotes stay in the entries.
std::vector<std::string> splitEntries(std::string_view line);

std::vector<ScriptLine> parseScript(std::string_view bytes);

} // namespace cadhost
