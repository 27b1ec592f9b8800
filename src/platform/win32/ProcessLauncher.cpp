#include "ProcessLauncher.h"

#include "HostScript.h"
#include "Utf16.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

// clang-format off
#include <windows.h> // before shellapi.h, which needs its types
#include <shellapi.h>
// clang-format on

namespace qv::platform {
namespace {

constexpr int SeFileNotFound = 2;
constexpr int SePathNotFound = 3;

// The hosts started by this process, until they are seen to have ended.
struct StartedHosts
{
    std::mutex mutex;
    std::vector<HANDLE> processes;
};

StartedHosts& startedHosts()
{
    static StartedHosts hosts;
    return hosts;
}

// None of our standard streams may reach the host: a caller that reads our output must see its end when we
// end, not when the host does.
void keepStandardStreamsToOurselves()
{
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = ::GetStdHandle(stream);
        if (handle && handle != INVALID_HANDLE_VALUE)
            ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    }
}

// A program named without a folder, found as the system finds programs the user has installed: its App
// Paths registration, then the folders of PATH; never in the current folder, where anyone who can write
// there could plant a program of that name. Empty when there is none.
std::wstring findInstalledProgram(const std::wstring& name)
{
    std::wstring withExtension = name;
    if (name.find(L'.') == std::wstring::npos)
        withExtension += L".exe";
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + withExtension;
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        wchar_t registered[MAX_PATH * 4] = {};
        DWORD size = sizeof registered;
        if (::RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, registered,
                           &size) == ERROR_SUCCESS) {
            std::wstring path = registered;
            if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
                path = path.substr(1, path.size() - 2);
            if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
                return path;
        }
    }
    const DWORD length = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (length == 0)
        return {};
    std::wstring path(length, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), length));
    // Only whole folder names: an empty entry (a PATH ending in ';' is common) or a relative one would mean
    // the current folder again.
    std::wstring folders;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find(L';', start), path.size());
        std::wstring folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        const bool whole = (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) ||
                           folder.starts_with(L"\\\\");
        if (whole)
            folders += (folders.empty() ? L"" : L";") + folder;
        start = end + 1;
    }
    if (folders.empty())
        return {};
    std::wstring found(32768, L'\0');
    const DWORD foundLength = ::SearchPathW(folders.c_str(), name.c_str(), L".exe", DWORD(found.size()), found.data(),
                                            nullptr);
    if (foundLength == 0 || foundLength >= found.size())
        return {};
    found.resize(foundLength);
    return found;
}

// Starts the host as shellExecuteOpen describes and returns its result; the process, when the shell hands one
// back, goes to `process`.
int executeHost(const std::string& file, const std::string& parameters, const std::string& directory, int showCode,
                HANDLE& process)
{
    process = nullptr;
    // UTF-16 throughout, so names outside the system's code page reach the program as they are.
    const auto wideFile = win32::toUtf16(file);
    const auto wideParameters = win32::toUtf16(parameters);
    if (!wideFile || !wideParameters)
        return SeFileNotFound;
    // Nothing to start: the shell would look for a program without a name.
    if (file.find_first_not_of(' ') == std::string::npos)
        return SeFileNotFound;
    // A single space, like an empty directory, means the current folder.
    const std::string folder = directory.find_first_not_of(' ') == std::string::npos ? std::string() : directory;
    const auto wideDirectory = win32::toUtf16(folder);
    if (!wideDirectory)
        return SePathNotFound;
    // Some shells start the program in the current folder when the one given does not exist.
    if (!wideDirectory->empty()) {
        const DWORD attributes = ::GetFileAttributesW(wideDirectory->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return SePathNotFound;
    }
    std::wstring program = *wideFile;
    if (program.find_first_of(L"\\/:") == std::wstring::npos) {
        program = findInstalledProgram(program);
        if (program.empty())
            return SeFileNotFound;
    }
    keepStandardStreamsToOurselves();
    // ShellExecuteExW finds and starts the program as ShellExecuteW does, and also hands back the process,
    // so that a run can tell whether its host still runs.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = program.c_str();
    info.lpParameters = wideParameters->c_str();
    info.lpDirectory = wideDirectory->empty() ? nullptr : wideDirectory->c_str();
    info.nShow = showCode;
    const BOOL started = ::ShellExecuteExW(&info);
    const int result = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (started && info.hProcess) {
        win32::handScriptToHost(info.hProcess);
        process = info.hProcess;
    }
    if (started)
        return result > 32 ? result : kShellExecuteStarted;
    if (result > 0 && result <= 32)
        return result;
    switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
        return SeFileNotFound;
    case ERROR_PATH_NOT_FOUND:
        return SePathNotFound;
    case ERROR_ACCESS_DENIED:
        return 5;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return 8;
    case ERROR_BAD_EXE_FORMAT:
        return 11;
    default:
        return 0;
    }
}

} // namespace

int shellExecuteOpen(const std::string& file, const std::string& parameters, const std::string& directory, int showCode)
{
    HANDLE process = nullptr;
    const int result = executeHost(file, parameters, directory, showCode, process);
    if (process) {
        StartedHosts& hosts = startedHosts();
        const std::lock_guard guard(hosts.mutex);
        hosts.processes.push_back(process);
    }
    return result;
}

int runningHosts()
{
    StartedHosts& hosts = startedHosts();
    const std::lock_guard guard(hosts.mutex);
    std::erase_if(hosts.processes, [](HANDLE process) {
        if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
            return false;
        ::CloseHandle(process);
        return true;
    });
    return static_cast<int>(hosts.processes.size());
}

WatchedHost::~WatchedHost()
{
    release();
}

void WatchedHost::release()
{
    if (m_process)
        ::CloseHandle(static_cast<HANDLE>(m_process));
    m_process = nullptr;
    m_state = State::NotStarted;
}

int WatchedHost::start(const std::string& file, const std::string& parameters, const std::string& directory,
                       int showCode)
{
    release();
    HANDLE process = nullptr;
    const int result = executeHost(file, parameters, directory, showCode, process);
    if (result <= 32)
        return result;
    if (!process)
        return 0; // started, but through something that hands back no process: it cannot be watched
    m_process = process;
    m_state = State::Running;
    return result;
}

WatchedHost::State WatchedHost::poll()
{
    if (m_state != State::Running)
        return m_state;
    const HANDLE process = static_cast<HANDLE>(m_process);
    if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
        return m_state;
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    // Exception codes (an access violation is 0xC0000005) carry the error severity in their top bits.
    m_state = (code & 0xC0000000u) == 0xC0000000u ? State::ExitedAbnormally : State::ExitedNormally;
    return m_state;
}

void WatchedHost::end()
{
    if (poll() != State::Running)
        return;
    const HANDLE process = static_cast<HANDLE>(m_process);
    ::TerminateProcess(process, 1);
    ::WaitForSingleObject(process, 5000);
    m_state = State::ExitedAbnormally;
}

} // namespace qv::platform
