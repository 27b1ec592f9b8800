#include "routines/RoutineSource.h"

#include "io/FileIo.h"
#include "routines/RoutineCatalogue.h"
#include "text/LineBreaks.h"
#include "text/TextUtil.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(RoutineSource, ReadsRoutinesAsWritten)
{
    const std::string source = "# comment\n\nDescription:  Zoom and Save \r\nFavourite: Fav\r\n\n"
                               "_Zoom\n_E\n\n_Qsave  \n\n---\n"
                               "# another\nDescription: Layer\nFavourite: Non\n_-Layer\n#not a comment here\n";
    const auto parsed = parseRoutineSource(source);
    ASSERT_TRUE(parsed.ok()) << parsed.error().description;
    EXPECT_EQ(parsed.value(),
              (std::vector<Routine>{makeRoutineForAdd("Zoom and Save", "_Zoom\r\n_E\r\n\r\n_Qsave  ", false),
                                    makeRoutineForAdd("Layer", "_-Layer\r\n#not a comment here", true)}));
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
        const auto parsed = parseRoutineSource(source);
        ASSERT_FALSE(parsed.ok()) << message;
        EXPECT_EQ(parsed.error().description.substr(0, message.size()), message);
    }
}

// The shipped default set must parse and every routine must be sound host input (the build itself
// writes the database from it and checks that it reads back).
TEST(RoutineSource, DefaultRoutineSetIsSoundHostInput)
{
    const std::filesystem::path file = std::filesystem::path(QUORVEL_SOURCE_DIR) / "data" / "routines.txt";
    const auto text = readFileBytes(file.string());
    ASSERT_TRUE(text.ok()) << text.error().description;
    const auto parsed = parseRoutineSource(text.value());
    ASSERT_TRUE(parsed.ok()) << parsed.error().description;
    const std::vector<Routine>& routines = parsed.value();
    ASSERT_GE(routines.size(), 8u);

    int favourites = 0;
    for (const Routine& r : routines) {
        favourites += r.favourite() == "Fav";
        const std::string body = stripEndMarker(r.scriptText());
        // Commands carry the language-independent underscore; nothing hides in trailing spaces.
        EXPECT_TRUE(body.starts_with("_")) << r.description();
        for (const std::string_view line : splitLines(body))
            EXPECT_EQ(trimTrailingSpaces(line), line) << r.description();
        // The script writer stops at the placeholder sentence.
        EXPECT_FALSE(
            equalsIgnoreCaseAscii(body, "First set up this routine by using the Automatic Routine Creation Wizards"));
    }
    EXPECT_GE(favourites, 3);
    EXPECT_TRUE(descriptionExists(routines, "Recover Drawings"));
    EXPECT_TRUE(descriptionExists(routines, "Convert DXF to a Drawing R14"));
}

} // namespace
} // namespace qv
