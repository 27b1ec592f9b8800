#include "builders/PurgeRoutine.h"

#include "text/LineBreaks.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace qv {
namespace {

// The lines of `count` copies of `block`, then "_Qsave".
std::string Repeated(const std::vector<std::string>& block, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.insert(lines.end(), block.begin(), block.end());
    lines.push_back("_Qsave");
    return JoinCrLf(lines);
}

PurgeChoices Ticked(std::initializer_list<int> indexes, std::string passes)
{
    PurgeChoices choices;
    for (int i : indexes)
        choices.ticked[i] = true;
    choices.passesText = std::move(passes);
    return choices;
}

// One purge with name and confirmation answers per option.
std::vector<std::string> PerKind(std::initializer_list<const char*> options)
{
    std::vector<std::string> block;
    for (const char* option : options)
        block.insert(block.end(), {"_purge", option, "*", "_N"});
    return block;
}

const std::vector<std::string> kAllBlock = {"_purge", "_A", "*", "_N"};

TEST(PurgeRoutine, ItemsKeepTheirCaptionsAndOptions)
{
    const auto& items = PurgeItems();
    EXPECT_EQ(items[7].caption, "Plot  Styles");
    EXPECT_EQ(items[7].option, "_P");
    EXPECT_EQ(items[17].option, "_SE");
    for (int i = 0; i < kPurgeItemCount; ++i)
        EXPECT_EQ(items[i].asksNames, i != 12 && i != 13) << i;
}

TEST(PurgeRoutine, SelectedItemsAreRepeatedForEachPass)
{
    const auto result = BuildPurgeRoutine(Ticked({2, 3}, "2"), "Cad2010");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.text, Repeated(PerKind({"_LA", "_LT"}), 2));
}

TEST(PurgeRoutine, EmptyTextAndZeroLengthTakeNoNameAnswers)
{
    EXPECT_EQ(BuildPurgeRoutine(Ticked({12}, "1"), "Cad2013").text, "_purge\r\n_E\r\n_Qsave");
    EXPECT_EQ(BuildPurgeRoutine(Ticked({11, 13, 14}, " 1 "), "Cad2018").text,
              Repeated({"_purge", "_R", "*", "_N", "_purge", "_Z", "_purge", "_G", "*", "_N"}, 1));
}

TEST(PurgeRoutine, EveryOfferedItemTickedIsTheSinglePurgeOfAll)
{
    PurgeChoices all = Ticked({}, "3");
    all.ticked.fill(true);
    EXPECT_EQ(BuildPurgeRoutine(all, "Cad2018").text, Repeated(kAllBlock, 3));
    EXPECT_EQ(BuildPurgeRoutine(Ticked({0, 1, 2, 3, 4, 5, 6, 7, 8}, "10"), "Cad2005").text, Repeated(kAllBlock, 10));
}

TEST(PurgeRoutine, SelectAllOnR14ThenUntickBlocksGivesSixPurges)
{
    const PurgeSetup setup = PurgeSetupFor("Cad14");
    PurgeChoices choices = Ticked({}, "1");
    EXPECT_EQ(PressPurgeAll(choices, setup, "Select All"), "Clear All");
    EXPECT_TRUE(choices.allFlag);
    for (int i = 0; i < kPurgeItemCount; ++i)
        EXPECT_EQ(choices.ticked[i], i <= 6) << i;

    SetPurgeItem(choices, 0, false);
    EXPECT_FALSE(choices.allFlag);
    EXPECT_EQ(BuildPurgeRoutine(choices, "Cad14").text, Repeated(PerKind({"_D", "_LA", "_LT", "_SH", "_ST", "_M"}), 1));
}

TEST(PurgeRoutine, BricscadWithoutPlotStylesPurgesEachKind)
{
    const auto result = BuildPurgeRoutine(Ticked({0, 1, 2, 3, 4, 5, 6}, "1"), "Bricscad");
    EXPECT_EQ(result.text, Repeated(PerKind({"_B", "_D", "_LA", "_LT", "_SH", "_ST", "_M"}), 1));
}

