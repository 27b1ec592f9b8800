#include "FileSystem.h"

#include "io/FileIo.h"
#include "text/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unistd.h>

namespace qv::platform {

namespace {

unsigned attributesOf(const struct stat& info)
{
    unsigned attributes = 0;
    if (S_ISDIR(info.st_mode))
        attributes |= AttrDirectory;
    else if (!S_ISREG(info.st_mode))
        attributes |= AttrNotFile;
    if ((info.st_mode & S_IWUSR) == 0)
        attributes |= AttrReadOnly;
    return attributes;
}

#ifdef O_PATH
constexpr int kFolderHandle = O_PATH | O_DIRECTORY | O_CLOEXEC; // needs no read permission on the folder
#else
constexpr int kFolderHandle = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

} // namespace

Result<unsigned> fileAttributes(const std::string& path)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return errorFor(std::error_code(errno, std::generic_category()), path);
    return attributesOf(info);
}

struct AttributeReader::Folders
{
    static constexpr std::size_t kMostOpen = 256;

    std::unordered_map<std::string, int> handles; // folder -> descriptor, -1 when it could not be opened
    std::string lastFolder;
    int lastHandle = -1;
    std::size_t queries = 0;
    std::size_t opens = 0;
    bool wholePaths = false; // folders seldom repeat: opening them costs more than it saves

    ~Folders() { closeAll(); }

    void closeAll()
    {
        for (const auto& [folder, handle] : handles) {
            if (handle >= 0)
                ::close(handle);
        }
        handles.clear();
        lastFolder.clear();
        lastHandle = -1;
    }

    int handleFor(std::string_view folder)
    {
        if (!lastFolder.empty() && folder == lastFolder)
            return lastHandle;
        std::string key(folder);
        auto found = handles.find(key);
        if (found == handles.end()) {
            if (handles.size() >= kMostOpen)
                closeAll();
            ++opens;
            found = handles.emplace(key, ::open(key.c_str(), kFolderHandle)).first;
        }
        lastFolder = std::move(key);
        lastHandle = found->second;
        return lastHandle;
    }
};

AttributeReader::AttributeReader() : m_folders(std::make_unique<Folders>()) {}

AttributeReader::~AttributeReader() = default;

Result<unsigned> AttributeReader::query(const std::string& path)
{
    Folders& folders = *m_folders;
    ++folders.queries;
    // Once a thousand paths have shown that most folders are seen only a few times, whole paths it is.
    if (!folders.wholePaths && folders.queries >= 1024 && folders.opens * 8 > folders.queries) {
        folders.closeAll();
        folders.wholePaths = true;
    }
    const std::size_t slash = path.rfind('/');
    if (folders.wholePaths || slash == std::string::npos || slash == 0 || slash + 1 == path.size())
        return fileAttributes(path);
    const int handle = folders.handleFor(std::string_view(path).substr(0, slash));
    if (handle < 0)
        return fileAttributes(path); // the whole path gives the error the user should see
    struct stat info{};
    if (::fstatat(handle, path.c_str() + slash + 1, &info, 0) != 0)
        return errorFor(std::error_code(errno, std::generic_category()), path);
    return attributesOf(info);
}

bool isFolderWritable(const std::string& folder)
{
    struct stat info{};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string userConfigFolderName()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = joinPath(home, ".config");
    else
        return {};
    return joinPath(base, "Quorvel");
}

std::string userConfigFolder(bool create)
{
    const std::string folder = userConfigFolderName();
    if (folder.empty())
        return {};
    if (create) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
    }
    return folder;
}

std::string executableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

} // namespace qv::platform
