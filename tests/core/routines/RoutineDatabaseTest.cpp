#include "config/SettingsKeys.h"
#include "config/clsIniControl.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineRecord.h"
#include "routines/clsRadomAccess.h"
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
std::string HandRecord(const std::string& description, const std::string& text, const std::string& favourite,
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

clsRoutine Routine(const std::string& description, const std::string& text, bool nonFavourite = false)
{
    return MakeRoutineForAdd(description, text, nonFavourite);
}

TEST(RoutineDatabase, WritesRecordsByteForByte)
{
    clsRoutine flags = Routine("Flags", "x");
    flags.SetRecordWritten(-2);
    flags.SetDeleted(0x7F01);
    flags.SetInUse(0x0102);
    const std::tuple<const char*, clsRoutine, std::string> cases[] = {
        {"plain", Routine("Purge All", "_-Purge\r\n_All\r\n*\r\n_N"),
         HandRecord("Purge All", "_-Purge\r\n_All\r\n*\r\n_N.....", "Fav", 1, 0, 1)},
        {"non favourite, description trimmed, text's trailing spaces kept",
         Routine("  Zoom ", "_Zoom\r\n_E  \r\n", true), HandRecord("Zoom", "_Zoom\r\n_E  \r\n.....", "Non", 1, 0, 1)},
        {"deleted", MakeDeletedRoutine(true), HandRecord("", "", "Non", 1, 1, 0)},
        {"longer description cut at 150", Routine(std::string(149, 'd') + "XYZ", "t"),
         HandRecord(std::string(149, 'd') + "X", "t.....", "Fav", 1, 0, 1)},
        {"Windows-1252", Routine("Caf\xC3\xA9 \xE2\x82\xAC", "_Text\r\n\xC3\xB1"),
         HandRecord("Caf\xE9 \x80", "_Text\r\n\xF1.....", "Fav", 1, 0, 1)},
        {"little-endian flags", flags, HandRecord("Flags", "x.....", "Fav", 0xFFFE, 0x7F01, 0x0102)},
    };
    for (const auto& [name, routine, expected] : cases) {
        TempDir dir;
        auto db = clsRadomAccess::ForFile(dir.file("Batch_Cad.dat"));
        const auto added = db.Add_to_Database(routine);
        ASSERT_TRUE(added.ok()) << name << ": " << added.error().description;
        EXPECT_EQ(added.value(), 1) << name;
        EXPECT_EQ(dir.read("Batch_Cad.dat"), expected) << name;

        // Reading gives back every field (the description cut at 150 characters).
        const auto fields = [](const clsRoutine& r) {
            return std::tuple(TrimSpaces(r.Description()).substr(0, 150), StripEndMarker(r.ScriptText()),
                              TrimSpaces(r.Favourite()), r.RecordWritten(), r.Deleted(), r.InUse());
        };
        EXPECT_EQ(fields(DecodeRoutineRecord(expected, 1)), fields(routine)) << name;
        // The text decoded on first use is the whole field, padding included, as an eager decode gives it.
        EXPECT_EQ(DecodeRoutineRecord(expected, 1).ScriptText(),
                  Cp1252ToUtf8(std::string_view(expected).substr(record::kScriptTextOffset, record::kScriptTextWidth)))
            << name;
    }
}

using Rows = std::vector<std::pair<std::string, int>>;

// (trimmed description, record number) of every listed routine.
Rows Listed(clsRadomAccess& db)
{
    Rows out;
    const RoutineRecords all = db.GetAllRecords().value();
    for (const clsRoutine& r : all.routines)
        out.emplace_back(TrimSpaces(r.Description()), r.RecordNumber());
    return out;
}

TEST(RoutineDatabase, DeletedRecordsAreReusedAndNumbersStayPositions)
{
    TempDir dir;
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));
    EXPECT_EQ(Listed(db), Rows{}); // a missing file is created empty
    EXPECT_EQ(fs::file_size(dir.native("db.dat")), 0u);
    for (const char* name : {"A", "B", "C"})
        ASSERT_TRUE(db.Add_to_Database(Routine(name, name)).ok());
    ASSERT_EQ(db.GetFileLast().value(), 4);

    ASSERT_TRUE(db.Update_Database(MakeDeletedRoutine(false), 2).ok());
    EXPECT_EQ(Listed(db), (Rows{{"A", 1}, {"C", 3}}));
    EXPECT_EQ(db.Add_to_Database(Routine("D", "d")).value(), 2);
    EXPECT_EQ(Listed(db), (Rows{{"A", 1}, {"D", 2}, {"C", 3}}));
    EXPECT_EQ(db.Add_to_Database(Routine("E", "e")).value(), 4);
    EXPECT_EQ(fs::file_size(dir.native("db.dat")), 4u * 5236u);
}

