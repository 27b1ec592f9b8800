#include "batch/DrawingList.h"

#include "text/Paths.h"

#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace qv {
namespace {

DrawingRow makeRow(std::string file, std::string folder = "/d", std::string routine = "", std::string key = "")
{
    return DrawingRow{std::move(file), std::move(folder), std::move(routine), std::move(key)};
}

// One column's text of every row (0: file, 1: folder).
std::vector<std::string> columnTexts(const DrawingRows& rows, int column = 0)
{
    std::vector<std::string> out;
    for (const auto& row : rows)
        out.push_back(columnText(row, column));
    return out;
}

TEST(DrawingList, PathsAreSplitAddedInOrderAndUnsafeOnesRefused)
{
    DrawingRows rows{makeRow("old.dwg")};
    const std::vector<std::string> bad = {
        "/a/li\nne.dwg", "/a/cr\r.dwg",   "/a/q\"uote.dwg", "/fo\"lder/ok.dwg", "/a/folder/",
        "/a/t\tab.dwg",  "/t\tab/ok.dwg", "/a/\x01.dwg",    "top.dwt",          "/"};
    std::vector<std::string> paths = {"/jobs/a/plan.dwg", "/jobs/a/plan.dwg", ""};
    paths.insert(paths.end(), bad.begin(), bad.end());
    // Drawings in a root folder keep the root as their folder.
    paths.insert(paths.end(), {"/jobs/b/x.dxf", "/root.dwg", "C:/drive.dwg", "//net.dwg", "CD:/x.dwg"});
    const auto outcome = addFromDialog(rows, paths);
    EXPECT_EQ(outcome.added, 7u);
    EXPECT_EQ(outcome.refused, bad);
    EXPECT_EQ(rows, (DrawingRows{makeRow("old.dwg"), makeRow("plan.dwg", "/jobs/a"), makeRow("plan.dwg", "/jobs/a"),
                                 makeRow("x.dxf", "/jobs/b"), makeRow("root.dwg", "/"), makeRow("drive.dwg", "C:/"),
                                 makeRow("net.dwg", "/"), makeRow("x.dwg", "CD:")}));

    const UserMessage message = refusedDrawingsMessage(outcome.refused);
    EXPECT_EQ(message.title, "Quorvel Error");
    EXPECT_NE(message.text.find("/a/li<LF>ne.dwg\r\n"), std::string::npos);
    EXPECT_NE(message.text.find("/fo\"lder/ok.dwg"), std::string::npos);
    EXPECT_NE(message.text.find("\r\n/a/cr<CR>.dwg\r\n"), std::string::npos);
    EXPECT_NE(message.text.find("\r\n/a/t<TAB>ab.dwg\r\n/t<TAB>ab/ok.dwg\r\n/a/<1>.dwg\r\n"), std::string::npos);
    EXPECT_NE(refusedDrawingsMessage(std::vector<std::string>(25, "/a/\"x.dwg")).text.find("... and 5 more."),
              std::string::npos);

    // A drop adds nothing when its first path is a folder; only the first path is looked at.
    const auto isFolder = [](const std::string& p) { return p.ends_with("dir"); };
    DrawingRows dropped;
    addDropped(dropped, {"/x/dir", "/x/a.dwg"}, isFolder);
    addDropped(dropped, {"/x/a.dwg", "/x/dir"}, isFolder);
    EXPECT_EQ(columnTexts(dropped), (std::vector<std::string>{"a.dwg", "dir"}));
}

TEST(DrawingList, AssignAndDeleteKeepOrderAndEmptyTheKeys)
{
    const DrawingRows start{makeRow("1", "/d", "R1", "k1"), makeRow("2", "/d", "R2", "k2"),
                            makeRow("3", "/d", "R3", "k3")};
    const RowSelection firstAndThird = selectionFromIndexes({2, 0, 99}, 3);
    EXPECT_EQ(firstAndThird, (RowSelection{true, false, true}));

    // The routines after a change to the start rows; every change empties the keys.
    const auto after = [&start](const std::function<void(DrawingRows&)>& change) {
        DrawingRows rows = start;
        change(rows);
        EXPECT_EQ(columnTexts(rows, 3), std::vector<std::string>(rows.size(), ""));
        return columnTexts(rows, 2);
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ(after([](auto& r) { assignToAll(r, "New"); }), (Texts{"New", "New", "New"}));
    EXPECT_EQ(after([&](auto& r) { assignToSelected(r, firstAndThird, "New"); }), (Texts{"New", "R2", "New"}));
    // A shorter selection leaves the rest unselected.
    EXPECT_EQ(after([](auto& r) { assignToSelected(r, RowSelection{false, true}, ""); }), (Texts{"R1", "", "R3"}));
    EXPECT_EQ(after([&](auto& r) { removeSelected(r, firstAndThird); }), Texts{"R2"});
    EXPECT_EQ(after([](auto& r) { removeSelected(r, RowSelection{}); }), (Texts{"R1", "R2", "R3"}));
}

TEST(DrawingList, SortOrderLabelFlips)
{
    const std::pair<std::string, SortOrderStep> steps[] = {
        {"", {true, "1"}}, {"0", {true, "1"}}, {"1", {false, "0"}}, {" 1", {false, "0"}}, {"2", {true, "1"}}};
    for (const auto& [label, step] : steps) {
        const auto next = nextSortOrder(label);
        EXPECT_EQ(std::pair(next.descending, next.sortOrderFlag), std::pair(step.descending, step.sortOrderFlag))
            << label;
    }
}

TEST(DrawingList, TextComparisonIgnoresAsciiCaseOnly)
{
    EXPECT_EQ(compareListText("abc", "ABC"), 0);
    EXPECT_LT(compareListText("a", "B"), 0);
    EXPECT_LT(compareListText("ab", "abc"), 0);
    EXPECT_LT(compareListText("10", "9"), 0);              // text, not numbers
    EXPECT_LT(compareListText("z", "\xC3\xA9"), 0);        // é after ASCII
    EXPECT_GT(compareListText("\xC3\xA9", "\xC3\x89"), 0); // É and é differ
}

TEST(DrawingList, ColumnSortIsStableInBothDirections)
{
    const DrawingRows start{makeRow("b", "/1"), makeRow("A", "/2"), makeRow("a", "/3"), makeRow("c", "/4"),
                            makeRow("B", "/5")};
    const std::pair<ColumnSort, std::vector<std::string>> cases[] = {
        {{0, false}, {"/2", "/3", "/1", "/5", "/4"}}, {{0, true}, {"/4", "/1", "/5", "/2", "/3"}},
        {{1, true}, {"/5", "/4", "/3", "/2", "/1"}},  {{2, false}, {"/1", "/2", "/3", "/4", "/5"}},
        {{7, true}, {"/1", "/2", "/3", "/4", "/5"}},
    };
    for (const auto& [sort, folders] : cases) {
        DrawingRows rows = start;
        sortByColumn(rows, sort);
        EXPECT_EQ(columnTexts(rows, 1), folders) << sort.column << sort.descending;
    }
}

TEST(DrawingList, RowsAddedWhileSortedGoAfterEqualOnes)
{
    DrawingRows unsorted{makeRow("b"), makeRow("a")};
    addRows(unsorted, {makeRow("0")}, std::nullopt);
    EXPECT_EQ(columnTexts(unsorted), (std::vector<std::string>{"b", "a", "0"}));

    // Any batch into any sorted list: the same as sorting the whole list with the new rows behind.
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        const ColumnSort sort{static_cast<int>(random() % 4), random() % 2 == 1};
        auto randomRows = [&](std::size_t n) {
            DrawingRows out;
            for (std::size_t i = 0; i < n; ++i) {
                const std::string t(1, "aAbBc"[random() % 5]);
                out.push_back(makeRow(t, t + std::to_string(round) + "-" + std::to_string(i), t, t));
            }
            return out;
        };
        DrawingRows existing = randomRows(random() % 30);
        sortByColumn(existing, sort);
        const DrawingRows added = randomRows(random() % 30);
        DrawingRows expected = existing;
        expected.insert(expected.end(), added.begin(), added.end());
        sortByColumn(expected, sort);
        addRows(existing, added, sort);
        EXPECT_EQ(existing, expected);
    }
}

TEST(DrawingList, DuplicatesOfListedOrEarlierAddedRowsAreFound)
{
    const DrawingRows listed{makeRow("a.dwg", "/d"), makeRow("B.dwg", "/e/")};
    const struct
    {
        DrawingRows added;
        bool ignoreCase;
        std::vector<std::size_t> duplicates;
    } cases[] = {
        {{makeRow("a.dwg", "/d/"), makeRow("a.dwg", "/x"), makeRow("b.dwg", "/e")}, false, {0}},
        {{makeRow("A.DWG", "/D"), makeRow("b.dwg", "/e")}, true, {0, 1}},
        {{makeRow("n.dwg"), makeRow("m.dwg"), makeRow("n.dwg", "/d/")}, false, {2}}, // twice in one add
        {{makeRow("a.dwg", "/dd"), makeRow("da.dwg", "/")}, false, {}},              // joined, not run together
    };
    for (const auto& c : cases)
        EXPECT_EQ(findDuplicates(listed, c.added, c.ignoreCase), c.duplicates) << c.added.front().folder;

    // The question names the duplicates' paths, at most 20, then how many more.
    const DrawingRows many(23, makeRow("f.dwg"));
    std::vector<std::size_t> all(23);
    std::iota(all.begin(), all.end(), std::size_t{0});
    const std::string text = duplicateDrawingsQuestion(many, all).text;
    const std::string path = joinPath("/d", "f.dwg");
    EXPECT_TRUE(text.starts_with("23 of the drawings added are already in the list:\r\n\r\n" + path + "\r\n")) << text;
    EXPECT_NE(text.find(path + "\r\n... and 3 more.\r\n\r\nLeave them out?"), std::string::npos);
}

TEST(DrawingList, AssigningToEveryRowCountsTheRoutinesItReplaces)
{
    const DrawingRows rows{makeRow("1", "/d", "A"), makeRow("2", "/d", ""), makeRow("3", "/d", "B"),
                           makeRow("4", "/d", "A")};
    const std::pair<std::string, std::size_t> cases[] = {{"A", 1}, {"B", 2}, {"C", 3}, {"", 3}};
    for (const auto& [name, replaced] : cases)
        EXPECT_EQ(rowsWithOtherRoutine(rows, name), replaced) << name;

    EXPECT_TRUE(assignToAllQuestion(1, 4, "Plot A")
                    .text.starts_with("Every drawing in the list will get the routine \"Plot A\".\r\n\r\n1 of the 4 "
                                      "drawings already has another routine"));
    EXPECT_TRUE(assignToAllQuestion(3, 4, "").text.starts_with(
        "Every drawing in the list will be left without a routine.\r\n\r\n3 of the 4 drawings already have"));
}

TEST(DrawingList, SelectionFollowsItsRowsThroughASort)
{
    DrawingRows rows{makeRow("c"), makeRow("a"), makeRow("b"), makeRow("a2")};
    RowSelection selected{true, false, true}; // c and b; shorter than the list
    sortByColumn(rows, ColumnSort{0, false}, selected);
    EXPECT_EQ(columnTexts(rows), (std::vector<std::string>{"a", "a2", "b", "c"}));
    EXPECT_EQ(selected, (RowSelection{false, false, true, true}));
}

} // namespace
} // namespace qv
