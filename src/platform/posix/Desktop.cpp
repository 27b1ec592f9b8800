#include "Desktop.h"

#include <cstdlib>

namespace qv::platform {

bool hasDesktop()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void attachParentConsole() {}

} // namespace qv::platform
