#include "batch/BatchCheck.h"

#include "batch/ScriptWriter.h"
#include "builders/DetailedPlot.h"
#include "support/PlainScriptInputs.h"
#include "support/TempDir.h"
#include "support/Windows1252.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

namespace qv {
namespace {

const std::map<std::string, std::string> kRoutines = {
    {"Purge", "_-Purge\r\n_All\r\n*\r\n_N\r\n_Qsave"},
    {"Purge, an answer short", "_-Purge\r\n_All\r\n_N\r\n_Qsave"},
    {"Purge, an answer too many", "_-Purge\r\n_All\r\n*\r\n_N\r\n_N\r\n_Qsave"},
    {"Plot by page setup", "_-plot\r\n_N\r\n\r\nA1 Plot\r\n\r\n_N\r\n_N\r\n_Y"},
    {"Plot with AutoLISP",
     "(foreach lay (layoutlist) (setvar \"ctab\" lay) (command \"_-plot\" \"_N\" \"\" \"\" \"\" \"_N\" \"_N\" \"_Y\"))"},
};

class BatchCheckTest : public ::testing::Test
{
protected:
    // The script Start would write for these drawings and routines, checked for the product.
    BatchCheckReport check(const std::vector<std::pair<std::string, std::string>>& drawings, const std::string& product,
                           const std::string& sets = "1")
    {
        ScriptInputs inputs = plainScriptInputs(
            {}, m_tmp.path(), [](const std::string& description) { return kRoutines.at(description); });
        for (const auto& [file, routine] : drawings) {
            m_tmp.write(file, "DWG");
            inputs.rows.push_back({file, m_tmp.path(), routine, {}});
        }
        inputs.sequenceText = sets;
        Result<ScriptText> script = buildScript(inputs, ScriptWriterKind::General);
        EXPECT_TRUE(script.ok());
        Result<BatchCheckReport> report = checkBatchScript(script.value().bytes, inputs.rows, {product, {}, {}, {}});
        EXPECT_TRUE(report.ok());
        return report.value();
    }

    TempDir m_tmp;
};

TEST_F(BatchCheckTest, EachDrawingGetsItsOwnVerdictAtItsOwnLine)
{
    const BatchCheckReport report = check({{"A.dwg", "Purge"},
                                           {"B.dwg", "Purge, an answer short"},
                                           {"C.dwg", "Purge"},
                                           {"D.dwg", "Purge, an answer too many"},
                                           {"E.dwg", "Plot by page setup"},
                                           {"F.dwg", "Plot with AutoLISP"}},
                                          "Cad2018");
    ASSERT_EQ(report.drawings.size(), 6u);
    // verdict, first line of the drawing's part, problem line, entry
    const std::tuple<std::string, int, int, std::string> expected[] = {
        {"OK", 5, 0, ""},
        // "_N" is taken as the names; the verify question then meets "_Qsave". The drawing is never closed,
        // and the final quit's save question about it is its problem too, not the last drawing's.
        {"error", 16, 21, "_Qsave"},
        {"OK", 26, 0, ""},
        // The second "_N" reaches the command prompt.
        {"error", 37, 43, "_N"},
        // The page setup cannot be seen in the real drawing: a warning, and the plot goes on.
        {"warning", 49, 54, "A1 Plot"},
        {"OK", 63, 0, ""},
    };
    for (std::size_t i = 0; i < report.drawings.size(); ++i) {
        const DrawingCheck& drawing = report.drawings[i];
        const auto& [verdict, first, line, entry] = expected[i];
        SCOPED_TRACE(drawing.path + ": " + describeCheck(drawing));
        EXPECT_EQ(drawing.row, i);
        EXPECT_EQ(drawing.firstLine, first);
        EXPECT_EQ(describeCheck(drawing).rfind(verdict, 0), 0u);
        if (drawing.problem) {
            EXPECT_EQ(drawing.problem->line, line);
            EXPECT_EQ(drawing.problem->entry, entry);
            EXPECT_FALSE(drawing.problem->asking.empty());
        }
    }
    EXPECT_EQ(report.drawings[1].routine, "Purge, an answer short");
    EXPECT_TRUE(report.elsewhere.empty());
    EXPECT_EQ(report.warnings, 1);
}

TEST_F(BatchCheckTest, SetsAreCheckedEachTime)
{
    const BatchCheckReport sets = check({{"A.dwg", "Purge, an answer too many"}}, "Cad2013", "3");
    ASSERT_EQ(sets.drawings.size(), 1u);
    EXPECT_EQ(sets.drawings[0].errors, 3);
}

TEST_F(BatchCheckTest, NothingIsWrittenUnknownProductsAreRefusedAndAStopIsReported)
{
    m_tmp.write("A.dwg", "DWG");
    const std::string script = toWindows1252("_Open\r\n\"" + m_tmp.file("A.dwg") + "\"\r\n_saveas\r\n\r\n\"" +
                                             m_tmp.file("B.dwg") + "\"\r\n_dxfout\r\n\r\n\r\n_Quit\r\n");
    const DrawingRows rows = {{"A.dwg", m_tmp.path(), "x", {}}};
    const Result<BatchCheckReport> report = checkBatchScript(script, rows, {"Cad2018", {}, {}, {}});
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.value().errors, 0);
    EXPECT_FALSE(std::filesystem::exists(m_tmp.native("B.dwg")));
    EXPECT_FALSE(std::filesystem::exists(m_tmp.native("B.dxf")));

