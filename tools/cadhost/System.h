#pragma once

#include <cstdio>
#include <string>
#include <vector>

// What the stand-in host needs from the operating system, one file per system (SystemPosix.cpp,
// SystemWindows.cpp). Text and paths are UTF-8 on both sides of this header.
namespace cadhost {

// The command-line arguments after the program name. On Windows they are read as UTF-16, so a script path
// outside the system's code page arrives whole.
std::vector<std::string> arguments(int argc, char** argv);

// An environment variable, empty when unset.
std::string environment(const char* name);

// Creates or truncates a file for writing.
std::FILE* createFile(const std::string& path);

// The system's own answer to whether this process may write the file (permissions, access lists).
bool systemAllowsWrite(const std::string& path);

// Ends the process at once as a crashed host ends: killed (POSIX) or with an access violation's exit code
// (Windows); no file is closed or removed on the way out.
[[noreturn]] void crash();

// The script as a running host holds it, from open until the host ends: Windows hosts keep it open so that
// nobody may write it; on POSIX systems the stand-in keeps a shared flock(2) on it, which Quorvel's lock
// probe honours in the same way.
class HeldScript
{
public:
    HeldScript() = default;
    HeldScript(const HeldScript&) = delete;
    HeldScript& operator=(const HeldScript&) = delete;
    ~HeldScript();

    // On failure these return false and the system's description in `error`.
    bool open(const std::string& path, std::string& error);
    bool readAll(std::string& bytes, std::string& error);

private:
    std::string m_path;
    void* m_handle = nullptr; // a Windows HANDLE, or a POSIX descriptor + 1
};

} // namespace cadhost
