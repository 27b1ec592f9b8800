#include "routines/RoutineDatabase.h"

#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineRecord.h"
#include "support/TempDir.h"
#include "text/CodePage.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

// A record built by hand from the documented offsets, independent of the writer's constants.
std::string handRecord(const std::string& description, const std::string& text, const std::string& favourite,
                       int written, int deleted, int inUse)
{
    std::string r(5236, ' ');
    r.replace(0, description.size(), description);
    r.replace(150, text.size(), text);
    r.replace(5150, favourite.size(), favourite);
    r.replace(5200, 5, "Avail");
    for (const auto& [at, value] : {std::pair{5230, written}, std::pair{5232, deleted}, std::pair{5234, inUse}}) {
        r[at] = static_cast<char>(value & 0xFF);
        r[at + 1] = static_cast<char>((value >> 8) & 0xFF);
    }
    return r;
}

Routine routine(const std::string& description, const std::string& text, bool nonFavourite = false)
{
    return makeRoutineForAdd(description, text, nonFavourite);
}

TEST(RoutineDatabase, WritesRecordsByteForByte)
{
    Routine flags = routine("Flags", "x");
    flags.setRecordWritten(-2);
    flags.setDeleted(0x7F01);
    flags.setInUse(0x0102);
    const std::tuple<const char*, Routine, std::string> cases[] = {
        {"non favourite, description trimmed, text's trailing spaces kept",
         routine("  Zoom ", "_Zoom\r\n_E  \r\n", true), handRecord("Zoom", "_Zoom\r\n_E  \r\n.....", "Non", 1, 0, 1)},
        {"deleted", makeDeletedRoutine(true), handRecord("", "", "Non", 1, 1, 0)},
        {"longer description cut at 150", routine(std::string(149, 'd') + "XYZ", "t"),
         handRecord(std::string(149, 'd') + "X", "t.....", "Fav", 1, 0, 1)},
        {"Windows-1252", routine("Caf\xC3\xA9 \xE2\x82\xAC", "_Text\r\n\xC3\xB1"),
         handRecord("Caf\xE9 \x80", "_Text\r\n\xF1.....", "Fav", 1, 0, 1)},
        {"little-endian flags", flags, handRecord("Flags", "x.....", "Fav", 0xFFFE, 0x7F01, 0x0102)},
    };
    for (const auto& [name, routine, expected] : cases) {
        TempDir dir;
        auto db = RoutineDatabase::forFile(dir.file("Batch_Cad.dat"));
        const auto added = db.add(routine);
        ASSERT_TRUE(added.ok()) << name << ": " << added.error().description;
        EXPECT_EQ(added.value(), 1) << name;
        EXPECT_EQ(dir.read("Batch_Cad.dat"), expected) << name;

        // Reading gives back every field (the description cut at 150 characters).
        const auto fields = [](const Routine& r) {
            return std::tuple(trimSpaces(r.description()).substr(0, 150), stripEndMarker(r.scriptText()),
                              trimSpaces(r.favourite()), r.recordWritten(), r.deleted(), r.inUse());
        };
        EXPECT_EQ(fields(decodeRoutineRecord(expected, 1)), fields(routine)) << name;
        // The text decoded on first use is the whole field, padding included, as an eager decode gives it.
        EXPECT_EQ(decodeRoutineRecord(expected, 1).scriptText(),
                  cp1252ToUtf8(std::string_view(expected).substr(record::kScriptTextOffset, record::kScriptTextWidth)))
            << name;
    }
}

using Rows = std::vector<std::pair<std::string, int>>;

// (trimmed description, record number) of every listed routine.
Rows listed(RoutineDatabase& db)
{
    Rows out;
    const RoutineRecords all = db.readAll().value();
    for (const Routine& r : all.routines)
        out.emplace_back(trimSpaces(r.description()), r.recordNumber());
    return out;
}

