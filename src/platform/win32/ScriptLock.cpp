#include "ScriptLock.h"

#include "BlockOutput.h"
#include "HostScript.h"
#include "Result.h"
#include "SafeWrite.h"
#include "SystemErrors.h"
#include "Utf16.h"
#include "io/FileIo.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <random>
#include <sstream>
#include <utility>
#include <string>
#include <thread>
#include <windows.h>

namespace qv::platform {
namespace {

// How long a run waits for another run in the same script folder to finish writing and starting its host.
constexpr auto kFolderWait = std::chrono::seconds(30);
// A host started from another computer cannot be asked whether it still runs: its script is left alone
// for this long after the start, which covers the host's start-up, after which the host holds it open.
constexpr ULONGLONG kForeignHostHold = 10ULL * 60 * 10'000'000; // 100 ns units

// Held by the run that chooses, writes and starts in the folder; deleted by the system when its handle
// closes, also when the run is killed.
constexpr wchar_t kFolderLockName[] = L"Quorvel.lock";
// Beside a script: which host it was started for (computer, process id, process creation time).
constexpr wchar_t kHostMarkSuffix[] = L".host";

struct Claim
{
    std::mutex mutex;
    std::wstring folder;
    HANDLE folderLock = INVALID_HANDLE_VALUE;
    std::wstring written; // the script written in this claim, until a host is started on it
};

Claim& claim()
{
    static Claim state;
    return state;
}

void releaseLocked(Claim& state)
{
    if (state.folderLock != INVALID_HANDLE_VALUE)
        ::CloseHandle(state.folderLock);
    state.folderLock = INVALID_HANDLE_VALUE;
    state.folder.clear();
    state.written.clear();
}

std::wstring folderOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring nameOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Takes the folder's lock file, waiting while another run holds it. 0, or the error number.
int lockFolder(Claim& state, const std::wstring& folder)
{
    if (state.folderLock != INVALID_HANDLE_VALUE && state.folder == folder)
        return 0;
    releaseLocked(state);
    const std::wstring lockPath = folder + L"\\" + kFolderLockName;
    const auto deadline = std::chrono::steady_clock::now() + kFolderWait;
    for (;;) {
        const HANDLE handle = ::CreateFileW(lockPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            state.folderLock = handle;
            state.folder = folder;
            return 0;
        }
        const DWORD error = ::GetLastError();
        // Held by another run, or just closed by it and not yet deleted; anything else is the folder's own
        // problem (missing, or no new file may be made there).
        const bool busy = error == ERROR_SHARING_VIOLATION ||
                          (error == ERROR_ACCESS_DENIED && ::GetFileAttributesW(lockPath.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (!busy)
            return win32::errorNumberFor(error);
        if (std::chrono::steady_clock::now() >= deadline)
            return ErrPermissionDenied;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::wstring computerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? std::wstring(name, size) : std::wstring();
}

ULONGLONG asNumber(const FILETIME& time)
{
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Whether the host a script was started for may still need it. A mark that is unreadable, or names a host
// that has ended, is removed.
bool startedHostHolds(const std::wstring& script)
{
    const std::wstring markPath = script + kHostMarkSuffix;
    WIN32_FILE_ATTRIBUTE_DATA about{};
    if (!::GetFileAttributesExW(markPath.c_str(), GetFileExInfoStandard, &about))
        return false;
    const Result<std::string> mark = readFileBytes(win32::toUtf8(markPath));

    std::wstring computer;
    DWORD processId = 0;
    ULONGLONG created = 0;
    bool holds = false;
    if (mark) {
        const auto wide = win32::toUtf16(mark.value());
        std::wistringstream in(wide ? *wide : std::wstring());
        if (std::getline(in, computer) && (in >> processId >> created)) {
            if (computer != computerName()) {
                FILETIME now{};
                ::GetSystemTimeAsFileTime(&now);
                holds = asNumber(now) < asNumber(about.ftLastWriteTime) + kForeignHostHold;
            } else if (const HANDLE process =
                           ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
                // The same number may since have been given to another process: its start time tells.
                FILETIME start{}, end{}, kernel{}, user{};
                holds = ::GetProcessTimes(process, &start, &end, &kernel, &user) && asNumber(start) == created &&
                        ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
                ::CloseHandle(process);
            }
        }
    }
    if (!holds)
        ::DeleteFileW(markPath.c_str());
    return holds;
}

bool isDigits(std::wstring_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// New scripts exist beside the script only while their run holds the folder's lock, so any the lock's holder
// finds were left by a run that was killed while writing. One still open cannot be deleted and stays.
void removeLeftovers(const std::wstring& script)
{
    const std::wstring folder = folderOf(script);
    const std::wstring prefix = nameOf(script) + L".";
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\" + prefix + L"*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring_view name = found.cFileName;
        if (name.size() > prefix.size() + 4 && name.starts_with(prefix) &&
            isDigits(name.substr(prefix.size(), name.size() - prefix.size() - 4)))
            ::DeleteFileW((folder + L"\\" + std::wstring(name)).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

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
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    if (const int folderError = lockFolder(state, folderOf(*wide)))
        return folderError;
    // A host started on this script may not have opened it yet; until it ends, the script is its.
    if (startedHostHolds(*wide))
        return ErrPermissionDenied;
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
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    if (state.folderLock != INVALID_HANDLE_VALUE && state.folder == folderOf(*wide))
        removeLeftovers(*wide);
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

    DWORD writeError = 0;
    const auto writeOut = [&](const char* data, std::size_t size) {
        while (writeError == 0 && size > 0) {
            const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t(1) << 30));
            DWORD count = 0;
            if (!::WriteFile(handle, data, part, &count, nullptr)) {
                writeError = ::GetLastError();
                return;
            }
            data += count;
            size -= count;
        }
    };
    putInBlocks(produce, writeOut);
    ::CloseHandle(handle);
    // Moved into place in one step: a link in the script's place is replaced, not what it points to.
    if (writeError == 0 && !::MoveFileExW(temp.c_str(), wide->c_str(), MOVEFILE_REPLACE_EXISTING))
        writeError = ::GetLastError();
    if (writeError != 0) {
        ::DeleteFileW(temp.c_str());
        return makeError(win32::errorNumberFor(writeError), path);
    }
    // An old mark beside it was for the script this one replaced.
    ::DeleteFileW((*wide + kHostMarkSuffix).c_str());
    state.written = *wide;
    return {};
}

void releaseScriptClaim()
{
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    releaseLocked(state);
}

int takeHeldScript()
{
    return -1;
}

void win32::handScriptToHost(HANDLE process)
{
    Claim& state = claim();
    const std::lock_guard guard(state.mutex);
    if (state.written.empty())
        return;
    const std::wstring script = std::exchange(state.written, std::wstring());
    FILETIME start{}, end{}, kernel{}, user{};
    if (!process || !::GetProcessTimes(process, &start, &end, &kernel, &user))
        return;
    const std::wstring text = computerName() + L"\n" + std::to_wstring(::GetProcessId(process)) + L" " +
                              std::to_wstring(asNumber(start)) + L"\n";
    const std::wstring markPath = script + kHostMarkSuffix;
    // Whole or not at all: a half-written mark would read as no host.
    if (replaceFileSafely(win32::toUtf8(markPath), win32::toUtf8(text)))
        ::SetFileAttributesW(markPath.c_str(), FILE_ATTRIBUTE_HIDDEN);
}

} // namespace qv::platform
