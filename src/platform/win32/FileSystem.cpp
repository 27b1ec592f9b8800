#include "FileSystem.h"

#include "io/FileIo.h"
#include "text/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <windows.h>

namespace qv::platform {

Result<unsigned> GetFileAttributes(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = ::GetLastError();
        return MakeError(err == ERROR_PATH_NOT_FOUND ? ErrPathNotFound : ErrFileNotFound, path);
    }
    return static_cast<unsigned>(attributes);
}

bool IsFolderWritable(const std::string& folder)
{
    const std::string probe = JoinPath(folder, "quorvel.write-test");
    const HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

std::string UserConfigFolder()
{
    const char* appData = std::getenv("APPDATA");
    if (!appData || !*appData)
        return {};
    const std::string folder = JoinPath(appData, "Quorvel");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::string ExecutableFolder()
{
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return SplitAtLastSeparator(std::string(buffer, length)).first;
}

} // namespace qv::platform
