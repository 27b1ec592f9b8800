#include "WriteAhead.h"

#include "io/FileIo.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace qv {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "QVWAL1\r\n";
constexpr std::size_t kHeaderSize = 40; // magic, offset, length, new size, checksum
constexpr std::uint64_t kNoNewSize = std::numeric_limits<std::uint64_t>::max();
constexpr std::string_view kCopySuffix = ".qvwal";

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037ull)
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

void putUint64(std::string& out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t getUint64(std::string_view in, std::size_t at)
{
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}

// One change as the write-ahead copy holds it.
struct Change
{
    std::uint64_t offset = 0;
    std::string_view bytes;
    std::uint64_t newSize = kNoNewSize;
};

std::string encodeChange(const Change& change)
{
    std::string out(kMagic);
    putUint64(out, change.offset);
    putUint64(out, change.bytes.size());
    putUint64(out, change.newSize);
    const std::uint64_t checksum = fnv1a(change.bytes, fnv1a(out));
    putUint64(out, checksum);
    out.append(change.bytes);
    return out;
}

// The change a copy holds; nothing for a copy that is torn or not ours.
std::optional<Change> decodeChange(std::string_view copy)
{
    if (copy.size() < kHeaderSize || copy.substr(0, kMagic.size()) != kMagic)
        return std::nullopt;
    Change change;
    change.offset = getUint64(copy, 8);
    const std::uint64_t length = getUint64(copy, 16);
    change.newSize = getUint64(copy, 24);
    if (length != copy.size() - kHeaderSize)
        return std::nullopt;
    change.bytes = copy.substr(kHeaderSize);
    if (fnv1a(change.bytes, fnv1a(copy.substr(0, 32))) != getUint64(copy, 32))
        return std::nullopt;
    return change;
}

Error systemError(const std::string& path, int fallback)
{
    const int err = errno;
    return err ? errorFor(std::error_code(err, std::generic_category()), path) : makeError(fallback, path);
}

// The file the name leads to: a symbolic link is followed, so a change and its copy belong to the file
// itself, whichever of its names was used.
fs::path resolved(const std::string& path)
{
    const fs::path p = pathFromUtf8(path);
    std::error_code ec;
    fs::path real = fs::weakly_canonical(p, ec);
    return ec || real.empty() ? p : real;
}

std::string toUtf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string hexOf(std::uint64_t value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    return out;
}

std::string privateCopyPath(const fs::path& file)
{
    const auto folder = fileSystemWrites().privateFolder;
    const std::string privateFolder = folder ? folder() : std::string();
    if (privateFolder.empty())
        return {};
    return toUtf8(pathFromUtf8(privateFolder) / pathFromUtf8(hexOf(fnv1a(toUtf8(file))) + std::string(kCopySuffix)));
}

// Writes the change into the file, resizes it and forces it to the disk.
Status applyChange(const std::string& path, const Change& change)
{
    errno = 0;
    std::FILE* file = openFile(path, "r+b");
    if (!file)
        return systemError(path, ErrPathFileAccess);
    bool written = std::fseek(file, static_cast<long>(change.offset), SEEK_SET) == 0;
    written = written && (change.bytes.empty() ||
                          std::fwrite(change.bytes.data(), 1, change.bytes.size(), file) == change.bytes.size());
    written = std::fflush(file) == 0 && written;
    const Error failure = written ? Error{} : systemError(path, ErrDeviceIo);
    if (std::fclose(file) != 0 && written)
        return systemError(path, ErrDeviceIo);
    if (!written)
        return failure;
    if (change.newSize != kNoNewSize) {
        std::error_code ec;
        fs::resize_file(pathFromUtf8(path), change.newSize, ec);
        if (ec)
            return errorFor(ec, path);
    }
    return syncToDisk(path);
}

// Writes the copy and forces it, and its name, to the disk. A copy that could not be written whole is removed.
Status writeCopy(const std::string& copyPath, const std::string& bytes)
{
    errno = 0;
    std::FILE* file = openFile(copyPath, "wb");
    if (!file)
        return systemError(copyPath, ErrPathFileAccess);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    const Error failure = written ? Error{} : systemError(copyPath, ErrDeviceIo);
    written = std::fclose(file) == 0 && written;
    Status synced = written ? syncToDisk(copyPath) : Status(failure.number ? failure : makeError(ErrDeviceIo, copyPath));
    if (synced) {
        const fs::path folder = pathFromUtf8(copyPath).parent_path();
        synced = syncToDisk(toUtf8(folder));
    }
    if (!synced) {
        std::error_code ignored;
        fs::remove(pathFromUtf8(copyPath), ignored);
    }
    return synced;
}

bool isPermissionError(const Error& error)
{
    return error.number == ErrPermissionDenied;
}

Status finishCopy(const std::string& path, const std::string& copyPath)
{
    const fs::path copy = pathFromUtf8(copyPath);
    std::error_code ec;
    if (copyPath.empty() || !fs::is_regular_file(copy, ec))
        return {};
    const Result<std::string> bytes = [&]() -> Result<std::string> {
        std::string text;
        std::FILE* file = openFile(copyPath, "rb");
        if (!file)
            return systemError(copyPath, ErrPathFileAccess);
        std::array<char, 65536> block{};
        std::size_t count = 0;
        while ((count = std::fread(block.data(), 1, block.size(), file)) > 0)
            text.append(block.data(), count);
        const bool failed = std::ferror(file) != 0;
        std::fclose(file);
        if (failed)
            return makeError(ErrDeviceIo, copyPath);
        return text;
    }();
    if (!bytes)
        return bytes.error();
    // A torn copy was never acted on (the file is written only after its copy is whole): drop it. So is a
    // copy whose file is gone.
    const std::optional<Change> change = decodeChange(bytes.value());
    if (change && fs::exists(pathFromUtf8(path), ec)) {
        if (Status applied = applyChange(path, *change); !applied)
            return applied;
    }
    fs::remove(copy, ec);
    return {};
}

} // namespace

