#include "ProcessLauncher.h"

#include "Utf16.h"

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
    keepStandardStreamsToOurselves();
    // ShellExecuteExW finds and starts the program as ShellExecuteW does, and also hands back the process,
    // so that a run can tell whether its host still runs.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = wideFile->c_str();
    info.lpParameters = wideParameters->c_str();
    info.lpDirectory = wideDirectory->empty() ? nullptr : wideDirectory->c_str();
    info.nShow = showCode;
    const BOOL started = ::ShellExecuteExW(&info);
    const int result = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (started)
        process = info.hProcess;
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
