#include "batch/DrawingListFile.h"

#include "io/FileIo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace qv {
namespace {

const std::set<std::string_view> kCatalogue = {"Plot A1", "Purge, all", "R1", "Caf\xC3\xA9 \xE2\x82\xAC"};
const DescriptionExistsFn kExists = [](std::string_view d) { return kCatalogue.contains(d); };

const UserMessage kNotSaved{"The drawing list has not been saved.", "Quorvel Error", MessageIcon::Information,
                            MessageButtons::Ok};

TEST(DrawingListFile, WritesExactBytesAndReadsThemBack)
{
    TempDir dir;
    const DrawingRows rows{{"a,1.dwg", "/jobs/x, y", "Purge, all", "key"},
                           {"b.dwg", "/", "", ""}, // a drawing in a root folder, as the list takes it
                           {"\xC3\xA9t\xC3\xA9.dwg", "/jobs/\xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC", ""}};
    const auto outcome = writeList(dir.file("l.qvl"), rows);
    ASSERT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(dir.read("l.qvl"), "\"a,1.dwg\",\"/jobs/x, y\",\"Purge, all\"\r\n"
                                 "\"b.dwg\",\"/\",\"\"\r\n"
                                 "\"\xE9t\xE9.dwg\",\"/jobs/\x80\",\"Caf\xE9 \x80\"\r\n");

    const RetrievedList back = retrieveList(dir.file("l.qvl"), kExists);
    DrawingRows expected = rows;
    expected[0].key.clear();
    EXPECT_EQ(back.rows, expected);
    EXPECT_TRUE(back.missing); // the empty routine of row 2 is not in the catalogue
    EXPECT_FALSE(back.lineError || back.error);
}

TEST(DrawingListFile, AListLargerThanOneReadBlockReadsAsWritten)
{
    // Lines of varying length so that lines, and a two-byte character's line, straddle the 1 MiB blocks.
    TempDir dir;
    DrawingRows rows;
    for (int i = 0; i < 30000; ++i)
        rows.push_back({"Sheet-" + std::to_string(i) + (i % 7 ? ".dwg" : "-\xC3\xA9.dwg"),
                        "/jobs/site " + std::string(static_cast<std::size_t>(i % 13), 'x'), "R1", ""});
    ASSERT_TRUE(writeList(dir.file("big.qvl"), rows).saved);
    ASSERT_GT(dir.read("big.qvl").size(), std::size_t(1) << 20);
    const RetrievedList back = retrieveList(dir.file("big.qvl"), kExists);
    EXPECT_FALSE(back.lineError || back.error);
    EXPECT_EQ(back.rows, rows);
    EXPECT_EQ(parseList(dir.read("big.qvl")).rows, rows);
}

TEST(DrawingListFile, RefusedListsLeaveTheFileAsItWas)
{
    TempDir dir;
    const UserMessage quote{
        "The use of the character  \"  in the routine name causes a fault when retrieveing\r\n"
        "the list from the file. Please rename this routine description without the character  \"\r\n",
        "Quorvel Error", MessageIcon::Information, MessageButtons::Ok};
    // A row the writer refuses, because it would not read back the same, and the text the first message must name
    // (none: the quote message).
    const std::pair<DrawingRow, std::string> cases[] = {
        {{"b.dwg", "/j", "Say \"hi\"", ""}, ""},
        {{"b.dwg", "/j", "\xE6\x97\xA5", ""}, "\xE6\x97\xA5"}, // not in Windows-1252
        {{"b\n.dwg", "/j", "R1", ""}, "b\n.dwg"},
        {{"b.dwg", "/j", "R\r\n1", ""}, "b.dwg"},
        {{"b.dwg", "/j\x7F\x01", "R1", ""}, "b.dwg"},
        {{"b.dwg", "", "R1", ""}, "its file name or folder is empty"},
        {{"", "/j", "R1", ""}, "its file name or folder is empty"},
    };
    for (const auto& [bad, named] : cases) {
        dir.write("old.qvl", "old bytes");
        const auto outcome = writeList(dir.file("old.qvl"), {{"a.dwg", "/j", "R1", ""}, bad});
        EXPECT_FALSE(outcome.saved);
        ASSERT_EQ(outcome.messages.size(), 2u);
        const UserMessage& first = outcome.messages[0];
        EXPECT_TRUE(named.empty() ? first == quote : first.text.find(named) != std::string::npos) << first.text;
        EXPECT_EQ(outcome.messages[1], kNotSaved);
        EXPECT_EQ(dir.read("old.qvl"), "old bytes");
        EXPECT_FALSE(writeList(dir.file("new.qvl"), {bad}).saved);
        EXPECT_FALSE(fileExists(dir.file("new.qvl")));
    }
}

TEST(DrawingListFile, NameWithoutExtensionGetsQvl)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/jobs/list", "/jobs/list.qvl"},
        {"/jobs/list.qvl", "/jobs/list.qvl"},
        {"/jobs/list.txt", "/jobs/list.txt"},
        {"/jobs.v2/list", "/jobs.v2/list.qvl"},
        {"C:\\jobs.v2\\list", "C:\\jobs.v2\\list.qvl"},
        {"/jobs/.list", "/jobs/.list.qvl"},
        {"list", "list.qvl"},
    };
    for (const auto& [typed, saved] : cases)
        EXPECT_EQ(withListExtension(typed), saved) << typed;
}

