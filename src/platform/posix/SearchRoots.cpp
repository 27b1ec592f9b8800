#include "SearchRoots.h"

#include "text/Paths.h"

#include <cstdlib>

namespace qv::platform {
namespace {

std::string Home()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) : std::string();
}

// drive_c of the Wine prefix in use: $WINEPREFIX, else ~/.wine.
std::string WineDriveC()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return JoinPath(prefix, "drive_c");
    const std::string home = Home();
    return home.empty() ? std::string() : JoinPath(JoinPath(home, ".wine"), "drive_c");
}

std::vector<std::string> WithoutEmpty(std::vector<std::string> roots)
{
    std::erase_if(roots, [](const std::string& root) { return root.empty(); });
    return roots;
}

} // namespace

std::vector<std::string> ExecutableSearchRoots()
{
    return WithoutEmpty({WineDriveC(), "/opt", "/usr/local", "/usr/bin", Home()});
}

std::vector<std::string> PlotFileSearchRoots()
{
    // The hosts keep their plot files among the user's settings.
    return WithoutEmpty({WineDriveC(), Home(), "/opt", "/usr/local"});
}

std::vector<std::string> FoldersNeverSearched()
{
    return {"/proc", "/sys", "/dev"};
}

} // namespace qv::platform
