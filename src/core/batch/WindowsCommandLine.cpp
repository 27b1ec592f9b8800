#include "WindowsCommandLine.h"

namespace qv {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine)
{
    std::vector<std::string> arguments;
    std::size_t pos = 0;
    const std::size_t size = commandLine.size();
    while (true) {
        while (pos < size && IsBlank(commandLine[pos]))
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
            if (pos >= size || (!quoted && IsBlank(commandLine[pos])))
                break;
            argument += commandLine[pos++];
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

} // namespace qv
