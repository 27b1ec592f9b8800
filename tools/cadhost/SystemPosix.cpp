#include "System.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace cadhost {

namespace {

int descriptor(void* handle)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(handle)) - 1;
}

} // namespace

std::vector<std::string> arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::FILE* createFile(const std::string& path)
{
    return std::fopen(path.c_str(), "wb");
}

void crash()
{
    // SIGKILL rather than SIGSEGV or SIGABRT: abnormal all the same, and no core file left behind.
    ::raise(SIGKILL);
    std::_Exit(137);
}

bool systemAllowsWrite(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

HeldScript::~HeldScript()
{
    if (m_handle != nullptr) {
        ::close(descriptor(m_handle)); // also releases the lock
    }
}

bool HeldScript::open(const std::string& path, std::string& error)
{
    m_path = path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open the script " + path + ": " + std::strerror(errno);
        return false;
    }
    m_handle = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd) + 1);
    while (::flock(fd, LOCK_SH) != 0) {
        if (errno != EINTR) {
            error = "cannot lock the script " + path + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

bool HeldScript::readAll(std::string& bytes, std::string& error)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor(m_handle), buffer, sizeof buffer);
        if (count == 0) {
            return true;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = "cannot read the script " + m_path + ": " + std::strerror(errno);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

} // namespace cadhost
