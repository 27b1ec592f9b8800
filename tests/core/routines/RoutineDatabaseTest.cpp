#include "config/SettingsKeys.h"
#include "config/clsIniControl.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineRecord.h"
#include "routines/clsRadomAccess.h"
#include "support/TempDir.h"
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
    const auto put = [&r](std::size_t at, int value) {
        r[at] = static_cast<char>(value & 0xFF);
        r[at + 1] = static_cast<char>((value >> 8) & 0xFF);
    };
    put(5230, written);
    put(5232, deleted);
    put(5234, inUse);
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
    struct Case
    {
        const char* name;
        clsRoutine routine;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", Routine("Purge All", "_-Purge\r\n_All\r\n*\r\n_N"),
         HandRecord("Purge All", "_-Purge\r\n_All\r\n*\r\n_N.....", "Fav", 1, 0, 1)},
        {"non favourite, trailing spaces kept", Routine("  Zoom ", "_Zoom\r\n_E  \r\n", true),
         HandRecord("  Zoom ", "_Zoom\r\n_E  \r\n.....", "Non", 1, 0, 1)},
        {"deleted", MakeDeletedRoutine(true), HandRecord("", "", "Non", 1, 1, 0)},
        {"150 characters, no padding", Routine(std::string(150, 'd'), "t"),
         HandRecord(std::string(150, 'd'), "t.....", "Fav", 1, 0, 1)},
        {"longer description cut at 150", Routine(std::string(149, 'd') + "XYZ", "t"),
         HandRecord(std::string(149, 'd') + "X", "t.....", "Fav", 1, 0, 1)},
        {"Windows-1252", Routine("Caf\xC3\xA9 \xE2\x82\xAC", "_Text\r\n\xC3\xB1"),
         HandRecord("Caf\xE9 \x80", "_Text\r\n\xF1.....", "Fav", 1, 0, 1)},
        {"little-endian flags", flags, HandRecord("Flags", "x.....", "Fav", 0xFFFE, 0x7F01, 0x0102)},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto db = clsRadomAccess::ForFile(dir.file("Batch_Cad.dat"));
        const auto added = db.Add_to_Database(c.routine);
        ASSERT_TRUE(added.ok()) << c.name << ": " << added.error().description;
        EXPECT_EQ(added.value(), 1) << c.name;
        EXPECT_EQ(dir.read("Batch_Cad.dat"), c.expected) << c.name;

        // Reading gives every field as stored, padding included.
        const clsRoutine back = DecodeRoutineRecord(c.expected, 1);
        EXPECT_EQ(back.ScriptText().substr(0, c.routine.ScriptText().size()), c.routine.ScriptText()) << c.name;
        EXPECT_EQ(TrimSpaces(back.Description()), TrimSpaces(c.routine.Description().substr(
                                                      0, std::min<std::size_t>(150, c.routine.Description().size()))))
            << c.name;
        EXPECT_EQ(back.RecordWritten(), c.routine.RecordWritten()) << c.name;
        EXPECT_EQ(back.Deleted(), c.routine.Deleted()) << c.name;
        EXPECT_EQ(back.InUse(), c.routine.InUse()) << c.name;
        EXPECT_EQ(back.Favourite(), c.routine.Favourite() + std::string(47, ' ')) << c.name;
    }
}

TEST(RoutineDatabase, ReadsBackTextWithTrailingSpacesAndLineBreaks)
{
    TempDir dir;
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));
    const std::string text = "_Zoom\r\n_E  \r\n\r\n";
    ASSERT_TRUE(db.Add_to_Database(Routine("Zoom", text)).ok());
    const auto all = db.GetAllRecords();
    ASSERT_TRUE(all.ok());
    ASSERT_EQ(all.value().routines.size(), 1u);
    const clsRoutine& r = all.value().routines[0];
    EXPECT_EQ(r.ScriptText().size(), 5000u);
    EXPECT_EQ(r.Description().size(), 150u);
    EXPECT_EQ(StripEndMarker(r.ScriptText()), text);
    EXPECT_EQ(GetRoutineByDescription(all.value().routines, "Zoom").text, text);
    EXPECT_FALSE(all.value().notice.has_value());
}

