#include "System.h"

#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string_view>

// clang-format off
#include <windows.h> // before shellapi.h, which needs its types
#include <shellapi.h>
// clang-format on

namespace cadhost {

namespace {

std::optional<std::wstring> toUtf16(std::string_view utf8)
{
    if (utf8.empty()) {
        return std::wstring();
    }
    const int size =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::string toUtf8(std::wstring_view utf16)
{
    if (utf16.empty()) {
        return {};
    }
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

std::string describe(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring_view message(text, text != nullptr ? length : 0);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' ')) {
        message.remove_suffix(1);
    }
    std::string result = message.empty() ? "Windows error " + std::to_string(code) : toUtf8(message);
    ::LocalFree(text);
    return result;
}

} // namespace

std::vector<std::string> arguments(int, char**)
{
    // argv holds the arguments in the ANSI code page; the UTF-16 command line holds them as they were given.
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        result.push_back(toUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return result;
}

std::string environment(const char* name)
{
    const auto wideName = toUtf16(name);
    const wchar_t* value = wideName ? ::_wgetenv(wideName->c_str()) : nullptr;
    return value == nullptr ? std::string() : toUtf8(value);
}

std::FILE* createFile(const std::string& path)
{
    const auto wide = toUtf16(path);
    return wide ? ::_wfopen(wide->c_str(), L"wb") : nullptr;
}

void crash()
{
    // The exit code of an access violation, as a host that crashed on a drawing leaves it.
    ::TerminateProcess(::GetCurrentProcess(), 0xC0000005);
    std::abort();
}

bool systemAllowsWrite(const std::string& path)
{
    const auto wide = toUtf16(path);
    if (!wide) {
        return false;
    }
    const HANDLE file =
        ::CreateFileW(wide->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(file);
    return true;
}

HeldScript::~HeldScript()
{
    if (m_handle != nullptr) {
        ::CloseHandle(m_handle);
    }
}

bool HeldScript::open(const std::string& path, std::string& error)
{
    m_path = path;
    const auto wide = toUtf16(path);
    if (!wide) {
        error = "cannot open the script " + path + ": not a UTF-8 name";
        return false;
    }
    // Others may read the script while the host runs, nobody may write or delete it.
    const HANDLE file = ::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open the script " + path + ": " + describe(::GetLastError());
        return false;
    }
    m_handle = file;
    return true;
}

bool HeldScript::readAll(std::string& bytes, std::string& error)
{
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!::ReadFile(m_handle, buffer, sizeof buffer, &count, nullptr)) {
            error = "cannot read the script " + m_path + ": " + describe(::GetLastError());
            return false;
        }
        if (count == 0) {
            return true;
        }
        bytes.append(buffer, count);
    }
}

} // namespace cadhost
