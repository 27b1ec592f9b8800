#include "StreamReader.h"

#include "SystemErrors.h"
#include "Utf16.h"

#include <chrono>
#include <memory>
#include <thread>
#include <windows.h>

namespace qv::platform {
namespace {

constexpr DWORD kBlock = DWORD(1) << 20;

Error refused(const std::string& path, const std::string& why)
{
    return Error{ErrPathFileAccess, path + " " + why};
}

Error systemFailure(const std::string& path, DWORD error)
{
    return makeError(win32::errorNumberFor(error), path);
}

} // namespace

Status readStreamInBlocks(const std::string& path, const StreamLimits& limits,
                          const std::function<void(std::string_view block)>& block)
{
    const auto wide = win32::toUtf16(path);
    if (!wide || wide->empty())
        return makeError(ErrBadFileNameOrNumber, path);
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return refused(path, "is a folder, not a file that can be read as a drawing list.");
    const HANDLE handle = ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return systemFailure(path, ::GetLastError());
    const std::unique_ptr<void, decltype(&::CloseHandle)> owner(handle, &::CloseHandle);
    const DWORD type = ::GetFileType(handle);
    const bool pipe = type == FILE_TYPE_PIPE;
    if (type != FILE_TYPE_DISK && !pipe)
        return refused(path, "is a device, not a file that can be read as a drawing list.");
    if (!pipe) {
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(handle, &size) && static_cast<unsigned long long>(size.QuadPart) > limits.limit)
            return refused(path, "is larger than " + std::to_string(limits.limit >> 20) +
                                     " MiB, more than any drawing list.");
    }
    // A pipe's serving program may never write: until its first bytes or its end, the wait is bounded; after
    // that the pipe is waited for as any program reading a pipe waits for it.
    if (pipe) {
        const auto deadline = std::chrono::steady_clock::now() + limits.writerWait;
        for (;;) {
            DWORD available = 0;
            if (!::PeekNamedPipe(handle, nullptr, 0, nullptr, &available, nullptr)) {
                const DWORD error = ::GetLastError();
                // The serving program closed or disconnected its end without writing: an empty list.
                if (error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED)
                    return {};
                return systemFailure(path, error);
            }
            if (available > 0)
                break;
            if (std::chrono::steady_clock::now() >= deadline)
                return refused(path, "is a named pipe that no program wrote into within " +
                                         std::to_string(limits.writerWait.count() / 1000) + " seconds.");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
    std::size_t total = 0;
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(handle, buffer.get(), kBlock, &count, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED || error == ERROR_HANDLE_EOF)
                return {};
            return systemFailure(path, error);
        }
        if (count == 0)
            return {};
        total += count;
        if (total > limits.limit)
            return refused(path, "holds more than " + std::to_string(limits.limit >> 20) +
                                     " MiB, more than any drawing list.");
        block(std::string_view(buffer.get(), count));
    }
}

} // namespace qv::platform
