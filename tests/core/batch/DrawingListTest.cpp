#include "batch/DrawingList.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace qv {
namespace {

DrawingRow Row(std::string file, std::string folder = "/d", std::string routine = "", std::string key = "")
{
    return DrawingRow{std::move(file), std::move(folder), std::move(routine), std::move(key)};
}

std::vector<std::string> Files(const DrawingRows& rows)
{
    std::vector<std::string> out;
    for (const auto& row : rows)
        out.push_back(row.file);
    return out;
}

TEST(DrawingList, DialogPathsAreSplitAndAddedInOrder)
{
    DrawingRows rows{Row("old.dwg")};
    const auto outcome = AddFromDialog(rows, {"/jobs/a/plan.dwg", "/jobs/a/plan.dwg", "", "/jobs/b/x.dxf", "top.dwt"});
    EXPECT_EQ(outcome.added, 4u);
    EXPECT_TRUE(outcome.refused.empty());
    const DrawingRows expected{Row("old.dwg"), Row("plan.dwg", "/jobs/a"), Row("plan.dwg", "/jobs/a"),
                               Row("x.dxf", "/jobs/b"), Row("top.dwt", "")};
    EXPECT_EQ(rows, expected);
}

TEST(DrawingList, UnsafeNamesAreRefusedAndTheOthersAdded)
{
    DrawingRows rows;
    const std::vector<std::string> bad = {"/a/li\nne.dwg",    "/a/cr\r.dwg",      "/a/q\"uote.dwg",
                                          "/fo\"lder/ok.dwg", "/fo\nlder/ok.dwg", "/a/folder/"};
    std::vector<std::string> paths = {"/a/one.dwg"};
    paths.insert(paths.end(), bad.begin(), bad.end());
    paths.push_back("/a/two.dwg");
    const auto outcome = AddFromDialog(rows, paths);
    EXPECT_EQ(outcome.added, 2u);
    EXPECT_EQ(outcome.refused, bad);
    EXPECT_EQ(Files(rows), (std::vector<std::string>{"one.dwg", "two.dwg"}));

    const UserMessage message = RefusedDrawingsMessage(outcome.refused);
    EXPECT_EQ(message.title, "Quorvel Error");
    EXPECT_NE(message.text.find("/a/li<LF>ne.dwg\r\n"), std::string::npos);
    EXPECT_NE(message.text.find("/fo\"lder/ok.dwg"), std::string::npos);
    EXPECT_NE(message.text.find("\r\n/a/cr<CR>.dwg\r\n"), std::string::npos);

    const UserMessage many = RefusedDrawingsMessage(std::vector<std::string>(25, "/a/\"x.dwg"));
    EXPECT_NE(many.text.find("... and 5 more."), std::string::npos);
}

TEST(DrawingList, DropAddsNothingWhenTheFirstPathIsAFolder)
{
    const auto isFolder = [](const std::string& p) { return p.ends_with("dir"); };
    struct Case
    {
        std::vector<std::string> dropped;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {{"/x/dir", "/x/a.dwg"}, {}},
        {{"/x/a.dwg", "/x/b.dwg"}, {"a.dwg", "b.dwg"}},
        {{"/x/a.dwg", "/x/dir"}, {"a.dwg", "dir"}}, // only the first path is looked at
        {{}, {}},
    };
    for (const auto& c : cases) {
        DrawingRows rows;
        AddDropped(rows, c.dropped, isFolder);
        EXPECT_EQ(Files(rows), c.files);
    }
}

TEST(DrawingList, AssignDeleteAndClearKeepOrderAndEmptyTheKeys)
{
    const DrawingRows start{Row("1", "/d", "R1", "k1"), Row("2", "/d", "R2", "k2"), Row("3", "/d", "R3", "k3")};
    const RowSelection firstAndThird = SelectionFromIndexes({2, 0, 99}, 3);
    EXPECT_EQ(firstAndThird, (RowSelection{true, false, true}));

    DrawingRows rows = start;
    RedoListItems(rows, "New");
    EXPECT_EQ(rows, (DrawingRows{Row("1", "/d", "New"), Row("2", "/d", "New"), Row("3", "/d", "New")}));

    rows = start;
    ShowSubjectInSelected(rows, firstAndThird, "New");
    EXPECT_EQ(rows, (DrawingRows{Row("1", "/d", "New"), Row("2", "/d", "R2"), Row("3", "/d", "New")}));

    rows = start;
    ShowSubjectInSelected(rows, RowSelection{false, true}, ""); // shorter selection: the rest unselected
    EXPECT_EQ(rows, (DrawingRows{Row("1", "/d", "R1"), Row("2", "/d", ""), Row("3", "/d", "R3")}));

    rows = start;
    DeleteFromList(rows, firstAndThird);
    EXPECT_EQ(rows, (DrawingRows{Row("2", "/d", "R2")}));
    DeleteFromList(rows, RowSelection{true});
    EXPECT_TRUE(rows.empty());

    rows = start;
    DeleteFromList(rows, RowSelection{});
    EXPECT_EQ(Files(rows), Files(start));
    EXPECT_EQ(rows[0].key, "");
    Clear_List(rows);
    EXPECT_TRUE(rows.empty());
}

TEST(DrawingList, CountLabelAndSortOrderLabel)
{
    EXPECT_EQ(DrawingCountText(0), "Drawings To Be Processed");
    EXPECT_EQ(DrawingCountText(1), "1 Drawings To Be Processed");
    EXPECT_EQ(DrawingCountText(100000), "100000 Drawings To Be Processed");

    const std::pair<std::string, SortOrderStep> steps[] = {
        {"", {true, "1"}}, {"0", {true, "1"}}, {"1", {false, "0"}}, {" 1", {false, "0"}}, {"2", {true, "1"}}};
    for (const auto& [label, step] : steps) {
        const auto next = NextSortOrder(label);
        EXPECT_EQ(next.descending, step.descending) << label;
        EXPECT_EQ(next.lblSortOrder, step.lblSortOrder) << label;
    }
}

TEST(DrawingList, TextComparisonIgnoresAsciiCaseOnly)
{
    EXPECT_EQ(CompareListText("abc", "ABC"), 0);
    EXPECT_LT(CompareListText("a", "B"), 0);
    EXPECT_LT(CompareListText("ab", "abc"), 0);
    EXPECT_LT(CompareListText("10", "9"), 0);              // text, not numbers
    EXPECT_LT(CompareListText("z", "\xC3\xA9"), 0);        // é after ASCII
    EXPECT_GT(CompareListText("\xC3\xA9", "\xC3\x89"), 0); // É and é differ
}

TEST(DrawingList, ColumnSortIsStableInBothDirections)
{
    const DrawingRows start{Row("b", "/1"), Row("A", "/2"), Row("a", "/3"), Row("c", "/4"), Row("B", "/5")};
    struct Case
    {
        ColumnSort sort;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {{0, false}, {"/2", "/3", "/1", "/5", "/4"}}, {{0, true}, {"/4", "/1", "/5", "/2", "/3"}},
        {{1, true}, {"/5", "/4", "/3", "/2", "/1"}},  {{2, false}, {"/1", "/2", "/3", "/4", "/5"}},
        {{7, true}, {"/1", "/2", "/3", "/4", "/5"}},
    };
    for (const auto& c : cases) {
        DrawingRows rows = start;
        SortByColumn(rows, c.sort);
        std::vector<std::string> folders;
        for (const auto& row : rows)
            folders.push_back(row.folder);
        EXPECT_EQ(folders, c.folders) << c.sort.column << c.sort.descending;
    }
}

TEST(DrawingList, RowsAddedWhileSortedGoAfterEqualOnes)
{
    DrawingRows rows{Row("a", "/old1"), Row("b", "/old2"), Row("c", "/old3")};
    AddRows(rows, {Row("B", "/new1"), Row("a", "/new2"), Row("b", "/new3")}, ColumnSort{0, false});
    EXPECT_EQ(rows, (DrawingRows{Row("a", "/old1"), Row("a", "/new2"), Row("b", "/old2"), Row("B", "/new1"),
                                 Row("b", "/new3"), Row("c", "/old3")}));
    AddRows(rows, {Row("0")}, std::nullopt);
    EXPECT_EQ(rows.back(), Row("0"));

    // Any batch into any sorted list: the same as sorting the whole list with the new rows behind.
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const ColumnSort sort{static_cast<int>(random() % 4), random() % 2 == 1};
        auto randomRows = [&](std::size_t n) {
            DrawingRows out;
            for (std::size_t i = 0; i < n; ++i) {
                const std::string t(1, "aAbBc"[random() % 5]);
                out.push_back(Row(t, t + std::to_string(round) + "-" + std::to_string(i), t, t));
            }
            return out;
        };
        DrawingRows existing = randomRows(random() % 30);
        SortByColumn(existing, sort);
        const DrawingRows added = randomRows(random() % 30);
        DrawingRows expected = existing;
        expected.insert(expected.end(), added.begin(), added.end());
        SortByColumn(expected, sort);
        InsertSorted(existing, added, sort);
        EXPECT_EQ(existing, expected);
    }
}

} // namespace
} // namespace qv
