#include "builders/PaperSizes.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

TEST(PaperSizes, StandardsAndTheirLists)
{
    const std::vector<std::pair<std::string, int>> expected = {
        {"Manually Enter Size", 7},
        {"Custom List", 6},
        {"ANSI", 1},
        {"ISO", 2},
        {"ARCH", 3},
        {"DIN", 4},
        {"JIS", 5},
        {"Pixels", 8},
    };
    std::vector<std::pair<std::string, int>> standards;
    for (const PaperStandard& s : paperStandards())
        standards.emplace_back(std::string(s.entry), s.code);
    EXPECT_EQ(standards, expected);

    // standard, number of names, first and last name, prompt, a name at a known place and that place
    const std::tuple<int, std::size_t, const char*, const char*, const char*, const char*, std::size_t> cases[] = {
        {1, 37, "ANSI A (11.00 x 8.50 Inches)", "E+ 36x48 in", "Select ANSI Size", "A+ 9x12 in", 28},
        {2, 47, "A4", "Expand 700 mm (1000.00 x 700.00 MM)", "Select ISO Size", "ISO A1 (841.00 x 594.00 MM)", 6},
        {3, 32, "ARCH A (9.00 x 12.00 Inches)", "ARCH expand E3 (39.00 x 27.00 Inches)", "Select ARCH Size",
         "ARCH expand A (12.00 x 9.00 Inches)", 16},
        {4, 10, "DIN C0 (917.00 x 1297.00 MM)", "DIN expand C4 (324.00 x 229.00 MM)", "Select DIN Size",
         "DIN expand C0 (917.00 x 1297.00 MM)", 5},
        {5, 11, "JIS B1 (728.00 x 1030.00 MM)", "B5 (JIS)", "Select JIS Size", "JIS expand B5 (257.00 x 182.00 MM)", 9},
        {8, 71, "User 1 (1115.00 x 1723.00 Pixels)", "VGA (480.00 x 640.00 Pixels)", "Select Pixels",
         "T_129x91_1.416(ISO_A1)", 37},
        {0, 37, "ANSI A (11.00 x 8.50 Inches)", "E+ 36x48 in", "Select ANSI Size", "B 11x17 in", 29},
        {9, 37, "ANSI A (11.00 x 8.50 Inches)", "E+ 36x48 in", "Select ANSI Size", "C 17x22 in", 31},
    };
    for (const auto& [code, count, first, last, prompt, somewhere, at] : cases) {
        const PaperStandardView view = paperStandardView(code, std::nullopt);
        ASSERT_EQ(view.names.size(), count) << code;
        EXPECT_TRUE(view.showList);
        EXPECT_EQ(view.names.front(), first) << code;
        EXPECT_EQ(view.names.back(), last) << code;
        EXPECT_EQ(view.names[at], somewhere) << code;
        EXPECT_EQ(view.listText, prompt) << code;
        EXPECT_FALSE(view.paperLabel.has_value());
        EXPECT_EQ(standardPaperPrompt(code), prompt);
    }
    EXPECT_EQ(paperStandardView(2, std::nullopt).names[3], "A4 210 x 297 mm");

    // The custom list is the file's; the manual standard offers no list.
    // name, entries of the file, names listed, text shown
    const std::tuple<const char*, CustomPaperEntries, std::vector<std::string>, const char*> custom[] = {
        {"no file", std::nullopt, {}, "No Custom Sizes"},
        {"an empty file", std::vector<std::string>{}, {}, "No Custom Sizes"},
        {"names", std::vector<std::string>{"Roll 36", "", "Sheet"}, {"Roll 36", "", "Sheet"}, "Select Custom Size"},
        {"a blank last entry", std::vector<std::string>{"Roll 36", ""}, {"Roll 36", ""}, "No Custom Sizes"},
    };
    for (const auto& [name, entries, names, text] : custom) {
        const PaperStandardView view = paperStandardView(kCustomPaperCode, entries);
        EXPECT_TRUE(view.showList) << name;
        EXPECT_EQ(view.names, names) << name;
        EXPECT_EQ(view.listText, text) << name;
    }
    const PaperStandardView manual = paperStandardView(kManualPaperCode, std::nullopt);
    EXPECT_FALSE(manual.showList);
    EXPECT_EQ(manual.paperLabel, "Enter paper size");
}

TEST(PaperSizes, ReadsEntriesAsTheSequentialReaderDoes)
{
    // name, bytes, entries
    const std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
        {"quoted lines", "\"Roll 36\"\r\n\"A4, long\"\r\n", {"Roll 36", "A4, long"}},
        {"no line break at the end", "\"One\"\r\n\"Two\"", {"One", "Two"}},
        {"an empty line is an empty entry", "\"One\"\r\n\r\n", {"One", ""}},
        {"an unquoted line splits at commas", "  Roll 36 , Sheet\t\r\n", {"Roll 36", "Sheet"}},
        {"blanks kept inside quotes", "\" padded \"\r\n", {" padded "}},
        {"LF and lone CR", "\"A\"\n\"B\"\r\"C\"", {"A", "B", "C"}},
        {"Windows-1252", "\"Format \xE9tendu\"\r\n", {"Format \xC3\xA9tendu"}},
        // A damaged line keeps its text and leaves the names after it alone: a name with line breaks could not
        // be saved again, so the dialog could never save the list.
        {"an unclosed quote ends with its line", "\"Open\r\n\"Next\"\r\n", {"Open", "Next"}},
        {"an unclosed quote on the last line", "\"A\"\n\"Open", {"A", "Open"}},
        {"an unclosed quote before a lone CR", "\"Open\r\"B\"", {"Open", "B"}},
        {"empty file", "", {}},
    };
    for (const auto& [name, bytes, entries] : cases)
        EXPECT_EQ(parseCustomPaperEntries(bytes), entries) << name;
}

