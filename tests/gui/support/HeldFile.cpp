#include "HeldFile.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace qv::test {

HeldFile::HeldFile(const QString& path)
{
#ifdef _WIN32
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        m_handle = handle;
#else
    const int descriptor = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    if (descriptor < 0)
        return;
    if (::flock(descriptor, LOCK_SH) != 0) {
        ::close(descriptor);
        return;
    }
    m_handle = reinterpret_cast<void*>(std::intptr_t(descriptor) + 1);
#endif
}

HeldFile::~HeldFile()
{
    release();
}

void HeldFile::release()
{
    if (!m_handle)
        return;
#ifdef _WIN32
    ::CloseHandle(m_handle);
#else
    ::close(int(reinterpret_cast<std::intptr_t>(m_handle) - 1));
#endif
    m_handle = nullptr;
}

} // namespace qv::test
