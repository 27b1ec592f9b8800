#include "SearchRoots.h"

#include "text/Paths.h"

#include <cstdlib>

namespace qv::platform {
namespace {

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string();
}

// drive_c of the Wine prefix in use: $WINEPREFIX, else ~/.wine.
std::string wineDriveC()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return joinPath(prefix, "drive_c");
    const std::string home = homeFolder();
    return home.empty() ? std::string() : joinPath(joinPath(home, ".wine"), "drive_c");
}

std::vector<std::string> withoutEmpty(std::vector<std::string> roots)
{
    std::erase_if(roots, [](const std::string& root) { return root.empty(); });
    return roots;
}

} // namespace

std::vector<std::string> executableSearchRoots()
{
    return withoutEmpty({wineDriveC(), "/opt", "/usr/local", "/usr/bin", homeFolder()});
}

std::vector<std::string> plotFileSearchRoots()
{
    // The hosts keep their plot files among the user's settings.
    return withoutEmpty({wineDriveC(), homeFolder(), "/opt", "/usr/local"});
}

std::vector<std::string> foldersNeverSearched()
{
    return {"/proc", "/sys", "/dev"};
}

} // namespace qv::platform
