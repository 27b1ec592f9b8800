#pragma once

#include <windows.h>

namespace qv::platform::win32 {

// The program's error number for a Windows error code (GetLastError), for the messages that name a file.
int errorNumberFor(DWORD error);

} // namespace qv::platform::win32