TEST(RoutineDatabase, BlankDescriptionIsNeverListedNorReused)
{
    TempDir dir;
    dir.write("db.dat", HandRecord("", "ghost.....", "Fav", 1, 0, 1) + HandRecord("Real", "r.....", "Fav", 1, 0, 1));
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));
    EXPECT_EQ(Listed(db), (Rows{{"Real", 2}}));
    EXPECT_EQ(db.GetFileLast().value(), 3);
}

TEST(RoutineDatabase, PathComesFromTheSettingEachTime)
{
    TempDir settings;
    const clsIniControl ini(settings.path());
    clsRadomAccess db(ini, "/program");
    const std::string fallback = JoinPath("/program", "Batch_Cad.dat");
    EXPECT_EQ(db.GetDatabasePath(), fallback); // key missing
    for (const char* value : {"Unknown", ""}) {
        ASSERT_TRUE(ini.WriteValue(keys::kDatabaseSection, keys::kDatabaseKey, value).ok());
        EXPECT_EQ(db.GetDatabasePath(), fallback) << value;
    }
    // Any other value is the full path as it stands, and the next operation uses it.
    const std::string chosen = settings.file("My Routines.bin");
    ASSERT_TRUE(ini.WriteValue(keys::kDatabaseSection, keys::kDatabaseKey, chosen).ok());
    ASSERT_TRUE(db.Add_to_Database(Routine("A", "a")).ok());
    EXPECT_EQ(db.LastPath(), chosen);
    EXPECT_EQ(fs::file_size(TempDir::toPath(chosen)), 5236u);
}

TEST(RoutineDatabase, PartialLastRecordIsReadReportedAndNeverWritten)
{
    TempDir dir;
    const std::string original =
        HandRecord("A", "a.....", "Fav", 1, 0, 1) + HandRecord("", "", "Non", 1, 1, 0) + std::string(100, 'z');
    dir.write("db.dat", original);
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));

    EXPECT_EQ(Listed(db), (Rows{{"A", 1}}));
    const RoutineRecords all = db.GetAllRecords().value();
    EXPECT_EQ(all.ignoredBytes, 100u);
    EXPECT_NE(all.notice.value().text.find("100 bytes"), std::string::npos);

    // Even the free record 2 is not written: the file is damaged and its tail is kept for repair.
    EXPECT_EQ(db.GetFileLast().error().number, ErrBadRecordLength);
    EXPECT_EQ(db.Add_to_Database(Routine("B", "b")).error().number, ErrBadRecordLength);
    EXPECT_EQ(db.Update_Database(Routine("A2", "a"), 1).error().number, ErrBadRecordLength);
    EXPECT_EQ(dir.read("db.dat"), original);
}

template <typename R> Error ErrorOf(const R& result)
{
    return result ? Error{} : result.error();
}