TEST(DrawingListFile, WriteFailureIsReportedWithTheWriteListMessage)
{
    TempDir dir;
    const auto outcome = writeList(dir.file("missing/l.qvl"), {{"a.dwg", "/j", "R1", ""}});
    EXPECT_FALSE(outcome.saved);
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0].text.rfind("Error Number 76 in routine WriteList \r\n\r\nPath not found", 0), 0u);
    EXPECT_TRUE(outcome.messages[0].text.ends_with("with the details of this message.\r\n\r\nThank You"));
    EXPECT_EQ(outcome.messages[0].icon, MessageIcon::Critical);
}

TEST(DrawingListFile, ReaderShapesAndMalformedLines)
{
    const std::pair<std::string, DrawingRows> cases[] = {
        {"", {}},
        {"\"a\",\"b\",\"c\"", {{"a", "b", "c", ""}}}, // no final break
        {"\"a\",\"b\",\"c\"\n\"d\",\"e\",\"\"\n", {{"a", "b", "c", ""}, {"d", "e", "", ""}}},
        {"  a.dwg ,  /f g  , R 1  \r\n", {{"a.dwg", "/f g", "R 1", ""}}},
        {" \"a\" , \" b \" ,\" R \" \r\n", {{"a", " b ", " R ", ""}}},
        {"a,b,\r\n\r\n   \r\n\"c\",d,\"\"\r\n\r\n", {{"a", "b", "", ""}, {"c", "d", "", ""}}},
        {"a,b,\"x,y\"\r\n", {{"a", "b", "x,y", ""}}},
        {"\xE9,\x80\xFF,c", {{"\xC3\xA9", "\xE2\x82\xAC\xC3\xBF", "c", ""}}},
        // A UTF-8 byte-order mark (a list saved as "UTF-8 with BOM") is skipped and says how the names are
        // written; a mark anywhere else is text, and a line that is not UTF-8 after all, or holds a character
        // that Windows-1252 lacks (so it could never be saved back), is read as Windows-1252.
        {"\xEF\xBB\xBF\"a\",\"b\",\"c\"\r\n", {{"a", "b", "c", ""}}},
        {"\xEF\xBB\xBF\xC3\xA9,b,c\r\n\"\xE2\x82\xAC\",d,e",
         {{"\xC3\xA9", "b", "c", ""}, {"\xE2\x82\xAC", "d", "e", ""}}},
        {"\xEF\xBB\xBF\xE9,b,c", {{"\xC3\xA9", "b", "c", ""}}},
        {"\xEF\xBB\xBF"
         "a,b,c\r\n\xE4\xB8\xAD,d,e",
         {{"a", "b", "c", ""}, {"\xC3\xA4\xC2\xB8\xC2\xAD", "d", "e", ""}}},
        {"a,b,c\r\n\xEF\xBB\xBF,d,e", {{"a", "b", "c", ""}, {"\xC3\xAF\xC2\xBB\xC2\xBF", "d", "e", ""}}},
    };
    for (const auto& [bytes, rows] : cases) {
        const ParsedList parsed = parseList(bytes);
        EXPECT_EQ(parsed.rows, rows) << bytes;
        EXPECT_FALSE(parsed.lineError) << bytes << " " << parsed.lineError->reason;
    }

    // A malformed line keeps the rows before it and is named.
    const std::string good = "\"a.dwg\",\"/f\",\"R1\"\r\n";
    const std::pair<std::string, std::string> faults[] = {
        {"\"a\",\"b\"", "fewer than three fields"},
        {"a", "fewer than three fields"},
        {"\"a\",\"b,c", "no closing quote"},
        {"\"a\"x,\"b\",\"c\"", "text after a closing quote"},
        {"\"a\",\"b\",\"c\"x", "text after a closing quote"},
        {"\"a\",\"b\",\"c\",\"d\"", "more than three fields"},
        {"a\"b,c,d", "double quote inside an unquoted field"},
        {"\"\",\"b\",\"c\"", "file name is empty"},
        {"a, ,c", "folder is empty"},
        {std::string("\"a\",\"b\0\",\"c\"", 13), "control character"},
        {"\"a\",\"b\"\r,\"c\"", "control character"},
    };
    for (const auto& [line, reason] : faults) {
        std::string goodLines;
        for (std::size_t before = 0; before < 3; ++before, goodLines += good) {
            const ParsedList parsed = parseList(goodLines + line + "\r\n" + good);
            EXPECT_EQ(parsed.rows.size(), before) << line;
            ASSERT_TRUE(parsed.lineError) << line;
            EXPECT_EQ(parsed.lineError->line, before + 1) << line;
            EXPECT_NE(parsed.lineError->reason.find(reason), std::string::npos)
                << line << ": " << parsed.lineError->reason;
        }
    }
}

