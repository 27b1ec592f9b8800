#pragma once

#include "Message.h"
#include "Result.h"
#include "routines/Routine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class SettingsFile;

// Routine names for the error messages of the database operations ("Error Number N in routine
// getAllRecords " ...); the user interface formats them with errorMessage.
inline constexpr const char* kRoutineGetAllRecords = "getAllRecords";
inline constexpr const char* kRoutineAddToDatabase = "Add_to_Database";
inline constexpr const char* kRoutineGetFileLast = "GetFileLast";
inline constexpr const char* kRoutineUpdateDatabase = "Update_Database";

// Shown in the locate-database dialog when readAll cannot open the file at all.
inline constexpr const char* kLocateDatabaseText = "The location or name of the database file is recorded "
                                                   "incorrectly. Please browse to the correct location of the "
                                                   "database file.";

// Reported when the file's length is not a whole number of records; the bytes after the last whole
// record are kept and nothing is written to the file until it is repaired.
inline constexpr int ErrBadRecordLength = 59;
// Reported for a write to a record number outside the file, or when the file is full.
inline constexpr int ErrBadRecordNumber = 63;

// What readAll read.
struct RoutineRecords
{
    // One routine per record with a non-blank description, in file order.
    std::vector<Routine> routines;
    // Bytes after the last record that could be read (an incomplete last record); 0 normally.
    std::uintmax_t ignoredBytes = 0;
    // Set when ignoredBytes is not 0: what to tell the user.
    std::optional<UserMessage> notice;
};

// The routine database file: fixed 5236-byte records (see RoutineRecord.h). Every operation looks
// the path up again, opens the file, does its work and closes it; nothing is cached. Operations
// report failures as Errors and never show anything themselves.
class RoutineDatabase
{
public:
    // The path comes from the "dbAddress" setting, else "Batch_Cad.dat" in defaultFolder (the program
    // folder, or the per-user folder on installs whose program folder is read-only). The settings
    // access must outlive this object.
    RoutineDatabase(const SettingsFile& ini, std::string defaultFolder);

    // Works on one file whatever the settings say (build tools, tests).
    static RoutineDatabase forFile(std::string path);

    // Full path of the database file. Never fails.
    std::string filePath();
    // The path the last operation used.
    const std::string& lastPath() const { return m_lastPath; }

    // Every live routine. A file that cannot be opened because its folder is missing or the path is a
    // folder gives ErrBadFileNameOrNumber (see needsLocateDatabase). A missing file in an existing
    // folder is created empty. The file is only read.
    Result<RoutineRecords> readAll();

    // Record number for a new routine: the first record with InUse 0, else one past the end.
    Result<std::int16_t> nextFreeRecord();

    // Writes the routine at nextFreeRecord's record number and returns that number.
    Result<std::int16_t> add(const Routine& routine);

    // Overwrites record recordNumber (which must exist) with the routine.
    Status update(const Routine& routine, std::int16_t recordNumber);

private:
    RoutineDatabase() = default;

    const SettingsFile* m_ini = nullptr;
    std::string m_defaultFolder;
    std::string m_fixedPath;
    std::string m_lastPath;
};

// Puts a copy of the shipped database at target when target holds no file yet; a user's own database is
// never replaced. The copy is written whole under a temporary name and renamed into place, so a kill leaves
// either no file (the next start copies again) or the whole copy. No shipped file is no copy and no error.
Status installDefaultDatabase(const std::string& shippedPath, const std::string& targetPath);

// True when a readAll failure means the recorded path is wrong: the user interface shows the
// locate-database dialog with kLocateDatabaseText instead of an error message.
bool needsLocateDatabase(const Error& error);

} // namespace qv
