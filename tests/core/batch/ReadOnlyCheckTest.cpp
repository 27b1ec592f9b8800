#include "batch/ReadOnlyCheck.h"

#include "text/Paths.h"

#include <gtest/gtest.h>
#include <map>

namespace qv {
namespace {

const std::string kSep(1, pathSeparator());

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
    const ReadOnlyScan scan = findReadOnlyDrawings(rows, [&](const std::string& path) -> Result<unsigned> {
        asked.push_back(path);
        return attributes.at(path);
    });
    EXPECT_FALSE(scan.error.has_value());
    EXPECT_EQ(scan.readOnly, (std::vector<ReadOnlyDrawing>{{"b.dwg", "G" + kSep}, {"d.dwg", "F"}}));
    EXPECT_EQ(scan.rowIsReadOnly, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(asked.size(), 4u);

    const ReadOnlyScan none = findReadOnlyDrawings({}, [](const std::string&) -> Result<unsigned> { return 1u; });
    EXPECT_TRUE(none.readOnly.empty());
    EXPECT_FALSE(none.error.has_value());
}

TEST(ReadOnlyCheck, UnreadableDrawingsAreNamedInOneMessage)
{
    const auto missing = [](const std::string& path) -> Result<unsigned> {
        if (path.find("gone") != std::string::npos)
            return Error{ErrFileNotFound, "File not found"};
        return 1u;
    };
    const std::string head = "Error Number 53 in routine CheckReadOnly \r\n\r\nFile not found\r\n\r\n";
    // One missing drawing keeps the familiar sentence.
    const DrawingRows one = {{"a.dwg", "F", "Plot", ""}, {"gone.dwg", "F" + kSep, "Plot", ""}, {"c.dwg", "F", "", ""}};
    ReadOnlyScan scan = findReadOnlyDrawings(one, missing);
    EXPECT_TRUE(scan.readOnly.empty());
    EXPECT_TRUE(scan.rowIsReadOnly.empty());
    ASSERT_TRUE(scan.error.has_value());
    EXPECT_EQ(*scan.error,
              (UserMessage{head + "Please remove F" + kSep + "gone.dwg from the drawing list before proceeding",
                           "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));

    // Several: every one is named, in list order, not only the first.
    const DrawingRows three = {{"gone1.dwg", "F", "Plot", ""},
                               {"a.dwg", "F", "Plot", ""},
                               {"gone2.dwg", "G", "Plot", ""},
                               {"gone3.dwg", "H", "Plot", ""}};
    scan = findReadOnlyDrawings(three, missing);
    ASSERT_TRUE(scan.error.has_value());
    EXPECT_EQ(scan.error->text, head + "Please remove these 3 drawings from the drawing list before proceeding:\r\nF" +
                                    kSep + "gone1.dwg\r\nG" + kSep + "gone2.dwg\r\nH" + kSep + "gone3.dwg");
}

TEST(ReadOnlyCheck, OnlyAnExactNoStopsTheRun)
{
    EXPECT_FALSE(readOnlyDecisionAllowsRun("No"));
    for (const char* decision : {"Yes", "", "no", "NO", "No "})
        EXPECT_TRUE(readOnlyDecisionAllowsRun(decision)) << decision;
}

} // namespace
} // namespace qv
