#include "Utf16.h"

#include <windows.h>

namespace qv::platform::win32 {

std::optional<std::wstring> toUtf16(std::string_view utf8)
{
    if (utf8.empty())
        return std::wstring();
    const int size =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    // A path with a NUL inside would name a shorter path than the one asked for.
    if (wide.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    return wide;
}

std::string toUtf8(std::wstring_view utf16)
{
    if (utf16.empty())
        return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), utf8.data(), size, nullptr,
                          nullptr);
    return utf8;
}

} // namespace qv::platform::win32
