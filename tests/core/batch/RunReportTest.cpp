#include "batch/RunReport.h"

#include "text/Paths.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace qv {
namespace {

TEST(RunReport, QuotesFieldsAsRfc4180)
{
    // text, field
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"in side", "in side"},
        {"; error: no function definition: FOO", "; error: no function definition: FOO"},
    };
    for (const auto& [text, field] : cases)
        EXPECT_EQ(csvField(text), field) << text;
}

TEST(RunReport, WritesOneRowPerDrawingUnderTheHeader)
{
    const std::vector<RunReportRow> rows = {
        {"C:\\Jobs\\A,1.dwg", "Purge All", DrawingState::Done, "", 12.25},
        {"C:\\Jobs\\B.dwg", "Plot \"A1\"", DrawingState::Error, "Unknown command \"X\".  Press F1 for help.", 3.04},
        {"C:\\Jobs\\C.dwg", "Purge All", DrawingState::NotReached, "", 0.0},
    };
    EXPECT_EQ(runReportCsv(rows), "Drawing,Routine,State,First error line,Seconds\r\n"
                                  "\"C:\\Jobs\\A,1.dwg\",Purge All,done,,12.2\r\n"
                                  "C:\\Jobs\\B.dwg,\"Plot \"\"A1\"\"\",error,"
                                  "\"Unknown command \"\"X\"\".  Press F1 for help.\",3.0\r\n"
                                  "C:\\Jobs\\C.dwg,Purge All,not reached,,0.0\r\n");
    EXPECT_EQ(runReportCsv({}), "Drawing,Routine,State,First error line,Seconds\r\n");
}

TEST(RunReport, KeepsNamesOutsideTheCodePage)
{
    const std::vector<RunReportRow> western = {{"Pläne.dwg", "R", DrawingState::Hung, "", 1.0}};
    EXPECT_EQ(runReportBytes(western).substr(runReportBytes(western).find("Pl"), 6), "Pl\xE4ne.");
    const std::vector<RunReportRow> greek = {{"Σχέδιο.dwg", "R", DrawingState::Crashed, "", 1.0}};
    const std::string bytes = runReportBytes(greek);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("Σχέδιο.dwg,R,crashed,,1.0"), std::string::npos);
}

TEST(RunReport, NamesEachRunFolderAfresh)
{
    const RunStamp stamp{2026, 12, 7, 9, 5, 3};
    std::set<std::string> taken;
    const auto exists = [&taken](const std::string& path) { return taken.count(path) > 0; };
    for (const char* name : {"Run 2026-12-07 09-05-03", "Run 2026-12-07 09-05-03 (2)", "Run 2026-12-07 09-05-03 (3)"})
        EXPECT_EQ(*taken.insert(chooseRunFolder("runs" + std::string(1, pathSeparator()), stamp, exists)).first,
                  joinPath("runs", name));
}

} // namespace
} // namespace qv
