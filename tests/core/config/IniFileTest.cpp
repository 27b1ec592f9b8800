#include "config/IniFile.h"

#include <gtest/gtest.h>
#include <tuple>

namespace qv::ini {
namespace {

TEST(IniRead, FollowsThePrivateProfileRules)
{
    const std::string u = "Unknown";
    // name, file, section, key, value read
    const std::tuple<const char*, std::string, const char*, const char*, std::string> cases[] = {
        {"lone LF and CR, no final break", "[S]\nk=v\rj=w", "S", "j", "w"},
        {"section case", "[db_Address]\r\ndbAddress=x\r\n", "DB_ADDRESS", "dbaddress", "x"},
        {"brackets trimmed", "[ \tS\v ]\r\nk=v\r\n", "S", "k", "v"},
        {"text after bracket", "[S] junk\r\nk=v\r\n", "S", "k", "v"},
        {"no closing bracket", "[S\r\nk=v\r\n", "S", "k", "v"},
        {"key and value trimmed", "[S]\r\n \tk \t= \t v v \t\r\n", "S", "k", "v v"},
        {"double quotes removed", "[S]\r\nk=\" a \"\r\n", "S", "k", " a "},
        {"single quotes removed", "[S]\r\nk='a'\r\n", "S", "k", "a"},
        {"mismatched quotes kept", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
        {"lone quote kept", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"no inline comment", "[S]\r\nk=v ;c\r\n", "S", "k", "v ;c"},
        {"comment never matches", "[S]\r\n;k=v\r\n", "S", ";k", u},
        {"hash is not a comment", "[S]\r\n#k=v\r\n", "S", "#k", "v"},
        {"line without equals", "[S]\r\nk\r\n", "S", "k", u},
        {"before first section", "k=v\r\n[S]\r\n", "S", "k", u},
        {"first section wins", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", u},
        {"first key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"missing section", "[T]\r\nk=v\r\n", "S", "k", u},
        {"empty file", "", "S", "k", u},
        {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
        {"byte-order mark hides line one", "\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k", u},
        {"code page letters fold", "[\xC9T\xC9]\r\nk=v\r\n", "\xE9t\xE9", "K", "v"},
        {"caller names trimmed", "[S]\r\nk=v\r\n", " S ", " k ", "v"},
        {"garbage lines", "\x01\x02\xFF\r\n[S]\r\n===\r\nk=v\r\n\x00\r\n", "S", "k", "v"},
        {"long value cut at 199", "[S]\r\nk=" + std::string(250, 'x') + "\r\n", "S", "k", std::string(199, 'x')},
        {"very long last line", "[S]\r\nk=" + std::string(100000, 'y'), "S", "k", std::string(199, 'y')},
    };
    for (const auto& [name, file, section, key, expected] : cases)
        EXPECT_EQ(readValue(file, section, key, "Unknown"), expected) << name;
}

TEST(IniWrite, KeepsEveryOtherLineByteForByte)
{
    // name, file before, section, key, value, file after
    const std::tuple<const char*, std::string, const char*, const char*, const char*, std::string> cases[] = {
        {"replace keeps key spelling", "[db_Address]\r\ndbAddress=old\r\n", "db_address", "DBADDRESS", "new",
         "[db_Address]\r\ndbAddress=new\r\n"},
        {"replace keeps lone LF", "[S]\nk = old\nx=1\n", "S", "k", "v", "[S]\nk=v\nx=1\n"},
        {"new key after last key", "[S]\r\na=1\r\n\r\n;c\r\n[T]\r\n", "S", "b", "2",
         "[S]\r\na=1\r\nb=2\r\n\r\n;c\r\n[T]\r\n"},
        {"new key in empty section", "[S]\r\n\r\n[T]\r\nx=1\r\n", "S", "k", "v", "[S]\r\nk=v\r\n\r\n[T]\r\nx=1\r\n"},
        {"new section appended", "[S]\r\na=1\r\n", "T", "k", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        {"no final break", "[S]\r\na=1", "T", "k", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        {"no final break, same section", "[S]\r\na=1", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n"},
        {"new file, value written as given", "", "S", "k", " \"q\" ", "[S]\r\nk= \"q\" \r\n"},
        {"first duplicate section", "[S]\r\n[S]\r\nk=1\r\n", "S", "k", "2", "[S]\r\nk=2\r\n[S]\r\nk=1\r\n"},
        {"same key in another section", "x\r\n[T]\r\nk=1\r\n[s]\r\nk=2\r\n[U]\r\n", "S", "K", "3",
         "x\r\n[T]\r\nk=1\r\n[s]\r\nk=3\r\n[U]\r\n"},
        {"comments kept", ";top\r\n[S]\r\n;c\r\nk=1\r\n", "S", "k", "2", ";top\r\n[S]\r\n;c\r\nk=2\r\n"},
        {"bom file gets new section", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
         "\xEF\xBB\xBF[S]\r\nk=1\r\n[S]\r\nk=2\r\n"},
    };
    for (const auto& [name, before, section, key, value, after] : cases) {
        const auto result = writeValue(before, section, key, value);
        ASSERT_TRUE(result.ok()) << name;
        EXPECT_EQ(result.value(), after) << name;
    }
}

TEST(IniWrite, RefusesLineBreaksThatWouldForgeKeys)
{
    for (const char* value : {"a\r\n[X]", "a\nb=c", "a\r"}) {
        const auto result = writeValue("[S]\r\n", "S", "k", value);
        ASSERT_FALSE(result.ok());
        EXPECT_NE(result.error().description.find("line break"), std::string::npos);
    }
    EXPECT_FALSE(writeValue("", "S\n", "k", "v").ok());
    EXPECT_FALSE(writeValue("", "S", "k\r", "v").ok());
    EXPECT_FALSE(writeValue("", "", "k", "v").ok());
}

TEST(IniWrite, AcceptsExactlyTheNamesThatReadBack)
{
    // section, key, accepted
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"S", "a=b", false},  {"S", "[k", false},  {"S", ";k", false},  {"S", "\tk", false},  {"S", "k\v", false},
        {"S", " \tk", false}, {"a]b", "k", false}, {"S]", "k", false},  {"\tS", "k", false},  {"S\v", "k", false},
        {"S", "k[", true},    {"S", "k;x", true},  {"S", "k\tx", true}, {"S", "#k", true},    {"S", "  k  ", true},
        {"[S", "k", true},    {"S=1", "k", true},  {";S", "k", true},   {"S[x", "k=", false}, {"S\tx", "k", true},
    };
    for (const auto& [section, key, accepted] : cases) {
        for (const std::string before : {"", "[S]\r\nk=old\r\n"}) {
            const auto written = writeValue(before, section, key, "value");
            ASSERT_EQ(written.ok(), accepted) << section << "|" << key;
            if (written.ok())
                EXPECT_EQ(readValue(written.value(), section, key, "Unknown"), "value") << section << "|" << key;
            else
                EXPECT_EQ(written.error().number, 93) << written.error().description;
        }
    }
}

} // namespace
} // namespace qv::ini
