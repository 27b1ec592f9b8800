#include "ProcessLauncher.h"

#include "Utf16.h"

#include <string>

// clang-format off
#include <windows.h> // before shellapi.h, which needs its types
#include <shellapi.h>
// clang-format on

namespace qv::platform {
namespace {

constexpr int SeFileNotFound = 2;
constexpr int SePathNotFound = 3;

} // namespace

int shellExecuteOpen(const std::string& file, const std::string& parameters, const std::string& directory, int showCode)
{
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
    const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", wideFile->c_str(), wideParameters->c_str(),
                                             wideDirectory->empty() ? nullptr : wideDirectory->c_str(), showCode);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

} // namespace qv::platform
