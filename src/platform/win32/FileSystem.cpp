#include "FileSystem.h"

#include "Utf16.h"
#include "io/FileIo.h"
#include "text/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <vector>
#include <windows.h>

namespace qv::platform {

Result<unsigned> fileAttributes(const std::string& path)
{
    const auto wide = win32::toUtf16(path);
    if (!wide || wide->empty())
        return makeError(ErrBadFileNameOrNumber, path);
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (::GetLastError()) {
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return makeError(ErrPathNotFound, path);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return makeError(ErrBadFileNameOrNumber, path);
        case ERROR_ACCESS_DENIED:
            return makeError(ErrPermissionDenied, path);
        default:
            return makeError(ErrFileNotFound, path);
        }
    }
    return static_cast<unsigned>(attributes);
}

// Windows has no cheaper query relative to an open folder for a plain attribute read.
struct AttributeReader::Folders
{
};

AttributeReader::AttributeReader() = default;

AttributeReader::~AttributeReader() = default;

Result<unsigned> AttributeReader::query(const std::string& path)
{
    return fileAttributes(path);
}

bool isFolderWritable(const std::string& folder)
{
    const auto wide = win32::toUtf16(joinPath(folder, "quorvel.write-test"));
    if (!wide)
        return false;
    const HANDLE file = ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

std::string userConfigFolderName()
{
    // getenv would give the name in the ANSI code page, which cannot hold every user name.
    const wchar_t* appData = ::_wgetenv(L"APPDATA");
    if (!appData || !*appData)
        return {};
    return joinPath(stripTrailingSeparator(win32::toUtf8(appData)), "Quorvel");
}

std::string userConfigFolder(bool create)
{
    const std::string folder = userConfigFolderName();
    if (folder.empty())
        return {};
    if (create) {
        std::error_code ec;
        std::filesystem::create_directories(pathFromUtf8(folder), ec);
    }
    return folder;
}

std::string executableFolder()
{
    // Paths may be longer than MAX_PATH; the function says so by filling the whole buffer.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return splitAtLastSeparator(win32::toUtf8(std::wstring_view(buffer.data(), length))).first;
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace qv::platform
