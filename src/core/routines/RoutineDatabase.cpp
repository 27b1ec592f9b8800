#include "RoutineDatabase.h"

#include "config/DataFiles.h"
#include "config/Settings.h"
#include "io/FileIo.h"
#include "io/WriteAhead.h"
#include "routines/RoutineRecord.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>

namespace qv {
namespace fs = std::filesystem;
using record::kRecordLength;

namespace {

// Where the database path stands before the file is opened.
enum class PathState
{
    File,
    NoFile,
    NoFolder,
    Folder
};

Result<PathState> inspect(const std::string& path)
{
    const fs::path p = fs::u8path(path);
    std::error_code ec;
    const auto status = fs::status(p, ec);
    if (fs::is_directory(status))
        return PathState::Folder;
    if (fs::exists(status))
        return PathState::File;
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
        return errorFor(ec, path);
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    return fs::is_directory(folder, ec) ? PathState::NoFile : PathState::NoFolder;
}

Error lastSystemError(const std::string& path, int fallback)
{
    const int err = errno;
    return err ? errorFor(std::error_code(err, std::generic_category()), path) : makeError(fallback, path);
}

// Opening a file that does not exist creates it empty, as the database has always done.
Status createEmpty(const std::string& path)
{
    errno = 0;
    std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::app);
    if (!out)
        return lastSystemError(path, ErrPathFileAccess);
    return {};
}

// Records that can be read, and the bytes after them: the bytes of an incomplete last record, and
// anything beyond the last record number a 16-bit number can reach.
struct FileShape
{
    std::uintmax_t records = 0;
    std::uintmax_t ignoredBytes = 0;
};

FileShape shapeOf(std::uintmax_t size)
{
    FileShape shape;
    shape.records = std::min<std::uintmax_t>(size / kRecordLength, record::kMaxRecords);
    shape.ignoredBytes = size - shape.records * kRecordLength;
    return shape;
}

Error damagedFileError(const std::string& path, std::uintmax_t ignoredBytes)
{
    return Error{ErrBadRecordLength, "The routine database file " + path + " ends with " +
                                         std::to_string(ignoredBytes) +
                                         " bytes that cannot be read as routine records. To keep them safe no "
                                         "routine can be added, changed or deleted until the file is repaired or "
                                         "restored from a backup."};
}

UserMessage damagedFileNotice(const std::string& path, std::uintmax_t ignoredBytes)
{
    return UserMessage{"The routine database file " + path + " ends with " + std::to_string(ignoredBytes) +
                           " bytes that cannot be read as routine records." + std::string(kCrLf) + std::string(kCrLf) +
                           "The routines before them have been read and the file has not been changed. Routines "
                           "cannot be added, changed or deleted until the file is repaired or restored from a backup.",
                       "Quorvel Warning", MessageIcon::Exclamation, MessageButtons::Ok};
}

// The file of an operation: a path that is a folder or whose folder is missing gives the caller's
// error numbers; a missing file is created empty, as opening it does. True when the file was there.
Result<bool> existingOrCreated(const std::string& path, int folderError, int missingFolderError)
{
    const auto state = inspect(path);
    if (!state)
        return state.error();
    switch (state.value()) {
    case PathState::Folder:
        return makeError(folderError, path);
    case PathState::NoFolder:
        return makeError(missingFolderError, path);
    case PathState::NoFile:
        if (auto created = createEmpty(path); !created)
            return created.error();
        return false;
    case PathState::File:
        break;
    }
    return true;
}

// The checks every write makes before it opens the file, and that the file is not read-only.
Status prepareWrite(const std::string& path)
{
    const auto existing = existingOrCreated(path, ErrPathFileAccess, ErrPathNotFound);
    if (!existing)
        return existing.error();
    if (!existing.value())
        return {};
    std::error_code ec;
    const auto status = fs::status(fs::u8path(path), ec);
    if (ec)
        return errorFor(ec, path);
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return makeError(ErrPermissionDenied, path);
    return {};
}

// Writes one encoded record at recordNumber through a write-ahead copy (WriteAhead.h), so a kill at any
// instant leaves the old record or, once the file is next opened, the new one. The file must be a whole
// number of records; the record must exist, or be the one just past the end when appending.
Status writeRecord(const std::string& path, std::int16_t recordNumber, const std::string& bytes, bool mayAppend)
{
    if (auto finished = finishPendingWrite(path); !finished)
        return finished;
    if (auto prepared = prepareWrite(path); !prepared)
        return prepared;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(fs::u8path(path), ec);
    if (ec)
        return errorFor(ec, path);
    if (size % kRecordLength != 0 || size / kRecordLength > static_cast<std::uintmax_t>(record::kMaxRecords))
        return damagedFileError(path, shapeOf(size).ignoredBytes);
    const std::uintmax_t records = size / kRecordLength;
    const std::uintmax_t last = mayAppend ? records + 1 : records;
    if (recordNumber < 1 || static_cast<std::uintmax_t>(recordNumber) > last) {
        return Error{ErrBadRecordNumber, "Record " + std::to_string(recordNumber) +
                                             " does not exist in the routine database file " + path + "."};
    }
    const std::uintmax_t offset = static_cast<std::uintmax_t>(recordNumber - 1) * kRecordLength;
    return writeFileRange(path, offset, bytes);
}

// The database opened for reading at its first record, with its record count.
struct OpenedDatabase
{
    std::ifstream in;
    FileShape shape;
};

Result<OpenedDatabase> openForReading(const std::string& path)
{
    errno = 0;
    OpenedDatabase opened{std::ifstream(fs::u8path(path), std::ios::binary), {}};
    if (!opened.in)
        return lastSystemError(path, ErrPathFileAccess);
    opened.in.seekg(0, std::ios::end);
    const auto end = opened.in.tellg();
    if (end < 0)
        return makeError(ErrDeviceIo, path);
    opened.in.seekg(0, std::ios::beg);
    opened.shape = shapeOf(static_cast<std::uintmax_t>(end));
    return opened;
}

} // namespace

