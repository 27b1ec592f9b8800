#include "Desktop.h"

#include <cstdio>
#include <windows.h>

namespace qv::platform {

bool hasDesktop()
{
    return true;
}

void attachParentConsole()
{
    // A handle that is a file, a pipe or a console already is left where it points.
    const bool outputSet = ::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN;
    const bool errorSet = ::GetFileType(::GetStdHandle(STD_ERROR_HANDLE)) != FILE_TYPE_UNKNOWN;
    if ((outputSet && errorSet) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!outputSet)
        std::freopen("CONOUT$", "w", stdout);
    if (!errorSet)
        std::freopen("CONOUT$", "w", stderr);
}

} // namespace qv::platform