TEST(PaperSizes, WritesQuotedLinesAtomically)
{
    TempDir dir;
    EXPECT_FALSE(readCustomPaperEntries(dir.path()).has_value());

    ASSERT_TRUE(writeCustomPapers(dir.path(), {"Roll 36", "Format \xC3\xA9tendu"}));
    EXPECT_EQ(dir.read("NewPaper.txt"), "\"Roll 36\"\r\n\"Format \xE9tendu\"\r\n");
    EXPECT_EQ(readCustomPaperEntries(dir.path()), (std::vector<std::string>{"Roll 36", "Format \xC3\xA9tendu"}));

    // Names that could not be read back, or stored, write nothing and keep the old file.
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"ok", "24\" roll"}, {"two\r\nlines"}, {"\xE2\x82\xAC ok", "\xE6\x97\xA5"}}) {
        const Status status = writeCustomPapers(dir.path(), bad);
        EXPECT_FALSE(status);
        EXPECT_EQ(status.error().number, ErrInvalidText);
        EXPECT_EQ(dir.read("NewPaper.txt"), "\"Roll 36\"\r\n\"Format \xE9tendu\"\r\n");
    }
    EXPECT_FALSE(writeCustomPapers(dir.file("missing"), {"A"}));

    ASSERT_TRUE(writeCustomPapers(dir.path(), {}));
    EXPECT_EQ(dir.read("NewPaper.txt"), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.native("")), {}), 1); // no temporary left
}

TEST(PaperSizes, CustomPaperDialog)
{
    TempDir dir;
    dir.write("NewPaper.txt", "\"Roll 36\"\r\n\"\"\r\n\"roll 36\"\r\n\"Sheet\"\r\n");
    CustomPaperList list = loadCustomPapers(dir.path());
    EXPECT_TRUE(list.loaded);
    // A repeated name is kept once and the names after it are not lost.
    EXPECT_EQ(list.names, (std::vector<std::string>{"Roll 36", "", "Sheet"}));
    EXPECT_EQ(listedCustomPapers(list), (std::vector<std::string>{"Roll 36", "Sheet"}));

    const UserMessage empty{"Please Enter a Paper Size", "Quorvel Error", MessageIcon::Information, MessageButtons::Ok};
    const UserMessage duplicate{"This name already exists in the custom paper size list", "Quorvel Information",
                                MessageIcon::Information, MessageButtons::Ok};
    // typed, added, message, clear, focus
    const std::tuple<const char*, bool, std::optional<UserMessage>, bool, bool> cases[] = {
        {"   ", false, empty, false, true},
        {"  Plan B  ", true, std::nullopt, true, false},
        {"PLAN b", false, duplicate, true, false},
        {" sheet", false, duplicate, true, false},
    };
    for (const auto& [typed, added, message, clear, focus] : cases) {
        const AddPaperOutcome outcome = addCustomPaper(list, typed);
        EXPECT_EQ(outcome.added, added) << typed;
        EXPECT_EQ(outcome.message, message) << typed;
        EXPECT_EQ(outcome.clearText, clear) << typed;
        EXPECT_EQ(outcome.focusNewPaper, focus) << typed;
    }
    // Names the file cannot hold are refused where they are typed: once listed, no save of the list could succeed.
    for (const char* unstorable : {"24\" roll", "two\r\nlines", "lone\rbreak", "\xE6\x97\xA5"}) {
        const AddPaperOutcome refused = addCustomPaper(list, unstorable);
        EXPECT_FALSE(refused.added) << unstorable;
        EXPECT_TRUE(refused.focusNewPaper) << unstorable;
        EXPECT_EQ(refused.message->text, "A paper size name cannot hold a double quote, a line break or a character "
                                         "outside the Windows-1252 code page.");
    }
    EXPECT_EQ(listedCustomPapers(list), (std::vector<std::string>{"Roll 36", "Sheet", "Plan B"}));
    EXPECT_TRUE(list.changed);

    removeCustomPaper(list, "ROLL 36");
    ASSERT_TRUE(saveCustomPapersIfChanged(dir.path(), list));
    EXPECT_EQ(dir.read("NewPaper.txt"), "\"Sheet\"\r\n\"Plan B\"\r\n");

    // Opened again without a change, OK leaves the file alone.
    dir.write("NewPaper.txt", "Sheet\r\n");
    CustomPaperList unchanged = loadCustomPapers(dir.path());
    removeCustomPaper(unchanged, "not there");
    EXPECT_FALSE(unchanged.changed);
    ASSERT_TRUE(saveCustomPapersIfChanged(dir.path(), unchanged));
    EXPECT_EQ(dir.read("NewPaper.txt"), "Sheet\r\n");

    // Without a file the dialog starts empty; its first name creates the file.
    TempDir none;
    CustomPaperList fresh = loadCustomPapers(none.path());
    EXPECT_FALSE(fresh.loaded);
    EXPECT_TRUE(addCustomPaper(fresh, "Roll").added);
    ASSERT_TRUE(saveCustomPapersIfChanged(none.path(), fresh));
    EXPECT_EQ(none.read("NewPaper.txt"), "\"Roll\"\r\n");
}

} // namespace
} // namespace qv