RoutineDatabase::RoutineDatabase(const SettingsFile& ini, std::string defaultFolder)
    : m_ini(&ini), m_defaultFolder(std::move(defaultFolder))
{}

RoutineDatabase RoutineDatabase::forFile(std::string path)
{
    RoutineDatabase access;
    access.m_fixedPath = std::move(path);
    return access;
}

std::string RoutineDatabase::filePath()
{
    if (m_ini) {
        const std::string value = readDatabasePath(*m_ini);
        m_lastPath = value == kUnknown || value.empty() ? joinPath(m_defaultFolder, kDatabaseFileName) : value;
    } else {
        m_lastPath = m_fixedPath;
    }
    return m_lastPath;
}

Result<RoutineRecords> RoutineDatabase::readAll()
{
    const std::string path = filePath();
    // A record write that a kill interrupted is completed before anything is read.
    if (auto finished = finishPendingWrite(path); !finished)
        return finished.error();
    // A folder, or a missing folder, is what a failed open reports as a bad file name.
    const auto existing = existingOrCreated(path, ErrBadFileNameOrNumber, ErrBadFileNameOrNumber);
    if (!existing)
        return existing.error();
    if (!existing.value())
        return RoutineRecords{};

    // Only read access is needed, so a read-only database still lists its routines.
    auto opened = openForReading(path);
    if (!opened)
        return opened.error();
    std::ifstream& in = opened.value().in;
    const FileShape shape = opened.value().shape;

    RoutineRecords result;
    result.routines.reserve(static_cast<std::size_t>(shape.records));
    // Read in blocks of many records: one read per record costs a system call each, and a block that fits
    // the processor's cache is still there when its records are decoded.
    constexpr std::uintmax_t kRecordsPerBlock = 64;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kRecordsPerBlock * kRecordLength);
    for (std::uintmax_t first = 1; first <= shape.records; first += kRecordsPerBlock) {
        const std::uintmax_t count = std::min(kRecordsPerBlock, shape.records - first + 1);
        if (!in.read(buffer.get(), static_cast<std::streamsize>(count * kRecordLength)))
            return makeError(ErrInputPastEnd, path);
        for (std::uintmax_t i = 0; i < count; ++i) {
            const std::string_view bytes(buffer.get() + i * kRecordLength, kRecordLength);
            Routine routine = decodeRoutineRecord(bytes, static_cast<std::int16_t>(first + i));
            // Deleted records have a blank description; they still count so numbers stay positions.
            if (!trimSpaces(routine.description()).empty())
                result.routines.push_back(std::move(routine));
        }
    }
    if (shape.ignoredBytes != 0) {
        result.ignoredBytes = shape.ignoredBytes;
        result.notice = damagedFileNotice(path, shape.ignoredBytes);
    }
    return result;
}

