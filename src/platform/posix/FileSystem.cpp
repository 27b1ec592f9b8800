#include "FileSystem.h"

#include "io/FileIo.h"
#include "text/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qv::platform {

Result<unsigned> GetFileAttributes(const std::string& path)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return ErrorFor(std::error_code(errno, std::generic_category()), path);
    unsigned attributes = 0;
    if (S_ISDIR(info.st_mode))
        attributes |= AttrDirectory;
    if ((info.st_mode & S_IWUSR) == 0)
        attributes |= AttrReadOnly;
    return attributes;
}

bool IsFolderWritable(const std::string& folder)
{
    struct stat info{};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserConfigFolder()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = JoinPath(home, ".config");
    else
        return {};
    const std::string folder = JoinPath(base, "Quorvel");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::string ExecutableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

} // namespace qv::platform