    const Result<BatchCheckReport> unknown = checkBatchScript(script, rows, {"Unknown", {}, {}, {}});
    ASSERT_FALSE(unknown.ok());
    EXPECT_NE(unknown.error().description.find("\"Unknown\""), std::string::npos);

    // A check asked to stop says so.
    BatchCheckOptions options{"Cad2018", {}, [](std::size_t line, std::size_t) { return line < 3; }, {}};
    const Result<BatchCheckReport> stopped = checkBatchScript(script, rows, options);
    ASSERT_TRUE(stopped.ok());
    EXPECT_TRUE(stopped.value().stopped);
}

TEST_F(BatchCheckTest, ARoutineOnItsOwn)
{
    // text, product, problems, first line, warning
    const std::tuple<std::string, std::string, std::size_t, int, bool> cases[] = {
        {kRoutines.at("Purge"), "Cad2018", 0, 0, false},
        {kRoutines.at("Purge, an answer short"), "Cad2018", 2, 4, false},
        {"_-plot\r\n_N\r\nSheet 9\r\n\r\n\r\n_N\r\n_N\r\n_Y", "Cad2018", 1, 3, true},
        // A command left open shows past the routine's last line.
        {"_-Purge\r\n_All", "Cad2018", 1, 3, false},
        {kRoutines.at("Plot with AutoLISP"), "CadLT2013", 1, 1, false},
        // The line break the script adds after a routine answers the save-as name prompt.
        {"_saveas\r\n2018\r\n", "Cad2018", 0, 0, false},
    };
    for (const auto& [text, product, count, line, warning] : cases) {
        SCOPED_TRACE(text);
        const Result<std::vector<CheckProblem>> problems = checkRoutineText(text, {product, {}, {}, {}});
        ASSERT_TRUE(problems.ok());
        // A wrong answer count throws the rest out of step: the first problem is the one that matters.
        ASSERT_EQ(problems.value().empty(), count == 0);
        if (count > 0) {
            EXPECT_EQ(problems.value()[0].line, line);
            EXPECT_EQ(problems.value()[0].warning, warning);
        }
    }
}

TEST_F(BatchCheckTest, ARoutineForLayoutTabsIsJudgedOnALayout)
{
    // The plain layout-tab plot answers the layout's questions, which a model-tab drawing does not ask.
    DetailedPlotChoices layout;
    layout.mode = PlotTabMode::Layout;
    for (const char* device : {"DWF6 ePlot.pc3", "Unknown Office Printer"})
    for (const char* product : {"CadLT2018", "ZWCAD", "Cad2010"}) {
        layout.device = device;
        SCOPED_TRACE(product);
        const DetailedPlotResult built = buildDetailedPlotRoutine(layout, product);
        ASSERT_TRUE(built.ok());
        const Result<std::vector<CheckProblem>> problems = checkRoutineText(built.text, {product, {}, {}, {}});
        ASSERT_TRUE(problems.ok());
        for (const CheckProblem& problem : problems.value()) {
            if (!problem.warning) // a device the check cannot see is only a warning
                ADD_FAILURE() << describeProblem(problem);
        }
    }
    // A routine that fails on both stays refused, with the model tab's problems.
    const Result<std::vector<CheckProblem>> wrong =
        checkRoutineText("_-plot\r\n_Yes\r\n\r\nNo Such", {"Cad2018", {}, {}, {}});
    ASSERT_TRUE(wrong.ok());
    EXPECT_FALSE(wrong.value().empty());
}

} // namespace
} // namespace qv
