#include "ScriptLock.h"

#include "Result.h"
#include "SystemErrors.h"
#include "Utf16.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <windows.h>

namespace qv::platform {
namespace {

} // namespace

int probeForWriting(const std::string& path)
{
    const auto wide = win32::toUtf16(path);
    if (!wide || wide->empty())
        return ErrBadFileNameOrNumber;

    // A read-only script cannot be written, whoever asks (an administrator's handle would open it anyway).
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ErrPermissionDenied;

    // No sharing and OPEN_ALWAYS: fails while a host has the script open, never truncates it.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // Windows refuses a folder as "access denied"; it is no script a host holds, so say what it is.
        if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return ErrPathFileAccess;
        return win32::errorNumberFor(error);
    }
    ::CloseHandle(handle);
    return 0;
}

int claimScript(const std::string& path)
{
    const auto wide = win32::toUtf16(path);
    if (!wide || wide->empty())
        return ErrBadFileNameOrNumber;
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? 0 : win32::errorNumberFor(error);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ErrPathFileAccess;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ErrPermissionDenied;
    // No sharing and OPEN_EXISTING: fails while a host has the script open, and changes nothing on disk.
    const HANDLE handle =
        ::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? 0 : win32::errorNumberFor(error);
    }
    ::CloseHandle(handle);
    return 0;
}

Status writeClaimedScript(const std::string& path,
                          const std::function<void(const std::function<void(std::string_view)>& put)>& produce)
{
    const auto wide = win32::toUtf16(path);
    if (!wide || wide->empty())
        return makeError(ErrBadFileNameOrNumber, path);
    static std::mt19937_64 random{std::random_device{}()};
    std::wstring temp;
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temp = *wide + L"." + std::to_wstring(random() % 1000000000) + L".tmp";
        // CREATE_NEW: a name that is already there (a link someone planted among them) is never opened.
        handle = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE)
        return makeError(win32::errorNumberFor(::GetLastError()), path);

    constexpr std::size_t kChunk = std::size_t(1) << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    std::size_t used = 0;
    DWORD writeError = 0;
    const auto writeOut = [&](const char* data, std::size_t size) {
        while (writeError == 0 && size > 0) {
            const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, kChunk));
            DWORD count = 0;
            if (!::WriteFile(handle, data, part, &count, nullptr)) {
                writeError = ::GetLastError();
                return;
            }
            data += count;
            size -= count;
        }
    };
    produce([&](std::string_view piece) {
        if (used + piece.size() > kChunk) {
            writeOut(buffer.get(), used);
            used = 0;
            if (piece.size() > kChunk) {
                writeOut(piece.data(), piece.size());
                return;
            }
        }
        std::memcpy(buffer.get() + used, piece.data(), piece.size());
        used += piece.size();
    });
    writeOut(buffer.get(), used);
    ::CloseHandle(handle);
    // Moved into place in one step: a link in the script's place is replaced, not what it points to.
    if (writeError == 0 && !::MoveFileExW(temp.c_str(), wide->c_str(), MOVEFILE_REPLACE_EXISTING))
        writeError = ::GetLastError();
    if (writeError != 0) {
        ::DeleteFileW(temp.c_str());
        return makeError(win32::errorNumberFor(writeError), path);
    }
    return {};
}

// Windows locks a script while a host reads it; nothing is held here between the claim and the start.
void releaseScriptClaim() {}

int takeHeldScript()
{
    return -1;
}

} // namespace qv::platform
