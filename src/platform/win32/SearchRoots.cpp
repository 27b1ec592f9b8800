#include "SearchRoots.h"

#include <filesystem>
#include <system_error>

namespace qv::platform {
namespace {

// "C:" for a process whose current folder is on drive C.
std::string CurrentDrive()
{
    std::error_code ec;
    const std::u8string drive = std::filesystem::current_path(ec).root_name().u8string();
    if (ec || drive.empty())
        return "C:";
    return std::string(drive.begin(), drive.end());
}

} // namespace

std::vector<std::string> ExecutableSearchRoots()
{
    return {CurrentDrive() + "\\Program Files\\"};
}

std::vector<std::string> PlotFileSearchRoots()
{
    return {CurrentDrive() + "\\"};
}

std::vector<std::string> FoldersNeverSearched()
{
    return {};
}

} // namespace qv::platform
