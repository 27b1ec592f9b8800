#include "ProcessLauncher.h"

#include <optional>
#include <string>

// clang-format off
#include <windows.h> // before shellapi.h, which needs its types
#include <shellapi.h>
// clang-format on

namespace qv::platform {
namespace {

constexpr int SeFileNotFound = 2;
constexpr int SePathNotFound = 3;

// Program text is UTF-8; ShellExecuteA takes the system's ANSI code page. Text that code page
// cannot hold is refused rather than passed on with "?" in it.
std::optional<std::string> ToAnsi(const std::string& text)
{
    if (text.empty())
        return std::string();
    const int wideSize =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wideSize <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(),
                          wideSize);
    BOOL usedDefault = FALSE;
    const int ansiSize =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr, 0, nullptr, &usedDefault);
    if (ansiSize <= 0 || usedDefault)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(ansiSize), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, ansi.data(), ansiSize, nullptr,
                          &usedDefault);
    return ansi;
}

} // namespace

int ShellExecuteOpen(const std::string& file, const std::string& parameters, const std::string& directory, int showCode)
{
    const auto ansiFile = ToAnsi(file);
    const auto ansiParameters = ToAnsi(parameters);
    if (!ansiFile || !ansiParameters)
        return SeFileNotFound;
    const auto ansiDirectory = ToAnsi(directory);
    if (!ansiDirectory)
        return SePathNotFound;
    const HINSTANCE result =
        ::ShellExecuteA(nullptr, "open", ansiFile->c_str(), ansiParameters->c_str(), ansiDirectory->c_str(), showCode);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

} // namespace qv::platform
