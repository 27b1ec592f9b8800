#include "builders/PurgeRoutine.h"

#include "text/LineBreaks.h"

#include <algorithm>
#include <gtest/gtest.h>
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

TEST(PurgeRoutine, BuildsTheExpectedText)
{
    PurgeChoices r14 = Ticked({}, "1");
    EXPECT_EQ(PressPurgeAll(r14, PurgeSetupFor("Cad14"), "Select All"), "Clear All");
    SetPurgeItem(r14, 0, false);
    struct Case
    {
        const char* name;
        PurgeChoices choices;
        const char* product;
        std::string text;
    };
    const Case cases[] = {
        {"selected items, each pass", Ticked({2, 3}, "2"), "Cad2010", Repeated(PerKind({"_LA", "_LT"}), 2)},
        {"empty text takes no name answers", Ticked({12}, "1"), "Cad2013", "_purge\r\n_E\r\n_Qsave"},
        {"nor does zero length", Ticked({11, 13, 14}, " 1 "), "Cad2018",
         Repeated({"_purge", "_R", "*", "_N", "_purge", "_Z", "_purge", "_G", "*", "_N"}, 1)},
        {"every offered item ticked is the purge of all", Ticked({0, 1, 2, 3, 4, 5, 6, 7, 8}, "10"), "Cad2005",
         Repeated(kAllBlock, 10)},
        {"select all on R14, then untick blocks", r14, "Cad14",
         Repeated(PerKind({"_D", "_LA", "_LT", "_SH", "_ST", "_M"}), 1)},
        {"Bricscad without plot styles", Ticked({0, 1, 2, 3, 4, 5, 6}, "1"), "Bricscad",
         Repeated(PerKind({"_B", "_D", "_LA", "_LT", "_SH", "_ST", "_M"}), 1)},
    };
    for (const Case& c : cases) {
        const auto result = BuildPurgeRoutine(c.choices, c.product);
        EXPECT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(result.text, c.text) << c.name;
    }
}

TEST(PurgeRoutine, RefusalsBuildNoText)
{
    PurgeChoices none = DefaultPurgeChoices(PurgeSetupFor("Cad2018"));
    EXPECT_EQ(PressPurgeAll(none, PurgeSetupFor("Cad2018"), "Clear All"), "Select All");
    const auto result = BuildPurgeRoutine(none, "Cad2018");
    EXPECT_EQ(result.message, (UserMessage{"You must select some objects to purge before you can save the routine.",
                                           "Purge Error", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_TRUE(result.text.empty());

    for (const char* passes : {"", "  ", "0", "-1", "11", "3x", "2.5", "abc", "99999999999"}) {
        const auto refused = BuildPurgeRoutine(Ticked({2}, passes), "Cad2010");
        EXPECT_EQ(refused.message.value().text, "Select the number of purge passes, from 1 to 10.") << passes;
        EXPECT_EQ(refused.focus, PurgeField::Passes);
        EXPECT_TRUE(refused.text.empty());
    }
}

TEST(PurgeRoutine, EveryProductRow)
{
    // Product code, items offered, frame caption.
    const std::tuple<const char*, int, const char*> rows[] = {
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
    for (const auto& [code, offered, caption] : rows) {
        SCOPED_TRACE(code);
        const PurgeSetup setup = PurgeSetupFor(code);
        EXPECT_EQ(std::tuple(setup.offeredCount, setup.frameCaption, setup.usable),
                  std::tuple(offered, caption, offered > 0));

        const PurgeChoices defaults = DefaultPurgeChoices(setup);
        EXPECT_EQ(defaults.passesText, "3");
        for (int i = 0; i < kPurgeItemCount; ++i)
            EXPECT_EQ(defaults.ticked[i], i < offered);
        const auto result = BuildPurgeRoutine(defaults, code);
        EXPECT_EQ(result.ok(), setup.usable);
        EXPECT_EQ(result.text, setup.usable ? Repeated(kAllBlock, 3) : "");

        // Stray ticks on items the product lacks never reach the text: one purge per offered item but one.
        PurgeChoices most = Ticked({}, "1");
        most.ticked.fill(true);
        most.ticked[1] = false; // keeps the per-kind form
        const std::string text = BuildPurgeRoutine(most, code).text;
        const auto lines = SplitLines(text);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "_purge"), std::max(0, offered - 1));
    }
}

} // namespace
} // namespace qv
