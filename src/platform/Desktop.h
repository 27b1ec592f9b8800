#pragma once

namespace qv::platform {

// True when the program's windows can be shown: on Windows always (the session's own desktop); elsewhere
// when the environment names an X11 or Wayland display.
bool hasDesktop();

// A Windows program built for the windowed subsystem starts without a console: when it was started from
// one, its standard output and error that are not redirected are joined to that console, so --help,
// --version and the messages of an unattended run are seen. Does nothing elsewhere.
void attachParentConsole();

} // namespace qv::platform
