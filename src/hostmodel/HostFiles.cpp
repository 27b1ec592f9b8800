#include "HostFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace qv::hostmodel {

namespace fs = std::filesystem;

namespace {

fs::path toPath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

bool HostFiles::isFile(const std::string& path) const
{
    std::error_code error;
    return fs::is_regular_file(toPath(path), error);
}

bool HostFiles::exists(const std::string& path) const
{
    std::error_code error;
    return fs::exists(toPath(path), error);
}

bool HostFiles::isFolder(const std::string& path) const
{
    std::error_code error;
    return fs::is_directory(toPath(path), error);
}

bool HostFiles::isWritable(const std::string& path) const
{
    std::error_code error;
    const fs::file_status status = fs::status(toPath(path), error);
    if (error || !fs::exists(status)) {
        return false;
    }
    const fs::perms writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & writeBits) != fs::perms::none;
}

bool HostFiles::sameFile(const std::string& a, const std::string& b) const
{
    std::error_code error;
    return fs::equivalent(toPath(a), toPath(b), error) && !error;
}

std::string HostFiles::firstLine(const std::string& path) const
{
    std::ifstream in(toPath(path), std::ios::binary);
    std::string line;
    char ch = 0;
    while (line.size() < 4096 && in.get(ch) && ch != '\r' && ch != '\n') {
        line += ch;
    }
    return line;
}

std::string HostFiles::touch(const std::string& path)
{
    std::error_code error;
    fs::last_write_time(toPath(path), fs::file_time_type::clock::now(), error);
    return error ? error.message() : std::string();
}

std::string HostFiles::copy(const std::string& from, const std::string& to)
{
    // Read, then write: fs::copy_file with overwrite_existing refuses every existing target when built with
    // MinGW-w64 (its runtime cannot tell two files apart there).
    std::ifstream in(toPath(from), std::ios::binary);
    if (!in) {
        return "cannot read " + from;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return "cannot read " + from;
    }
    in.close();
    return write(to, bytes);
}

std::string HostFiles::write(const std::string& path, const std::string& bytes)
{
    std::ofstream out(toPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? std::string() : std::string("cannot write the file");
}

} // namespace qv::hostmodel
