#include "batch/ReadOnlyCheck.h"

#include "text/Paths.h"

#include <gtest/gtest.h>
#include <map>

namespace qv {
namespace {

const std::string kSep(1, PathSeparator());

TEST(ReadOnlyCheck, CollectsReadOnlyDrawingsInListOrder)
{
    const DrawingRows rows = {{"a.dwg", "F", "Plot", ""},
                              {"b.dwg", "G" + kSep, "Plot", ""},
                              {"c.dwg", "F", "Plot", ""},
                              {"d.dwg", "F", "Plot", ""}};
    const std::map<std::string, unsigned> attributes = {{"F" + kSep + "a.dwg", 0},
                                                        {"G" + kSep + "b.dwg", 1 | 32},
                                                        {"F" + kSep + "c.dwg", 16 | 32},
                                                        {"F" + kSep + "d.dwg", 1}};
    std::vector<std::string> asked;
    const ReadOnlyScan scan = FindReadOnlyDrawings(rows, [&](const std::string& path) -> Result<unsigned> {
        asked.push_back(path);
        return attributes.at(path);
    });
    EXPECT_FALSE(scan.error.has_value());
    EXPECT_EQ(scan.readOnly, (std::vector<ReadOnlyDrawing>{{"b.dwg", "G" + kSep}, {"d.dwg", "F"}}));
    EXPECT_EQ(asked.size(), 4u);

    const ReadOnlyScan none = FindReadOnlyDrawings({}, [](const std::string&) -> Result<unsigned> { return 1u; });
    EXPECT_TRUE(none.readOnly.empty());
    EXPECT_FALSE(none.error.has_value());
}

TEST(ReadOnlyCheck, UnreadableDrawingEndsTheCheckAndNamesIt)
{
    const DrawingRows rows = {{"a.dwg", "F", "Plot", ""}, {"gone.dwg", "F" + kSep, "Plot", ""}, {"c.dwg", "F", "", ""}};
    int calls = 0;
    const ReadOnlyScan scan = FindReadOnlyDrawings(rows, [&](const std::string& path) -> Result<unsigned> {
        ++calls;
        if (path.ends_with("gone.dwg"))
            return Error{ErrFileNotFound, "File not found"};
        return 1u;
    });
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(scan.readOnly.empty());
    ASSERT_TRUE(scan.error.has_value());
    EXPECT_EQ(scan.currentPath, "F" + kSep + "gone.dwg");
    EXPECT_EQ(*scan.error, (UserMessage{"Error Number 53 in routine CheckReadOnly \r\n\r\nFile not found\r\n\r\n"
                                        "Please remove F" +
                                            kSep + "gone.dwg from the drawing list before proceeding",
                                        "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));
}

TEST(ReadOnlyCheck, OnlyAnExactNoStopsTheRun)
{
    EXPECT_FALSE(ReadOnlyDecisionAllowsRun("No"));
    for (const char* decision : {"Yes", "", "no", "NO", "No "})
        EXPECT_TRUE(ReadOnlyDecisionAllowsRun(decision)) << decision;
}

} // namespace
} // namespace qv