TEST(RoutineDatabase, DeletedRecordsAreReusedAndNumbersStayPositions)
{
    TempDir dir;
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));
    for (const char* name : {"A", "B", "C"})
        ASSERT_TRUE(db.Add_to_Database(Routine(name, name)).ok());
    ASSERT_EQ(db.GetFileLast().value(), 4);

    ASSERT_TRUE(db.Update_Database(MakeDeletedRoutine(false), 2).ok());
    auto numbers = [&db] {
        std::vector<std::pair<std::string, int>> out;
        const auto all = db.GetAllRecords();
        for (const clsRoutine& r : all.value().routines)
            out.emplace_back(TrimSpaces(r.Description()), r.RecordNumber());
        return out;
    };
    using Rows = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(numbers(), (Rows{{"A", 1}, {"C", 3}}));

    EXPECT_EQ(db.Add_to_Database(Routine("D", "d")).value(), 2);
    EXPECT_EQ(numbers(), (Rows{{"A", 1}, {"D", 2}, {"C", 3}}));
    EXPECT_EQ(db.Add_to_Database(Routine("E", "e")).value(), 4);
    EXPECT_EQ(fs::file_size(dir.file("db.dat")), 4u * 5236u);
}

TEST(RoutineDatabase, BlankDescriptionIsNeverListedNorReused)
{
    TempDir dir;
    dir.write("db.dat", HandRecord("", "ghost.....", "Fav", 1, 0, 1) + HandRecord("Real", "r.....", "Fav", 1, 0, 1));
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));
    const auto all = db.GetAllRecords();
    ASSERT_TRUE(all.ok());
    ASSERT_EQ(all.value().routines.size(), 1u);
    EXPECT_EQ(all.value().routines[0].RecordNumber(), 2);
    EXPECT_EQ(db.GetFileLast().value(), 3);
}

TEST(RoutineDatabase, MissingFileIsCreatedEmptyAndFirstAddIsRecordOne)
{
    TempDir dir;
    auto db = clsRadomAccess::ForFile(dir.file("new.dat"));
    const auto all = db.GetAllRecords();
    ASSERT_TRUE(all.ok());
    EXPECT_TRUE(all.value().routines.empty());
    ASSERT_TRUE(fs::exists(dir.file("new.dat")));
    EXPECT_EQ(fs::file_size(dir.file("new.dat")), 0u);
    EXPECT_EQ(db.Add_to_Database(Routine("First", "_Regen")).value(), 1);
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
    EXPECT_EQ(fs::file_size(chosen), 5236u);
}

TEST(RoutineDatabase, PartialLastRecordIsReadReportedAndNeverWritten)
{
    TempDir dir;
    const std::string original =
        HandRecord("A", "a.....", "Fav", 1, 0, 1) + HandRecord("", "", "Non", 1, 1, 0) + std::string(100, 'z');
    dir.write("db.dat", original);
    auto db = clsRadomAccess::ForFile(dir.file("db.dat"));

    const auto all = db.GetAllRecords();
    ASSERT_TRUE(all.ok());
    ASSERT_EQ(all.value().routines.size(), 1u);
    EXPECT_EQ(all.value().ignoredBytes, 100u);
    ASSERT_TRUE(all.value().notice.has_value());
    EXPECT_NE(all.value().notice->text.find("100 bytes"), std::string::npos);

    // Even the free record 2 is not written: the file is damaged and its tail is kept for repair.
    EXPECT_EQ(db.GetFileLast().error().number, ErrBadRecordLength);
    EXPECT_EQ(db.Add_to_Database(Routine("B", "b")).error().number, ErrBadRecordLength);
    EXPECT_EQ(db.Update_Database(Routine("A2", "a"), 1).error().number, ErrBadRecordLength);
    EXPECT_EQ(dir.read("db.dat"), original);
}