TEST(RoutineDatabase, DeletedRecordsAreReusedAndNumbersStayPositions)
{
    TempDir dir;
    auto db = RoutineDatabase::forFile(dir.file("db.dat"));
    EXPECT_EQ(listed(db), Rows{}); // a missing file is created empty
    EXPECT_EQ(fs::file_size(dir.native("db.dat")), 0u);
    for (const char* name : {"A", "B", "C"})
        ASSERT_TRUE(db.add(routine(name, name)).ok());
    ASSERT_EQ(db.nextFreeRecord().value(), 4);

    ASSERT_TRUE(db.update(makeDeletedRoutine(false), 2).ok());
    EXPECT_EQ(listed(db), (Rows{{"A", 1}, {"C", 3}}));
    EXPECT_EQ(db.add(routine("D", "d")).value(), 2);
    EXPECT_EQ(listed(db), (Rows{{"A", 1}, {"D", 2}, {"C", 3}}));
    EXPECT_EQ(db.add(routine("E", "e")).value(), 4);
    EXPECT_EQ(fs::file_size(dir.native("db.dat")), 4u * 5236u);

    // A record in use with a blank description is neither listed nor free.
    dir.write("blank.dat", handRecord("", "ghost.....", "Fav", 1, 0, 1) + handRecord("Real", "r.....", "Fav", 1, 0, 1));
    auto blank = RoutineDatabase::forFile(dir.file("blank.dat"));
    EXPECT_EQ(listed(blank), (Rows{{"Real", 2}}));
    EXPECT_EQ(blank.nextFreeRecord().value(), 3);
}

TEST(RoutineDatabase, PathComesFromTheSettingEachTime)
{
    TempDir settings;
    const SettingsFile ini(settings.path());
    RoutineDatabase db(ini, "/program");
    const std::string fallback = joinPath("/program", "Batch_Cad.dat");
    EXPECT_EQ(db.filePath(), fallback); // key missing
    for (const char* value : {"Unknown", ""}) {
        ASSERT_TRUE(ini.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, value).ok());
        EXPECT_EQ(db.filePath(), fallback) << value;
    }
    // Any other value is the full path as it stands, and the next operation uses it.
    const std::string chosen = settings.file("My Routines.bin");
    ASSERT_TRUE(ini.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, chosen).ok());
    ASSERT_TRUE(db.add(routine("A", "a")).ok());
    EXPECT_EQ(db.lastPath(), chosen);
    EXPECT_EQ(fs::file_size(TempDir::toPath(chosen)), 5236u);
}

TEST(RoutineDatabase, PartialLastRecordIsReadReportedAndNeverWritten)
{
    TempDir dir;
    const std::string original =
        handRecord("A", "a.....", "Fav", 1, 0, 1) + handRecord("", "", "Non", 1, 1, 0) + std::string(100, 'z');
    dir.write("db.dat", original);
    auto db = RoutineDatabase::forFile(dir.file("db.dat"));

    EXPECT_EQ(listed(db), (Rows{{"A", 1}}));
    const RoutineRecords all = db.readAll().value();
    EXPECT_EQ(all.ignoredBytes, 100u);
    EXPECT_NE(all.notice.value().text.find("100 bytes"), std::string::npos);

    // Even the free record 2 is not written: the file is damaged and its tail is kept for repair.
    EXPECT_EQ(db.nextFreeRecord().error().number, ErrBadRecordLength);
    EXPECT_EQ(db.add(routine("B", "b")).error().number, ErrBadRecordLength);
    EXPECT_EQ(db.update(routine("A2", "a"), 1).error().number, ErrBadRecordLength);
    EXPECT_EQ(dir.read("db.dat"), original);
}

template <typename R> Error errorOf(const R& result)
{
    return result ? Error{} : result.error();
}

