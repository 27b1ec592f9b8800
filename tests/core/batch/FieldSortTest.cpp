#include "batch/FieldSort.h"

#include <gtest/gtest.h>
#include <tuple>

namespace qv {
namespace {

TEST(FieldSort, FieldExtraction)
{
    // file name, delimiter, field number, key
    const std::tuple<const char*, const char*, int, const char*> cases[] = {
        {"A-12-rev.dwg", "-", 1, "A"},
        {"A-12-rev.dwg", "-", 3, "rev"},
        {"A-12-rev.dwg", "-", 4, ""}, // fewer fields than asked for
        {"A-12-rev.dwg", "-", 0, ""},
        {"-A-.dwg", "-", 1, ""}, // delimiters at the ends make empty fields
        {"-A-.dwg", "-", 2, "A"},
        {"-A-.dwg", "-", 3, ""},
        {"A-12-rev.dxf", "-", 3, "rev.dxf"},   // no .dwg to remove
        {"A-12-REV.DWG", "-", 3, "REV.DWG"},   // only lower-case ".dwg" is removed
        {"A-12-r.DWG.dwg", "-", 3, "r.DWG"},   // every ".dwg", once
        {"a.dwg.b.dwg", ".", 2, "b"},          // removal comes before the split
        {"a.d.dwgwg", ".", 2, "dwg"},          // one pass: the join is not removed again
        {"A_12_rev.dwg", "-", 1, "A_12_rev"},  // delimiter absent: one field
        {"A-12-rev.dwg", "", 1, "A-12-rev"},   // no delimiter
        {"A-12-rev.dwg", "-1", 1, "A-12-rev"}, // only a single character splits
        {"", "-", 1, ""},
        {"\xC3\xA9-2-x.dwg", "-", 1, "\xC3\xA9"}, // UTF-8 passes whole
    };
    for (const auto& [name, delimiter, field, key] : cases)
        EXPECT_EQ(fileNameField(name, delimiter, field), key) << name << " " << field;
}

TEST(FieldSort, SortsStablyByTextKeyAndGivesShortNamesAnEmptyKey)
{
    DrawingRows rows{{"P-9-a.dwg", "/f1", "R1", ""},
                     {"P-10-b.dwg", "/f2", "R2", ""},
                     {"Short.dwg", "/f3", "", ""},
                     {"P-9-c.dwg", "/f4", "R4", "old"},
                     {"Q-10-d.dwg", "/f5", "", ""}};
    sortByField(rows, "-", "2");
    const DrawingRows expected{{"Short.dwg", "/f3", "", ""},
                               {"P-10-b.dwg", "/f2", "R2", "10"},
                               {"Q-10-d.dwg", "/f5", "", "10"},
                               {"P-9-a.dwg", "/f1", "R1", "9"},
                               {"P-9-c.dwg", "/f4", "R4", "9"}};
    EXPECT_EQ(rows, expected);

    // A field number that is not a number: every key empty, order unchanged.
    std::swap(rows[0], rows[4]);
    DrawingRows unchanged = rows;
    for (DrawingRow& row : unchanged)
        row.key.clear();
    sortByField(rows, "-", "x");
    EXPECT_EQ(rows, unchanged);
}

} // namespace
} // namespace qv