TEST(RoutineDatabase, RefusalsChangeNoByte)
{
    const std::string record = HandRecord("A", "a.....", "Fav", 1, 0, 1);
    enum class Op
    {
        Read,
        Add,
        Update,
        FileLast
    };
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
    const auto plainFile = [&record](const TempDir& d) { d.write("db.dat", record); };
    const auto folder = [](const TempDir& d) { fs::create_directory(d.file("db.dat")); };
    const auto readOnly = [&record](const TempDir& d) {
        d.write("db.dat", record);
        fs::permissions(d.file("db.dat"), fs::perms::owner_read | fs::perms::group_read);
    };
    const auto nothing = [](const TempDir&) {};
    const clsRoutine ok = Routine("B", "b");
    const std::string missing = "no-such-folder/db.dat";
    const Case cases[] = {
        {"folder: read", "db.dat", folder, Op::Read, ok, ErrBadFileNameOrNumber},
        {"folder: add", "db.dat", folder, Op::Add, ok, ErrPathFileAccess},
        {"folder: update", "db.dat", folder, Op::Update, ok, ErrPathFileAccess},
        {"folder: last", "db.dat", folder, Op::FileLast, ok, ErrPathFileAccess},
        {"missing folder: read", missing, nothing, Op::Read, ok, ErrBadFileNameOrNumber},
        {"missing folder: add", missing, nothing, Op::Add, ok, ErrPathNotFound},
        {"missing folder: update", missing, nothing, Op::Update, ok, ErrPathNotFound},
        {"read-only: read", "db.dat", readOnly, Op::Read, ok, 0},
        {"read-only: add", "db.dat", readOnly, Op::Add, ok, ErrPermissionDenied},
        {"read-only: update", "db.dat", readOnly, Op::Update, ok, ErrPermissionDenied},
        {"4995 characters", "db.dat", plainFile, Op::Add, Routine("L", std::string(4995, 'x')), 0},
        {"4996 characters: add", "db.dat", plainFile, Op::Add, Routine("L", std::string(4996, 'x')), ErrInvalidText},
        {"4996 characters: update", "db.dat", plainFile, Op::Update, Routine("L", std::string(4996, 'x')),
         ErrInvalidText},
        {"4996 characters into a missing file", "new.dat", nothing, Op::Add, Routine("L", std::string(4996, 'x')),
         ErrInvalidText},
        {"description outside Windows-1252", "db.dat", plainFile, Op::Add, Routine("\xE2\x98\x83", "t"),
         ErrInvalidText},
        {"text outside Windows-1252", "db.dat", plainFile, Op::Update, Routine("S", "_Text \xE4\xB8\xAD"),
         ErrInvalidText},
        {"text without end marker", "db.dat", plainFile, Op::Add,
         [] {
             clsRoutine r = MakeRoutineForAdd("N", "", false);
             r.SetScriptText("_Regen");
             return r;
         }(),
         ErrInvalidText},
        {"update past the end", "db.dat", plainFile, Op::Update, ok, ErrBadRecordNumber, 2},
        {"update of record 0", "db.dat", plainFile, Op::Update, ok, ErrBadRecordNumber, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        c.setup(dir);
        const std::string path = dir.file(c.file);
        const std::string before = fs::is_regular_file(path) ? dir.read(c.file) : std::string();
        const bool existed = fs::exists(path);
        auto db = clsRadomAccess::ForFile(path);
        Error error;
        std::string routine;
        switch (c.op) {
        case Op::Read:
            if (auto r = db.GetAllRecords(); !r)
                error = r.error();
            routine = kRoutineGetAllRecords;
            break;
        case Op::Add:
            if (auto r = db.Add_to_Database(c.routine); !r)
                error = r.error();
            routine = kRoutineAddToDatabase;
            break;
        case Op::Update:
            if (auto r = db.Update_Database(c.routine, c.record); !r)
                error = r.error();
            routine = kRoutineUpdateDatabase;
            break;
        case Op::FileLast:
            if (auto r = db.GetFileLast(); !r)
                error = r.error();
            routine = kRoutineGetFileLast;
            break;
        }
        EXPECT_EQ(error.number, c.expected) << c.name << ": " << error.description;
        EXPECT_EQ(NeedsLocateDatabase(error), c.expected == ErrBadFileNameOrNumber) << c.name;
        if (c.expected == 0)
            continue;
        EXPECT_EQ(fs::exists(path), existed) << c.name;
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(dir.read(c.file), before) << c.name;
        }
        EXPECT_FALSE(fs::exists(dir.file("no-such-folder"))) << c.name;
        EXPECT_EQ(
            ErrorMessage(error, routine)
                .text.rfind("Error Number " + std::to_string(c.expected) + " in routine " + routine + " \r\n\r\n", 0),
            0u)
            << c.name;
    }
}

} // namespace
} // namespace qv