TEST(RoutineDatabase, RefusalsChangeNoByte)
{
    struct Op
    {
        const char* routine;
        std::function<Error(clsRadomAccess&, const clsRoutine&, std::int16_t)> run;
    };
    const Op read{kRoutineGetAllRecords, [](auto& db, auto&, auto) { return ErrorOf(db.GetAllRecords()); }};
    const Op add{kRoutineAddToDatabase, [](auto& db, auto& r, auto) { return ErrorOf(db.Add_to_Database(r)); }};
    const Op update{kRoutineUpdateDatabase,
                    [](auto& db, auto& r, auto n) { return ErrorOf(db.Update_Database(r, n)); }};
    const Op last{kRoutineGetFileLast, [](auto& db, auto&, auto) { return ErrorOf(db.GetFileLast()); }};
    struct Case
    {
        const char* name;
        std::string file; // relative to the temp folder
        std::function<void(const TempDir&)> setup;
        Op op;
        clsRoutine routine;
        int expected;            // 0: succeeds
        std::int16_t record = 1; // for Update
    };
    const std::string record = HandRecord("A", "a.....", "Fav", 1, 0, 1);
    const auto plainFile = [&record](const TempDir& d) { d.write("db.dat", record); };
    const auto folder = [](const TempDir& d) { fs::create_directory(d.native("db.dat")); };
    const auto readOnly = [&record](const TempDir& d) {
        d.write("db.dat", record);
        fs::permissions(d.native("db.dat"), fs::perms::owner_read | fs::perms::group_read);
    };
    const auto nothing = [](const TempDir&) {};
    const clsRoutine ok = Routine("B", "b");
    const clsRoutine tooLong = Routine("L", std::string(4996, 'x'));
    clsRoutine noMarker = Routine("N", "");
    noMarker.SetScriptText("_Regen");
    const std::string missing = "no-such-folder/db.dat";
    const Case cases[] = {
        {"folder: read", "db.dat", folder, read, ok, ErrBadFileNameOrNumber},
        {"folder: add", "db.dat", folder, add, ok, ErrPathFileAccess},
        {"folder: update", "db.dat", folder, update, ok, ErrPathFileAccess},
        {"folder: last", "db.dat", folder, last, ok, ErrPathFileAccess},
        {"missing folder: read", missing, nothing, read, ok, ErrBadFileNameOrNumber},
        {"missing folder: add", missing, nothing, add, ok, ErrPathNotFound},
        {"missing folder: update", missing, nothing, update, ok, ErrPathNotFound},
        {"read-only: read", "db.dat", readOnly, read, ok, 0},
        {"read-only: add", "db.dat", readOnly, add, ok, ErrPermissionDenied},
        {"read-only: update", "db.dat", readOnly, update, ok, ErrPermissionDenied},
        {"4995 characters", "db.dat", plainFile, add, Routine("L", std::string(4995, 'x')), 0},
        {"4996 characters: update", "db.dat", plainFile, update, tooLong, ErrInvalidText},
        {"4996 characters: add to a missing file", "new.dat", nothing, add, tooLong, ErrInvalidText},
        {"description outside Windows-1252", "db.dat", plainFile, add, Routine("\xE2\x98\x83", "t"), ErrInvalidText},
        {"text outside Windows-1252", "db.dat", plainFile, update, Routine("S", "_Text \xE4\xB8\xAD"), ErrInvalidText},
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
        auto db = clsRadomAccess::ForFile(path);
        const Error error = c.op.run(db, c.routine, c.record);
        EXPECT_EQ(error.number, c.expected) << c.name << ": " << error.description;
        EXPECT_EQ(NeedsLocateDatabase(error), c.expected == ErrBadFileNameOrNumber) << c.name;
        if (c.expected == 0)
            continue;
        EXPECT_EQ(state(), before) << c.name;
        EXPECT_FALSE(fs::exists(dir.native("no-such-folder"))) << c.name;
        const std::string heading =
            "Error Number " + std::to_string(c.expected) + " in routine " + c.op.routine + " \r\n\r\n";
        EXPECT_EQ(ErrorMessage(error, c.op.routine).text.rfind(heading, 0), 0u) << c.name;
    }
}

} // namespace
} // namespace qv
