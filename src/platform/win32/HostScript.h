#pragma once

#include <windows.h>

namespace qv::platform::win32 {

// Marks the script this run wrote last as the started host's (its process), so that another run leaves it
// alone until that host has ended, also before the host has opened it. Nothing when no script is waiting
// for a host.
void handScriptToHost(HANDLE process);

} // namespace qv::platform::win32
