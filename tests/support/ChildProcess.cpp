#include "ChildProcess.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include "batch/WindowsCommandLine.h"

#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace testsupport {

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

} // namespace

Child startChild(const std::string& program, const std::vector<std::string>& args)
{
    // Quoted as the core quotes a host's arguments: the C runtime splits them back unchanged.
    std::wstring commandLine = wide(qv::quoteWindowsArgument(program));
    for (const std::string& arg : args) {
        commandLine += L" " + wide(qv::quoteWindowsArgument(arg));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(wide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return {};
    }
    ::CloseHandle(process.hThread);
    return {reinterpret_cast<long long>(process.hProcess)};
}

int waitForChild(Child child)
{
    if (child.id == -1) {
        return -1;
    }
    const HANDLE process = reinterpret_cast<HANDLE>(child.id);
    ::WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    const bool ok = ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    return ok ? static_cast<int>(code) : -1;
}

void endChild(Child child)
{
    if (child.id != -1) {
        ::TerminateProcess(reinterpret_cast<HANDLE>(child.id), 1);
    }
}

std::string programBeside(const std::string& name)
{
    wchar_t buffer[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 32768);
    const std::u8string self = std::filesystem::path(std::wstring(buffer, length)).parent_path().u8string();
    return std::string(self.begin(), self.end()) + "\\" + name;
}

void setEnvironment(const std::string& name, const std::string& value)
{
    ::_wputenv((wide(name) + L"=" + wide(value)).c_str());
}

#else

Child startChild(const std::string& program, const std::vector<std::string>& args)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return {pid};
}

int waitForChild(Child child)
{
    int status = 0;
    if (child.id <= 0 || ::waitpid(static_cast<pid_t>(child.id), &status, 0) < 0) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void endChild(Child child)
{
    if (child.id > 0) {
        ::kill(static_cast<pid_t>(child.id), SIGKILL);
    }
}

std::string programBeside(const std::string& name)
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

void setEnvironment(const std::string& name, const std::string& value)
{
    if (value.empty()) {
        ::unsetenv(name.c_str());
    } else {
        ::setenv(name.c_str(), value.c_str(), 1);
    }
}

#endif

} // namespace testsupport
