#include "Paths.h"

#include <filesystem>

namespace qv {

char pathSeparator()
{
    return static_cast<char>(std::filesystem::path::preferred_separator);
}

bool fileNamesIgnoreCase()
{
    return pathSeparator() == '\\';
}

bool isPathSeparator(char c)
{
    return c == '/' || c == pathSeparator();
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string out(stripTrailingSeparator(folder));
    out += pathSeparator();
    out += name;
    return out;
}

std::string_view stripTrailingSeparator(std::string_view path)
{
    if (!path.empty() && isPathSeparator(path.back()))
        path.remove_suffix(1);
    return path;
}

std::pair<std::string, std::string> splitAtLastSeparator(std::string_view path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1]))
            return {std::string(path.substr(0, i - 1)), std::string(path.substr(i))};
    }
    return {std::string(), std::string(path)};
}

} // namespace qv
