#include "text/CodePage.h"
#include "text/LineBreaks.h"
#include "text/Paths.h"
#include "text/TextUtil.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(CodePage, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const auto back = utf8ToCp1252(cp1252ToUtf8(all));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value(), all);
}

TEST(CodePage, MapsTheHighCharactersOfWindows1252)
{
    // UTF-8, Windows-1252
    const std::pair<const char*, const char*> cases[] = {
        {"\xE2\x82\xAC", "\x80"}, // euro sign
        {"\xC3\xA9", "\xE9"},     // e acute
        {"\xC5\xA0", "\x8A"},     // S caron
        {"\xE2\x80\x9C", "\x93"}, // left double quotation mark
        {"plain", "plain"},
    };
    for (const auto& [utf8, bytes] : cases) {
        EXPECT_EQ(utf8ToCp1252(utf8).value(), bytes) << utf8;
        EXPECT_EQ(cp1252ToUtf8(bytes), utf8) << utf8;
    }
}

TEST(CodePage, RefusesWhatItCannotHoldAndNamesTheCharacter)
{
    for (const char* text : {"\xE4\xB8\xAD", "a\xF0\x9F\x98\x80", "\xC4\x80"}) {
        const auto result = utf8ToCp1252(text);
        ASSERT_FALSE(result.ok()) << text;
        EXPECT_EQ(result.error().number, ErrInvalidText);
        EXPECT_NE(result.error().description.find("Windows-1252"), std::string::npos);
    }
    EXPECT_FALSE(utf8ToCp1252("\xC3").ok());         // cut short
    EXPECT_FALSE(utf8ToCp1252("\xC0\xAF").ok());     // overlong
    EXPECT_FALSE(utf8ToCp1252("\xED\xA0\x80").ok()); // surrogate
}

TEST(Text, SplitsLinesAtEveryKindOfBreak)
{
    const auto lines = splitLines("a\r\nb\rc\nd\r\n\r\ne");
    const std::vector<std::string_view> expected = {"a", "b", "c", "d", "", "e"};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines("x\r\n").size(), 1u);

    // Trimming takes spaces only.
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(trimSpaces("    "), "");
    EXPECT_EQ(parseInt16(" 12 "), 12);
    EXPECT_EQ(parseInt16("-3"), -3);
    EXPECT_EQ(parseInt16("abc"), std::nullopt);
    EXPECT_EQ(parseInt16("40000"), std::nullopt);
}

TEST(Paths, JoinsAndSplitsWithOneSeparator)
{
    const std::string sep(1, pathSeparator());
    EXPECT_EQ(joinPath("folder", "a.dwg"), "folder" + sep + "a.dwg");
    EXPECT_EQ(joinPath("folder" + sep, "a.dwg"), "folder" + sep + "a.dwg");
    EXPECT_EQ(stripTrailingSeparator("f" + sep), "f");
    EXPECT_EQ(stripTrailingSeparator("f"), "f");
    const auto [folder, name] = splitAtLastSeparator("/jobs/site/plan.dwg");
    EXPECT_EQ(folder, "/jobs/site");
    EXPECT_EQ(name, "plan.dwg");
    EXPECT_EQ(splitAtLastSeparator("plan.dwg").first, "");
}

TEST(Errors, FormatsTheOneMessageShape)
{
    const Error error = makeError(ErrPathNotFound, "/x/y");
    EXPECT_EQ(formatErrorMessage(error, "WriteList"),
              "Error Number 76 in routine WriteList \r\n\r\nPath not found: /x/y");
    EXPECT_EQ(describeErrorNumber(70), "Permission denied");
    EXPECT_EQ(describeErrorNumber(53), "File not found");
}

} // namespace
} // namespace qv
