#include "builders/PurgeRoutine.h"

#include "text/LineBreaks.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

// The lines of `count` copies of `block`, then "_Qsave".
std::string repeated(const std::vector<std::string>& block, int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.insert(lines.end(), block.begin(), block.end());
    lines.push_back("_Qsave");
    return joinCrLf(lines);
}

PurgeChoices ticked(std::initializer_list<int> indexes, std::string passes)
{
    PurgeChoices choices;
    for (int i : indexes)
        choices.ticked[i] = true;
    choices.passesText = std::move(passes);
    return choices;
}

// One purge with name and confirmation answers per option.
std::vector<std::string> perKind(std::initializer_list<const char*> options)
{
    std::vector<std::string> block;
    for (const char* option : options)
        block.insert(block.end(), {"_purge", option, "*", "_N"});
    return block;
}

const std::vector<std::string> kAllBlock = {"_purge", "_A", "*", "_N"};

TEST(PurgeRoutine, BuildsTheExpectedText)
{
    PurgeChoices r14 = ticked({}, "1");
    EXPECT_EQ(togglePurgeAll(r14, purgeSetupFor("Cad14"), "Select All"), "Clear All");
    setPurgeItem(r14, 0, false);
    // name, choices, product, text
    const std::tuple<const char*, PurgeChoices, const char*, std::string> cases[] = {
        {"selected items, each pass", ticked({2, 3}, "2"), "Cad2010", repeated(perKind({"_LA", "_LT"}), 2)},
        {"empty text takes no name answers", ticked({12}, "1"), "Cad2013", "_purge\r\n_E\r\n_Qsave"},
        {"nor does zero length", ticked({11, 13, 14}, " 1 "), "Cad2018",
         repeated({"_purge", "_R", "*", "_N", "_purge", "_Z", "_purge", "_G", "*", "_N"}, 1)},
        {"every offered item ticked is the purge of all", ticked({0, 1, 2, 3, 4, 5, 6, 7, 8}, "10"), "Cad2005",
         repeated(kAllBlock, 10)},
        {"select all on R14, then untick blocks", r14, "Cad14",
         repeated(perKind({"_D", "_LA", "_LT", "_SH", "_ST", "_M"}), 1)},
        {"Bricscad without plot styles", ticked({0, 1, 2, 3, 4, 5, 6}, "1"), "Bricscad",
         repeated(perKind({"_B", "_D", "_LA", "_LT", "_SH", "_ST", "_M"}), 1)},
    };
    for (const auto& [name, choices, product, text] : cases) {
        const auto result = buildPurgeRoutine(choices, product);
        EXPECT_TRUE(result.ok()) << name;
        EXPECT_EQ(result.text, text) << name;
    }
}

TEST(PurgeRoutine, RefusalsBuildNoText)
{
    PurgeChoices none = defaultPurgeChoices(purgeSetupFor("Cad2018"));
    EXPECT_EQ(togglePurgeAll(none, purgeSetupFor("Cad2018"), "Clear All"), "Select All");
    const auto result = buildPurgeRoutine(none, "Cad2018");
    EXPECT_EQ(result.message, (UserMessage{"You must select some objects to purge before you can save the routine.",
                                           "Purge Error", MessageIcon::Exclamation, MessageButtons::Ok}));
    EXPECT_TRUE(result.text.empty());

    for (const char* passes : {"", "  ", "0", "-1", "11", "3x", "2.5", "abc", "99999999999"}) {
        const auto refused = buildPurgeRoutine(ticked({2}, passes), "Cad2010");
        EXPECT_EQ(refused.message.value().text, "Select the number of purge passes, from 1 to 10.") << passes;
        EXPECT_EQ(refused.focus, PurgeField::Passes);
        EXPECT_TRUE(refused.text.empty());
    }
}

TEST(PurgeRoutine, EveryProductRow)
{
    // Product codes that share a row, items offered, frame caption.
    const std::tuple<std::vector<const char*>, int, const char*> rows[] = {
        {{"Cad2018", "CadLT2018", "Cad2013"}, 18, "Purge"},
        {{"CadLT2013"}, 18, "Purge in AutoCAD LT 2013 - 2017"},
        {{"Cad2010", "CadLT2010", "Cad2007"}, 11, "Purge"},
        {{"CadLT2007"}, 11, "Purge in AutoCAD LT2007 - LT2009"},
        {{"Cad2005", "CadLT2005"}, 9, "Purge"},
        {{"Cad2004", "CadLT2004", "Cad2000", "CadLT2000", "Bricscad", "ZWCAD", "cad2010", ""}, 8, "Purge"},
        {{"Cad14"}, 7, "Purge"},
        {{"CadLT98"}, 7, "Purge in LT 97/98"},
        {{"Cad13"}, 0, "Not available in AutoCAD 13"},
    };
    for (const auto& [codes, offered, caption] : rows)
        for (const char* code : codes) {
            SCOPED_TRACE(code);
            const PurgeSetup setup = purgeSetupFor(code);
            EXPECT_EQ(std::tuple(setup.offeredCount, setup.frameCaption, setup.usable),
                      std::tuple(offered, caption, offered > 0));

            const PurgeChoices defaults = defaultPurgeChoices(setup);
            EXPECT_EQ(defaults.passesText, "3");
            for (int i = 0; i < kPurgeItemCount; ++i)
                EXPECT_EQ(defaults.ticked[i], i < offered);
            const auto result = buildPurgeRoutine(defaults, code);
            EXPECT_EQ(result.ok(), setup.usable);
            EXPECT_EQ(result.text, setup.usable ? repeated(kAllBlock, 3) : "");

            // Stray ticks on items the product lacks never reach the text: one purge per offered item but one.
            PurgeChoices most = ticked({}, "1");
            most.ticked.fill(true);
            most.ticked[1] = false; // keeps the per-kind form
            const std::string text = buildPurgeRoutine(most, code).text;
            const auto lines = splitLines(text);
            EXPECT_EQ(std::count(lines.begin(), lines.end(), "_purge"), std::max(0, offered - 1));
        }
}

} // namespace
} // namespace qv
