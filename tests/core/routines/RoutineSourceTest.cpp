#include "routines/RoutineSource.h"

#include "io/FileIo.h"
#include "routines/RoutineCatalogue.h"
#include "routines/clsRadomAccess.h"
#include "support/TempDir.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(RoutineSource, ReadsRoutinesAsWritten)
{
    const std::string source = "# comment\n"
                               "\n"
                               "Description:  Zoom and Save \r\n"
                               "Favourite: Fav\r\n"
                               "\n"
                               "_Zoom\n"
                               "_E\n"
                               "\n"
                               "_Qsave  \n"
                               "\n"
                               "---\n"
                               "# another\n"
                               "Description: Layer\n"
                               "Favourite: Non\n"
                               "_-Layer\n"
                               "#not a comment here\n";
    const auto parsed = ParseRoutineSource(source);
    ASSERT_TRUE(parsed.ok()) << parsed.error().description;
    ASSERT_EQ(parsed.value().size(), 2u);
    const clsRoutine& zoom = parsed.value()[0];
    EXPECT_EQ(zoom.Description(), "Zoom and Save");
    EXPECT_EQ(zoom.ScriptText(), "_Zoom\r\n_E\r\n\r\n_Qsave  .....");
    EXPECT_EQ(zoom.Favourite(), "Fav");
    EXPECT_EQ(zoom.InUse(), 1);
    EXPECT_EQ(zoom.RecordWritten(), 1);
    EXPECT_EQ(zoom.Deleted(), 0);
    EXPECT_EQ(parsed.value()[1].ScriptText(), "_-Layer\r\n#not a comment here.....");
    EXPECT_EQ(parsed.value()[1].Favourite(), "Non");
}

TEST(RoutineSource, NamesTheLineAtFault)
{
    const std::pair<std::string, std::string> cases[] = {
        {"_Zoom\n", "Line 1: a routine must start"},
        {"Description: A\n_Zoom\n", "Line 2: \"Favourite:\" must follow"},
        {"Description: A\nFavourite: fav\n_Zoom\n", "Line 2: the favourite marker"},
        {"Description: A\nFavourite: Fav\n\n---\n", "Line 1: routine \"A\": Please Enter Your Script"},
        {"Description: A\n", "Line 1: the routine \"A\" has no"},
        {"Description: A\nFavourite: Fav\nx\n---\nDescription: A\nFavourite: Non\ny\n",
         "Line 5: routine \"A\": You Can't Have Duplicate"},
        {"Description: " + std::string(76, 'd') + "\nFavourite: Fav\nx\n", "Line 1: routine \"ddd"},
        {"Description: A\nFavourite: Fav\n" + std::string(4996, 'x') + "\n",
         "Line 1: routine \"A\": Your Script is too"},
    };
    for (const auto& [source, message] : cases) {
        const auto parsed = ParseRoutineSource(source);
        ASSERT_FALSE(parsed.ok()) << message;
        EXPECT_EQ(parsed.error().description.substr(0, message.size()), message);
    }
}

// The shipped default set: it must parse, every routine must be sound host input, and the database
// built from it must read back routine for routine.
TEST(RoutineSource, DefaultRoutineSetBuildsAndReadsBack)
{
    const std::filesystem::path file =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "data" /
        "routines.txt";
    const auto text = ReadFileBytes(file.string());
    ASSERT_TRUE(text.ok()) << text.error().description;
    const auto parsed = ParseRoutineSource(text.value());
    ASSERT_TRUE(parsed.ok()) << parsed.error().description;
    const std::vector<clsRoutine>& routines = parsed.value();
    ASSERT_GE(routines.size(), 8u);

    int favourites = 0;
    for (const clsRoutine& r : routines) {
        favourites += r.Favourite() == "Fav";
        const std::string body = StripEndMarker(r.ScriptText());
        // Commands carry the language-independent underscore; nothing hides in trailing spaces.
        EXPECT_TRUE(body.starts_with("_")) << r.Description();
        for (const std::string_view line : SplitLines(body))
            EXPECT_EQ(TrimTrailingSpaces(line), line) << r.Description();
        // The script writer stops at the placeholder sentence.
        EXPECT_FALSE(
            EqualsIgnoreCaseAscii(body, "First set up this routine by using the Automatic Routine Creation Wizards"));
    }
    EXPECT_GE(favourites, 3);
    EXPECT_TRUE(DescriptionExists(routines, "Recover Drawings"));
    EXPECT_TRUE(DescriptionExists(routines, "Convert DXF to a Drawing R14"));

    TempDir dir;
    auto db = clsRadomAccess::ForFile(dir.file("Batch_Cad.dat"));
    for (const clsRoutine& r : routines)
        ASSERT_TRUE(db.Add_to_Database(r).ok()) << r.Description();
    const auto back = db.GetAllRecords();
    ASSERT_TRUE(back.ok());
    ASSERT_EQ(back.value().routines.size(), routines.size());
    for (std::size_t i = 0; i < routines.size(); ++i) {
        const clsRoutine& got = back.value().routines[i];
        EXPECT_EQ(got.RecordNumber(), static_cast<std::int16_t>(i + 1));
        const RoutineLookup lookup = GetRoutineByDescription(back.value().routines, routines[i].Description());
        EXPECT_EQ(lookup.text, StripEndMarker(routines[i].ScriptText())) << routines[i].Description();
        EXPECT_EQ(TrimSpaces(got.Favourite()), routines[i].Favourite());
    }
}

} // namespace
} // namespace qv
