#include "FileIo.h"

#include "io/WriteAhead.h"
#include "text/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#ifdef _WIN32
#include <cwchar> // _wfopen
#endif

namespace qv {
namespace fs = std::filesystem;

namespace {

FileSystemWrites& installedWrites()
{
    static FileSystemWrites writes;
    return writes;
}

} // namespace

void installFileSystemWrites(const FileSystemWrites& writes)
{
    installedWrites() = writes;
}

const FileSystemWrites& fileSystemWrites()
{
    return installedWrites();
}

Status syncToDisk(const std::string& path)
{
    const auto sync = installedWrites().syncToDisk;
    return sync ? sync(path) : Status{};
}

std::string temporaryNameFor(std::string_view name, unsigned number)
{
    std::string digits = std::to_string(number % 1000000);
    digits.insert(0, 6 - digits.size(), '0');
    return std::string(name) + ".tmp" + digits;
}

bool isTemporaryNameFor(std::string_view entry, std::string_view name)
{
    constexpr std::string_view kMark = ".tmp";
    if (entry.size() <= name.size() + kMark.size() || entry.substr(0, name.size()) != name ||
        entry.substr(name.size(), kMark.size()) != kMark)
        return false;
    const std::string_view digits = entry.substr(name.size() + kMark.size());
    return digits.size() <= 6 &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int errorNumberFor(const std::error_code& code)
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

Error errorFor(const std::error_code& code, const std::string& path)
{
    return makeError(errorNumberFor(code), path);
}

fs::path pathFromUtf8(const std::string& path)
{
    try {
        return fs::path(std::u8string(path.begin(), path.end()));
    } catch (const std::exception&) { // not UTF-8 (Windows converts the name to UTF-16)
        return {};
    }
}

std::FILE* openFile(const std::string& path, const char* mode)
{
#ifdef _WIN32
    const fs::path native = pathFromUtf8(path);
    if (native.empty()) {
        errno = EINVAL;
        return nullptr;
    }
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(native.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(pathFromUtf8(path), ec);
}

bool isDirectory(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(pathFromUtf8(path), ec);
}

Status readFileInBlocks(const std::string& path, std::size_t blockSize,
                        const std::function<void(std::string_view block)>& block)
{
    const fs::path p = pathFromUtf8(path);
    // A change that a killed save left half done is completed before anyone reads the file.
    if (Status pending = finishPendingWrite(path); !pending)
        return pending;
    std::error_code ec;
    const auto status = fs::status(p, ec);
    if (ec || !fs::exists(status))
        return makeError(ErrFileNotFound, path);
    if (fs::is_directory(status))
        return makeError(ErrPathFileAccess, path);
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        const int err = errno;
        return errorFor(std::error_code(err ? err : EACCES, std::generic_category()), path);
    }
    // A small file (a settings file, most lists) needs no full block; one byte over its size sees its end.
    std::size_t size = blockSize;
    if (fs::is_regular_file(status)) {
        const std::uintmax_t length = fs::file_size(p, ec);
        if (!ec && length < blockSize)
            size = static_cast<std::size_t>(length) + 1;
    }
    const auto buffer = std::make_unique_for_overwrite<char[]>(size);
    while (in) {
        in.read(buffer.get(), static_cast<std::streamsize>(size));
        const auto count = static_cast<std::size_t>(in.gcount());
        if (count > 0)
            block(std::string_view(buffer.get(), count));
    }
    if (in.bad())
        return makeError(ErrDeviceIo, path);
    return {};
}

Result<std::string> readFileBytes(const std::string& path)
{
    std::string bytes;
    const Status read =
        readFileInBlocks(path, std::size_t(1) << 20, [&bytes](std::string_view block) { bytes.append(block); });
    if (!read.ok())
        return read.error();
    return bytes;
}

namespace {

// Closes the file and reports the first failure of the writes before it, the flush or the close.
int finishWrite(std::FILE* file, bool written)
{
    int err = written ? 0 : (errno ? errno : EIO);
    if (std::fflush(file) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (std::fclose(file) != 0 && err == 0)
        err = errno ? errno : EIO;
    return err;
}

Status rewriteInPlace(const std::string& path, std::string_view bytes)
{
    const fs::path target = pathFromUtf8(path);
    std::error_code ec;
    const std::uintmax_t oldSize = fs::file_size(target, ec);
    if (ec)
        return errorFor(ec, path);
    if (bytes.size() > oldSize) {
        fs::resize_file(target, bytes.size(), ec);
        if (ec) {
            std::error_code ignored;
            fs::resize_file(target, oldSize, ignored);
            return errorFor(ec, path);
        }
    }
    errno = 0;
    std::FILE* file = openFile(path, "r+b");
    if (!file)
        return errorFor(std::error_code(errno ? errno : EACCES, std::generic_category()), path);
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (const int err = finishWrite(file, written))
        return errorFor(std::error_code(err, std::generic_category()), path);
    if (bytes.size() < oldSize) {
        fs::resize_file(target, bytes.size(), ec);
        if (ec)
            return errorFor(ec, path);
    }
    return {};
}

} // namespace

Status writeFileAtomically(const std::string& path, std::string_view bytes)
{
    if (const auto replace = installedWrites().replaceFile)
        return replace(path, bytes);
    // The standard library's form: see FileSystemWrites.
    const fs::path target = pathFromUtf8(path);
    if (target.empty())
        return makeError(ErrBadFileNameOrNumber, path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return makeError(ErrPathNotFound, path);
    if (fs::is_directory(target, ec))
        return makeError(ErrPathFileAccess, path);

    std::random_device rd;
    const std::string tempName = temporaryNameFor(path, rd());
    const fs::path temp = pathFromUtf8(tempName);
    errno = 0;
    std::FILE* file = openFile(tempName, "wb");
    if (!file) {
        const int err = errno;
        return errorFor(std::error_code(err, std::generic_category()), path);
    }
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (const int err = finishWrite(file, written)) {
        fs::remove(temp, ec);
        return errorFor(std::error_code(err, std::generic_category()), path);
    }
    // Keep the permissions of the file being replaced.
    const auto oldStatus = fs::status(target, ec);
    const bool replacing = !ec && fs::exists(oldStatus);
    if (replacing) {
        if ((oldStatus.permissions() & fs::perms::owner_write) == fs::perms::none) {
            fs::remove(temp, ec);
            return makeError(ErrPermissionDenied, path);
        }
        fs::permissions(temp, oldStatus.permissions(), ec);
    }
    fs::rename(temp, target, ec);
    if (!ec)
        return {};
    std::error_code ignored;
    fs::remove(temp, ignored);
    if (replacing && fs::is_regular_file(oldStatus))
        return rewriteInPlace(path, bytes);
    return errorFor(ec, path);
}

} // namespace qv