TEST(PurgeRoutine, NothingToPurgeIsRefused)
{
    PurgeChoices choices = DefaultPurgeChoices(PurgeSetupFor("Cad2018"));
    EXPECT_EQ(PressPurgeAll(choices, PurgeSetupFor("Cad2018"), "Clear All"), "Select All");
    const auto result = BuildPurgeRoutine(choices, "Cad2018");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(*result.message, (UserMessage{"You must select some objects to purge before you can save the routine.",
                                            "Purge Error", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_TRUE(result.text.empty());
}

TEST(PurgeRoutine, PassesOutsideTheListAreRefused)
{
    for (const char* passes : {"", "  ", "0", "-1", "11", "3x", "2.5", "abc", "99999999999"}) {
        const auto result = BuildPurgeRoutine(Ticked({2}, passes), "Cad2010");
        ASSERT_FALSE(result.ok()) << passes;
        EXPECT_EQ(result.message->title, "Purge Error");
        EXPECT_EQ(result.focus, PurgeField::Passes);
        EXPECT_TRUE(result.text.empty());
    }
}

TEST(PurgeRoutine, EveryProductRow)
{
    struct Row
    {
        const char* code;
        int offered;
        const char* caption;
    };
    const Row rows[] = {
        {"Cad2018", 18, "Purge"},
        {"CadLT2018", 18, "Purge"},
        {"Cad2013", 18, "Purge"},
        {"CadLT2013", 18, "Purge in AutoCAD LT 2013 - 2017"},
        {"Cad2010", 11, "Purge"},
        {"CadLT2010", 11, "Purge"},
        {"Cad2007", 11, "Purge"},
        {"CadLT2007", 11, "Purge in AutoCAD LT2007 - LT2009"},
        {"Cad2005", 9, "Purge"},
        {"CadLT2005", 9, "Purge"},
        {"Cad2004", 8, "Purge"},
        {"CadLT2004", 8, "Purge"},
        {"Cad2000", 8, "Purge"},
        {"CadLT2000", 8, "Purge"},
        {"Cad14", 7, "Purge"},
        {"CadLT98", 7, "Purge in LT 97/98"},
        {"Cad13", 0, "Not available in AutoCAD 13"},
        {"Bricscad", 8, "Purge"},
        {"ZWCAD", 8, "Purge"},
        {"cad2010", 8, "Purge"},
        {"", 8, "Purge"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        const PurgeSetup setup = PurgeSetupFor(row.code);
        EXPECT_EQ(setup.offeredCount, row.offered);
        EXPECT_EQ(setup.frameCaption, row.caption);
        EXPECT_EQ(setup.usable, row.offered > 0);

        const PurgeChoices defaults = DefaultPurgeChoices(setup);
        EXPECT_EQ(defaults.passesText, "3");
        for (int i = 0; i < kPurgeItemCount; ++i)
            EXPECT_EQ(defaults.ticked[i], i < row.offered);
        const auto result = BuildPurgeRoutine(defaults, row.code);
        EXPECT_EQ(result.ok(), setup.usable);
        EXPECT_EQ(result.text, setup.usable ? Repeated(kAllBlock, 3) : "");
    }
}

// Ticks that the tab failed to clear never bring in a kind of object the product lacks.
TEST(PurgeRoutine, OnlyOfferedItemsReachTheText)
{
    for (const char* code : {"Cad2018", "CadLT2013", "Cad2010", "CadLT2007", "Cad2005", "Cad2000", "Cad14", "CadLT98",
                             "Cad13", "Bricscad", "ZWCAD"}) {
        SCOPED_TRACE(code);
        const PurgeSetup setup = PurgeSetupFor(code);
        PurgeChoices choices = Ticked({}, "1");
        choices.ticked.fill(true);
        choices.ticked[1] = false; // keeps the per-kind form
        const auto result = BuildPurgeRoutine(choices, code);
        if (!setup.usable) {
            EXPECT_FALSE(result.ok());
            continue;
        }
        std::set<std::string> expected, written;
        for (int i = 0; i < setup.offeredCount; ++i) {
            if (i != 1)
                expected.insert(std::string(PurgeItems()[i].option));
        }
        const auto lines = SplitLines(result.text);
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i] == "_purge") {
                EXPECT_TRUE(written.insert(std::string(lines[i + 1])).second) << lines[i + 1];
            }
        }
        EXPECT_EQ(written, expected);
    }
}

} // namespace
} // namespace qv
