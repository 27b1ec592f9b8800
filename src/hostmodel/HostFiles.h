#pragma once

#include <string>

namespace qv::hostmodel {

// The file services the host model needs. Paths are UTF-8. The disk implementation works through
// std::filesystem; the stand-in host refines it with the system's own access checks, and a check before a
// run can replace it with one that never writes.
class HostFiles
{
public:
    virtual ~HostFiles() = default;

    virtual bool isFile(const std::string& path) const;
    virtual bool exists(const std::string& path) const;
    virtual bool isFolder(const std::string& path) const;
    // Writable for this process. A file without any write bit counts as write protected, also for an
    // administrator, as a read-only file does on Windows.
    virtual bool isWritable(const std::string& path) const;
    virtual bool sameFile(const std::string& a, const std::string& b) const;
    // Up to the first line break of the file, at most 4096 bytes; empty when it cannot be read.
    virtual std::string firstLine(const std::string& path) const;

    // Each returns an empty text, or what went wrong.
    // A save: the stand-in never changes a drawing's bytes, it sets the modification time to now.
    virtual std::string touch(const std::string& path);
    virtual std::string copy(const std::string& from, const std::string& to);
    virtual std::string write(const std::string& path, const std::string& bytes);
};

} // namespace qv::hostmodel