Result<std::int16_t> RoutineDatabase::nextFreeRecord()
{
    const std::string path = filePath();
    if (auto finished = finishPendingWrite(path); !finished)
        return finished.error();
    const auto existing = existingOrCreated(path, ErrPathFileAccess, ErrPathNotFound);
    if (!existing)
        return existing.error();
    if (!existing.value())
        return std::int16_t{1};

    auto opened = openForReading(path);
    if (!opened)
        return opened.error();
    std::ifstream& in = opened.value().in;
    const FileShape shape = opened.value().shape;
    // There is no safe place for a new record in a damaged file: see damagedFileError.
    if (shape.ignoredBytes != 0)
        return damagedFileError(path, shape.ignoredBytes);

    char inUse[2];
    for (std::uintmax_t n = 1; n <= shape.records; ++n) {
        in.seekg(static_cast<std::streamoff>((n - 1) * kRecordLength + record::kInUseOffset));
        if (!in.read(inUse, 2))
            return makeError(ErrInputPastEnd, path);
        if (readInt16Le(std::string_view(inUse, 2), 0) == 0)
            return static_cast<std::int16_t>(n);
    }
    if (shape.records >= static_cast<std::uintmax_t>(record::kMaxRecords)) {
        return Error{ErrBadRecordNumber, "The routine database file " + path + " is full: it holds " +
                                             std::to_string(record::kMaxRecords) + " routines."};
    }
    return static_cast<std::int16_t>(shape.records + 1);
}

Result<std::int16_t> RoutineDatabase::add(const Routine& routine)
{
    // Text that cannot be stored whole is refused before the file is touched.
    auto bytes = encodeRoutineRecord(routine);
    if (!bytes)
        return bytes.error();
    const auto recordNumber = nextFreeRecord();
    if (!recordNumber)
        return recordNumber.error();
    if (auto written = writeRecord(m_lastPath, recordNumber.value(), bytes.value(), true); !written)
        return written.error();
    return recordNumber.value();
}

Status RoutineDatabase::update(const Routine& routine, std::int16_t recordNumber)
{
    auto bytes = encodeRoutineRecord(routine);
    if (!bytes)
        return bytes.error();
    return writeRecord(filePath(), recordNumber, bytes.value(), false);
}

Status installDefaultDatabase(const std::string& shippedPath, const std::string& targetPath)
{
    std::error_code ec;
    if (fs::exists(fs::u8path(targetPath), ec) || !fs::is_regular_file(fs::u8path(shippedPath), ec))
        return {};
    const Result<std::string> shipped = readFileBytes(shippedPath);
    if (!shipped)
        return shipped.error();
    return writeFileAtomically(targetPath, shipped.value());
}

bool needsLocateDatabase(const Error& error)
{
    return error.number == ErrBadFileNameOrNumber;
}

} // namespace qv
