#include "FileIo.h"

#include "text/Paths.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace qv {
namespace fs = std::filesystem;

int ErrorNumberFor(const std::error_code& code)
{
    if (code == std::errc::no_such_file_or_directory)
        return ErrFileNotFound;
    if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted ||
        code == std::errc::read_only_file_system)
        return ErrPermissionDenied;
    if (code == std::errc::no_space_on_device || code == std::errc::file_too_large)
        return ErrDiskFull;
    if (code == std::errc::not_a_directory)
        return ErrPathNotFound;
    if (code == std::errc::io_error)
        return ErrDeviceIo;
    if (code == std::errc::not_enough_memory)
        return ErrOutOfMemory;
    return ErrPathFileAccess;
}

Error ErrorFor(const std::error_code& code, const std::string& path)
{
    return MakeError(ErrorNumberFor(code), path);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::u8path(path), ec);
}

bool IsDirectory(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(fs::u8path(path), ec);
}

Status ReadFileInBlocks(const std::string& path, std::size_t blockSize,
                        const std::function<void(std::string_view block)>& block)
{
    const fs::path p = fs::u8path(path);
    std::error_code ec;
    const auto status = fs::status(p, ec);
    if (ec || !fs::exists(status))
        return MakeError(ErrFileNotFound, path);
    if (fs::is_directory(status))
        return MakeError(ErrPathFileAccess, path);
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        const int err = errno;
        return ErrorFor(std::error_code(err ? err : EACCES, std::generic_category()), path);
    }
    std::string buffer(blockSize, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto count = static_cast<std::size_t>(in.gcount());
        if (count > 0)
            block(std::string_view(buffer.data(), count));
    }
    if (in.bad())
        return MakeError(ErrDeviceIo, path);
    return {};
}

Result<std::string> ReadFileBytes(const std::string& path)
{
    std::string bytes;
    const Status read = ReadFileInBlocks(path, std::size_t(1) << 20, [&bytes](std::string_view block) {
        bytes.append(block);
    });
    if (!read.ok())
        return read.error();
    return bytes;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const fs::path target = fs::u8path(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return MakeError(ErrPathNotFound, path);
    if (fs::is_directory(target, ec))
        return MakeError(ErrPathFileAccess, path);

    std::random_device rd;
    const fs::path temp = folder / (target.filename().string() + ".tmp" + std::to_string(rd() % 1000000));
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) {
        const int err = errno;
        return ErrorFor(std::error_code(err, std::generic_category()), path);
    }
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int err = written ? 0 : errno;
    if (std::fflush(file) != 0 && written) {
        written = false;
        err = errno;
    }
    if (std::fclose(file) != 0 && written) {
        written = false;
        err = errno;
    }
    if (!written) {
        fs::remove(temp, ec);
        return ErrorFor(std::error_code(err ? err : EIO, std::generic_category()), path);
    }
    // Keep the permissions of the file being replaced.
    const auto oldStatus = fs::status(target, ec);
    if (!ec && fs::exists(oldStatus)) {
        if ((oldStatus.permissions() & fs::perms::owner_write) == fs::perms::none) {
            fs::remove(temp, ec);
            return MakeError(ErrPermissionDenied, path);
        }
        fs::permissions(temp, oldStatus.permissions(), ec);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return ErrorFor(ec, path);
    }
    return {};
}

} // namespace qv