std::string writeAheadPathBeside(const std::string& path)
{
    return toUtf8(resolved(path)) + std::string(kCopySuffix);
}

std::string writeAheadPathPrivate(const std::string& path)
{
    return privateCopyPath(resolved(path));
}

Status finishPendingWrite(const std::string& path)
{
    const fs::path file = resolved(path);
    const std::string target = toUtf8(file);
    if (Status beside = finishCopy(target, target + std::string(kCopySuffix)); !beside)
        return beside;
    return finishCopy(target, privateCopyPath(file));
}

Status writeFileRange(const std::string& path, std::uintmax_t offset, std::string_view bytes,
                      std::optional<std::uintmax_t> newSize)
{
    const fs::path file = resolved(path);
    const std::string target = toUtf8(file);
    if (Status pending = finishPendingWrite(target); !pending)
        return pending;
    std::error_code ec;
    const std::uintmax_t oldSize = fs::file_size(file, ec);
    if (ec)
        return errorFor(ec, path);

    const std::string copy = encodeChange(Change{offset, bytes, newSize ? *newSize : kNoNewSize});
    std::string copyPath = target + std::string(kCopySuffix);
    Status copied = writeCopy(copyPath, copy);
    if (!copied && isPermissionError(copied.error())) {
        // The folder takes no new file: the copy goes to the private folder.
        copyPath = privateCopyPath(file);
        if (copyPath.empty())
            return makeError(ErrPermissionDenied, path);
        fs::create_directories(pathFromUtf8(copyPath).parent_path(), ec);
        copied = writeCopy(copyPath, copy);
    }
    if (!copied)
        return copied;

    if (Status applied = applyChange(target, Change{offset, bytes, newSize ? *newSize : kNoNewSize}); !applied) {
        // An append that failed (a full disk) is undone, so no partial record stays; any other failure leaves
        // the copy for the next access to finish.
        if (offset >= oldSize && !newSize) {
            std::error_code ignored;
            fs::resize_file(file, oldSize, ignored);
            fs::remove(pathFromUtf8(copyPath), ignored);
        }
        return applied;
    }
    fs::remove(pathFromUtf8(copyPath), ec);
    return {};
}

Status rewriteFileInPlace(const std::string& path, std::string_view bytes)
{
    return writeFileRange(path, 0, bytes, bytes.size());
}

} // namespace qv
