#include "Paths.h"

#include <filesystem>

namespace qv {

char PathSeparator()
{
    return static_cast<char>(std::filesystem::path::preferred_separator);
}

bool IsPathSeparator(char c)
{
    return c == '/' || c == PathSeparator();
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string out(StripTrailingSeparator(folder));
    out += PathSeparator();
    out += name;
    return out;
}

std::string_view StripTrailingSeparator(std::string_view path)
{
    if (!path.empty() && IsPathSeparator(path.back()))
        path.remove_suffix(1);
    return path;
}

std::pair<std::string, std::string> SplitAtLastSeparator(std::string_view path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1]))
            return {std::string(path.substr(0, i - 1)), std::string(path.substr(i))};
    }
    return {std::string(), std::string(path)};
}

} // namespace qv
