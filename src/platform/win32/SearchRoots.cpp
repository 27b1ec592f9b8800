#include "SearchRoots.h"

#include <filesystem>
#include <system_error>

namespace qv::platform {
namespace {

// "C:" for a process whose current folder is on drive C.
std::string currentDrive()
{
    std::error_code ec;
    const std::u8string drive = std::filesystem::current_path(ec).root_name().u8string();
    if (ec || drive.empty())
        return "C:";
    return std::string(drive.begin(), drive.end());
}

} // namespace

std::vector<std::string> executableSearchRoots()
{
    return {currentDrive() + "\\Program Files\\"};
}

std::vector<std::string> plotFileSearchRoots()
{
    return {currentDrive() + "\\"};
}

std::vector<std::string> foldersNeverSearched()
{
    return {};
}

} // namespace qv::platform