// A damaged list: no crash; the rows read are exactly those of the lines before the reported one, and
// a write of them reads back the same.
TEST(DrawingListFile, DamagedListsNeverBreakTheReader)
{
    std::mt19937 random(2024);
    const std::string alphabet = "\",,\r\n  ab\xE9\x81\t";
    const std::string good = "\"a.dwg\",\"/f, g\",\"R1\"\r\n b , c ,\r\n\"x\",\"y\",\"\"\n\"p\",q,\" z \"\r\n";
    for (int round = 0; round < 4000; ++round) {
        std::string bytes = good + good;
        for (int n = random() % 4; n >= 0; --n) {
            const char c = random() % 4 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
            bytes[random() % bytes.size()] = c;
        }
        const ParsedList parsed = parseList(bytes);
        std::size_t keep = 0;
        for (std::size_t line = 1; parsed.lineError && line < parsed.lineError->line; ++line)
            keep = bytes.find('\n', keep) + 1;
        const ParsedList before = parseList(parsed.lineError ? bytes.substr(0, keep) : bytes);
        EXPECT_FALSE(before.lineError);
        EXPECT_EQ(before.rows, parsed.rows);
        const EncodedList encoded = encodeList(parsed.rows);
        ASSERT_TRUE(encoded.ok());
        EXPECT_EQ(parseList(encoded.bytes).rows, parsed.rows);
    }
}

TEST(DrawingListFile, RetrieveRulesAndMessages)
{
    TempDir dir;
    dir.write(
        "l.qvl",
        "\"a\",\"/f\",\"  R1 \"\r\n\"b\",\"/f\",\"Gone\"\r\n\"c\",\"/f\",\"Gone too\"\r\nbad\r\n\"d\",\"/f\",\"R1\"");
    const RetrievedList list = retrieveList(dir.file("l.qvl"), kExists);
    EXPECT_EQ(list.rows, (DrawingRows{{"a", "/f", "  R1 ", ""}, {"b", "/f", "", ""}, {"c", "/f", "", ""}}));
    EXPECT_TRUE(list.missing);
    ASSERT_TRUE(list.lineError);
    EXPECT_EQ(list.lineError->line, 4u);
    EXPECT_TRUE(stopsCommandLineRun(list));
    EXPECT_FALSE(replacesDrawingList(list));
    const auto messages = retrieveMessages(list, "l.qvl");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Line 4 of the drawing list file\r\nl.qvl\r\ncannot be read: fewer than three "
                                "fields.\r\n\r\nThe drawing list has not been changed.\r\n");
    EXPECT_EQ(messages[1],
              (UserMessage{"One or more of the routine names in the retrieved file are not in the "
                           "database.\r\nPlease update the Drawings to be Processed list before proceeding ",
                           "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok}));

    dir.write("empty.qvl", "");
    const RetrievedList empty = retrieveList(dir.file("empty.qvl"), kExists);
    EXPECT_TRUE(empty.rows.empty() && retrieveMessages(empty, "empty.qvl").empty() && !stopsCommandLineRun(empty));
    EXPECT_TRUE(replacesDrawingList(empty));
    // A complete read replaces the list even when routines are missing (their rows come without one).
    dir.write("gone.qvl", "\"b\",\"/f\",\"Gone\"\r\n");
    const RetrievedList gone = retrieveList(dir.file("gone.qvl"), kExists);
    EXPECT_TRUE(gone.missing && replacesDrawingList(gone) && !stopsCommandLineRun(gone));

    const std::string badName = "Please make sure that the correct filename and path\r\nhas been passed to Quorvel "
                                "for processing.\r\n";
    for (const auto& [name, number] : {std::pair{dir.file("none.qvl"), 53}, std::pair{std::string(), 52}}) {
        const RetrievedList missing = retrieveList(name, kExists);
        ASSERT_TRUE(missing.error);
        EXPECT_EQ(missing.error->number, number);
        EXPECT_TRUE(stopsCommandLineRun(missing));
        EXPECT_FALSE(replacesDrawingList(missing));
        // The list file is named, so the user knows which one to look for.
        const std::string named = name.empty() ? "No list file was named." : "The drawing list file was:\r\n" + name;
        EXPECT_EQ(retrieveMessages(missing, name)[0].text, "Error Number " + std::to_string(number) +
                                                               " in routine RetrieveList \r\n\r\n" + badName + "\r\n" +
                                                               named);
    }
    EXPECT_EQ(retrieveListErrorMessage(Error{70, "Permission denied"}, "/l/a.qvl").text,
              "Error Number 70 in routine RetrieveList \r\n\r\nPermission denied\r\n\r\nThe drawing list file "
              "was:\r\n/l/a.qvl");
}

} // namespace
} // namespace qv
