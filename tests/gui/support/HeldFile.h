#pragma once

#include <QString>

namespace qv::test {

// A file held open as a running CAD host holds its script: on Windows opened without sharing it for
// writing, elsewhere with a shared flock(2). Quorvel's lock probe must find it taken until release().
class HeldFile
{
public:
    explicit HeldFile(const QString& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool isHeld() const { return m_handle != nullptr; }
    void release();

private:
    void* m_handle = nullptr; // a Windows HANDLE, or a POSIX descriptor + 1
};

} // namespace qv::test