TEST(RoutineDatabase, RefusalsChangeNoByte)
{
    // The routine named in the messages, and the operation.
    using Op = std::pair<const char*, std::function<Error(RoutineDatabase&, const Routine&, std::int16_t)>>;
    const Op read{kRoutineGetAllRecords, [](auto& db, auto&, auto) { return errorOf(db.readAll()); }};
    const Op add{kRoutineAddToDatabase, [](auto& db, auto& r, auto) { return errorOf(db.add(r)); }};
    const Op update{kRoutineUpdateDatabase, [](auto& db, auto& r, auto n) { return errorOf(db.update(r, n)); }};
    struct Case
    {
        const char* name;
        std::string file; // relative to the temp folder
        std::function<void(const TempDir&)> setup;
        Op op;
        Routine routine;
        int expected;            // 0: succeeds
        std::int16_t record = 1; // for Update
    };
    const std::string record = handRecord("A", "a.....", "Fav", 1, 0, 1);
    const auto plainFile = [&record](const TempDir& d) { d.write("db.dat", record); };
    const auto folder = [](const TempDir& d) { fs::create_directory(d.native("db.dat")); };
    const auto readOnly = [&record](const TempDir& d) {
        d.write("db.dat", record);
        fs::permissions(d.native("db.dat"), fs::perms::owner_read | fs::perms::group_read);
    };
    const auto nothing = [](const TempDir&) {};
    const Routine ok = routine("B", "b");
    const Routine tooLong = routine("L", std::string(4996, 'x'));
    Routine noMarker = routine("N", "");
    noMarker.setScriptText("_Regen");
    const std::string missing = "no-such-folder/db.dat";
    const Case cases[] = {
        {"folder: read", "db.dat", folder, read, ok, ErrBadFileNameOrNumber},
        {"folder: add", "db.dat", folder, add, ok, ErrPathFileAccess},
        {"folder: update", "db.dat", folder, update, ok, ErrPathFileAccess},
        {"missing folder: read", missing, nothing, read, ok, ErrBadFileNameOrNumber},
        {"missing folder: add", missing, nothing, add, ok, ErrPathNotFound},
        {"missing folder: update", missing, nothing, update, ok, ErrPathNotFound},
        {"read-only: read", "db.dat", readOnly, read, ok, 0},
        {"read-only: add", "db.dat", readOnly, add, ok, ErrPermissionDenied},
        {"read-only: update", "db.dat", readOnly, update, ok, ErrPermissionDenied},
        {"4995 characters", "db.dat", plainFile, add, routine("L", std::string(4995, 'x')), 0},
        {"4996 characters: update", "db.dat", plainFile, update, tooLong, ErrInvalidText},
        {"4996 characters: add to a missing file", "new.dat", nothing, add, tooLong, ErrInvalidText},
        {"description outside Windows-1252", "db.dat", plainFile, add, routine("\xE2\x98\x83", "t"), ErrInvalidText},
        {"text outside Windows-1252", "db.dat", plainFile, update, routine("S", "_Text \xE4\xB8\xAD"), ErrInvalidText},
        {"text without end marker", "db.dat", plainFile, add, noMarker, ErrInvalidText},
        {"update past the end", "db.dat", plainFile, update, ok, ErrBadRecordNumber, 2},
        {"update of record 0", "db.dat", plainFile, update, ok, ErrBadRecordNumber, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        c.setup(dir);
        const std::string path = dir.file(c.file);
        const auto state = [&] {
            return fs::is_regular_file(TempDir::toPath(path)) ? dir.read(c.file)
                   : fs::exists(TempDir::toPath(path))        ? "<folder>"
                                                              : "<none>";
        };
        const std::string before = state();
        auto db = RoutineDatabase::forFile(path);
        const auto& [routineName, run] = c.op;
        const Error error = run(db, c.routine, c.record);
        EXPECT_EQ(error.number, c.expected) << c.name << ": " << error.description;
        EXPECT_EQ(needsLocateDatabase(error), c.expected == ErrBadFileNameOrNumber) << c.name;
        if (c.expected == 0)
            continue;
        EXPECT_EQ(state(), before) << c.name;
        EXPECT_FALSE(fs::exists(dir.native("no-such-folder"))) << c.name;
        const std::string heading =
            "Error Number " + std::to_string(c.expected) + " in routine " + routineName + " \r\n\r\n";
        EXPECT_EQ(errorMessage(error, routineName).text.rfind(heading, 0), 0u) << c.name;
    }
}

} // namespace
} // namespace qv
