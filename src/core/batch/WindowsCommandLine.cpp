#include "WindowsCommandLine.h"

namespace qv {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The split, and whether the text ends inside a quoted part.
std::vector<std::string> split(std::string_view commandLine, bool& endsQuoted)
{
    endsQuoted = false;
    std::vector<std::string> arguments;
    std::size_t pos = 0;
    const std::size_t size = commandLine.size();
    while (true) {
        while (pos < size && isBlank(commandLine[pos]))
            ++pos;
        if (pos >= size)
            break;

        std::string argument;
        bool quoted = false;
        while (pos < size) {
            std::size_t backslashes = 0;
            while (pos < size && commandLine[pos] == '\\') {
                ++backslashes;
                ++pos;
            }
            if (pos < size && commandLine[pos] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && pos + 1 < size && commandLine[pos + 1] == '"') {
                    argument += '"';
                    ++pos;
                } else {
                    quoted = !quoted;
                }
                ++pos;
                continue;
            }
            argument.append(backslashes, '\\');
            if (pos >= size || (!quoted && isBlank(commandLine[pos])))
                break;
            argument += commandLine[pos++];
        }
        arguments.push_back(std::move(argument));
        endsQuoted = quoted;
    }
    return arguments;
}

} // namespace

std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine)
{
    bool endsQuoted = false;
    return split(commandLine, endsQuoted);
}

bool endsInsideQuotes(std::string_view commandLine)
{
    bool endsQuoted = false;
    split(commandLine, endsQuoted);
    return endsQuoted;
}

std::string quoteWindowsArgument(std::string_view argument)
{
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            // Backslashes before a quote are doubled, and the quote itself escaped.
            if (c == '"')
                out.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        out += c;
    }
    // Backslashes before the closing quote are doubled so that it still closes.
    out.append(backslashes, '\\');
    out += '"';
    return out;
}

} // namespace qv
