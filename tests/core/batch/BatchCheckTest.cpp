#include "batch/BatchCheck.h"

#include "FileSystem.h"
#include "batch/LaunchCommand.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/ScriptWriter.h"
#include "builders/DetailedPlot.h"
#include "support/PlainScriptInputs.h"
#include "support/TempDir.h"
#include "support/Windows1252.h"
#include "text/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <tuple>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace qv {
namespace {

std::string plotRoutine(PlotTabMode mode)
{
    DetailedPlotChoices choices;
    choices.mode = mode;
    choices.device = "DWF6 ePlot.pc3";
    return buildDetailedPlotRoutine(choices, "Cad2018").text;
}

// Routine texts by description; "%TMP%" stands for the test's folder.
const std::map<std::string, std::string> kRoutines = {
    {"Purge", "_-Purge\r\n_All\r\n*\r\n_N\r\n_Qsave"},
    {"Purge, an answer short", "_-Purge\r\n_All\r\n_N\r\n_Qsave"},
    {"Purge, an answer too many", "_-Purge\r\n_All\r\n*\r\n_N\r\n_N\r\n_Qsave"},
    {"Purge, never saved", "_-Purge\r\n_All\r\n*\r\n_N"},
    {"Purge, left open", "_-Purge\r\n_All"},
    {"Plot by page setup", "_-plot\r\n_N\r\n\r\nA1 Plot\r\n\r\n_N\r\n_N\r\n_Y"},
    {"Plot with AutoLISP",
     "(foreach lay (layoutlist) (setvar \"ctab\" lay) (command \"_-plot\" \"_N\" \"\" \"\" \"\" \"_N\" \"_N\" \"_Y\"))"},
    {"Plot to DWF", "_-plot\r\n_N\r\n\r\n\r\nDWF6 ePlot.pc3\r\n\r\n_N\r\n_Y"},
    {"Plot to None", "_-plot\r\n_N\r\n\r\n\r\nNone\r\n_N\r\n_N\r\n_Y"},
    {"Plot to its own device", "_-plot\r\n_N\r\n\r\n\r\n\r\n_N\r\n_N\r\n_Y"},
    {"Plot to Office", "_-plot\r\n_N\r\n\r\n\r\nOffice.pc3\r\n_N\r\n_N\r\n_Y"},
    {"Plot the layout tab", plotRoutine(PlotTabMode::Layout)},
    {"Plot the model tab", plotRoutine(PlotTabMode::Model)},
    {"AutoLISP error", "(car 1)"},
    {"AutoLISP not closed", "(setq a (list 1 2)"},
    {"Quit", "_Quit\r\n_Y"},
    {"Save As nowhere", "_saveas\r\n\r\n\"%TMP%/nowhere/Copy.dwg\""},
    {"Save As over, answered", "_saveas\r\n\r\n\"%TMP%/Existing.dwg\"\r\n_Y"},
    {"Save As over, unanswered", "_saveas\r\n\r\n\"%TMP%/Existing.dwg\""},
};

enum class Kind
{
    Drawing,
    ReadOnly,
    Folder,
    Pipe,
};

struct Row
{
    std::string file;
    std::string routine;
    Kind kind = Kind::Drawing;
};

class BatchCheckTest : public ::testing::Test
{
protected:
    // The script a command-line run would write for these drawings and routines, checked for the product.
    BatchCheckReport check(const std::vector<Row>& drawings, const std::string& product, const std::string& sets = "1",
                           std::vector<std::string> devices = {})
    {
        m_tmp->write("Existing.dwg", "DWG");
        ScriptInputs inputs = plainScriptInputs({}, m_tmp->path(), [this](const std::string& description) {
            std::string text = kRoutines.at(description);
            for (std::size_t at; (at = text.find("%TMP%")) != std::string::npos;) {
                text.replace(at, 5, m_tmp->path());
            }
            return text;
        });
        for (const Row& row : drawings) {
            if (row.kind == Kind::Folder) {
                std::filesystem::create_directories(m_tmp->native(row.file));
            } else if (row.kind == Kind::Pipe) {
#ifndef _WIN32
                EXPECT_EQ(::mkfifo(m_tmp->file(row.file).c_str(), 0600), 0);
#endif
            } else {
                m_tmp->write(row.file, "DWG");
            }
            inputs.rows.push_back({row.file, m_tmp->path(), row.routine, {}});
            inputs.readOnlyRows.push_back(row.kind == Kind::ReadOnly);
        }
        inputs.sequenceText = sets;
        Result<ScriptText> script = buildScript(inputs, chooseScriptWriter(false, product));
        EXPECT_TRUE(script.ok());
        BatchCheckOptions options{product, std::move(devices), {}, inputs.readOnlyRows};
        Result<BatchCheckReport> report = checkBatchScript(script.value().bytes, inputs.rows, options);
        EXPECT_TRUE(report.ok());
        // A start's read-only scan tells each drawing's kind: the check asks the disk nothing more, and every
        // line stays the same.
        const ReadOnlyScan scan = findReadOnlyDrawings(inputs.rows, platform::fileAttributes);
        if (platform::kAttributesTellFileKind && !scan.error) {
            options.rowAttributes = scan.rowAttributes;
            Result<BatchCheckReport> scanned = checkBatchScript(script.value().bytes, inputs.rows, options);
            EXPECT_EQ(linesOf(scanned.value(), product), linesOf(report.value(), product));
        }
        return report.value();
    }

    static std::vector<std::string> linesOf(const BatchCheckReport& report, const std::string& product)
    {
        std::vector<std::string> lines;
        for (const DrawingCheck& drawing : report.drawings) {
            lines.push_back(drawing.path + ": " + describeCheck(drawing));
        }
        for (const CheckProblem& problem : report.elsewhere) {
            lines.push_back("(script): " + describeProblem(problem));
        }
        lines.push_back(checkSummary(report, product));
        return lines;
    }

    std::unique_ptr<TempDir> m_tmp = std::make_unique<TempDir>();
};

const char* verdictName(CheckVerdict verdict)
{
    static const char* const kNames[] = {"OK", "warning", "error", "not reached"};
    return kNames[static_cast<int>(verdict)];
}

TEST_F(BatchCheckTest, EachDrawingGetsItsOwnVerdictAtItsOwnLine)
{
    const BatchCheckReport report = check({{"A.dwg", "Purge"},
                                           {"B.dwg", "Plot by page setup"},
                                           {"C.dwg", "Plot with AutoLISP"},
                                           {"D.dwg", "Purge, an answer too many"}},
                                          "Cad2018");
    ASSERT_EQ(report.drawings.size(), 4u);
    // verdict, first line of the drawing's part, problem line, entry
    const std::tuple<std::string, int, int, std::string> expected[] = {
        {"OK", 5, 0, ""},
        // The page setup cannot be seen in the real drawing: a warning, and the plot goes on.
        {"warning", 16, 21, "A1 Plot"},
        // Each plot keeps the layout's own device, which may be None.
        {"warning", 30, 32, ""},
        // The second "_N" reaches the command prompt.
        {"error", 37, 43, "_N"},
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
            // The prompt is named when an entry did not fit it.
            EXPECT_EQ(drawing.problem->asking.empty(), entry.empty());
            // A name taken on trust throws the lines after it out of step when it is missing.
            EXPECT_EQ(drawing.problem->stopsScript, drawing.problem->warning && !entry.empty());
        }
    }
    EXPECT_EQ(report.drawings[1].routine, "Plot by page setup");
    EXPECT_TRUE(report.elsewhere.empty());
}

// One case per kind of trouble a real run meets: the verdict of every drawing, and a piece of its text.
TEST_F(BatchCheckTest, VerdictsTellWhatARealRunWouldDo)
{
    using V = CheckVerdict;
    struct Case
    {
        std::string name;
        std::string product;
        std::vector<Row> rows;
        std::vector<std::pair<V, std::string>> expected;
        std::vector<std::string> devices = {};
    };
    // clang-format off
    const Case cases[] = {
        {"AutoCAD's close discards changes never saved", "Cad2018", {{"A.dwg", "Purge, never saved"}, {"B.dwg", "Purge"}},
         {{V::Warning, "the changes are discarded at close"}, {V::Ok, ""}}},
        {"BricsCAD's close saves them", "Bricscad", {{"A.dwg", "Purge, never saved"}}, {{V::Ok, ""}}},
        {"an AutoLISP error suspends the script", "Cad2018", {{"A.dwg", "Purge"}, {"B.dwg", "AutoLISP error"},
         {"C.dwg", "Purge"}}, {{V::Ok, ""}, {V::Error, "lisp"}, {V::NotReached, ""}}},
        {"an unclosed expression takes in the rest", "Cad2018", {{"A.dwg", "AutoLISP not closed"}, {"B.dwg", "Purge"}},
         {{V::Error, ""}, {V::NotReached, ""}}},
        {"a command left open", "Cad2018", {{"A.dwg", "Purge, left open"}}, {{V::Error, "leaves a command open"}}},
        {"a routine that quits the host", "Cad2018", {{"A.dwg", "Quit"}, {"B.dwg", "Purge"}},
         {{V::Error, "quits the host"}, {V::NotReached, ""}}},
        {"Save As into a missing folder", "Cad2018", {{"A.dwg", "Save As nowhere"}}, {{V::Error, "does not exist"}}},
        {"Save As over a file, answered", "Cad2018", {{"A.dwg", "Save As over, answered"}}, {{V::Ok, ""}}},
        {"Save As over a file, unanswered", "Cad2018", {{"A.dwg", "Save As over, unanswered"}}, {{V::Error, "replace"}}},
        {"a device named None", "Cad2018", {{"A.dwg", "Plot to None"}}, {{V::Error, "No plotter is assigned"}}},
        {"the layout's own device", "Cad2018", {{"A.dwg", "Plot to its own device"}}, {{V::Warning, "None"}}},
        {"a device not on this machine", "Cad2018", {{"A.dwg", "Plot to Office"}}, {{V::Warning, "Office.pc3"}}},
        {"a device on this machine", "Cad2018", {{"A.dwg", "Plot to Office"}}, {{V::Ok, ""}}, {"Office.pc3"}},
        {"a routine for the layout tab", "Cad2018", {{"A.dwg", "Plot the layout tab"}, {"B.dwg", "Purge"}},
         {{V::Warning, "only when the drawing opens on a layout tab"}, {V::Ok, ""}}},
        {"a routine for the model tab", "Cad2018", {{"A.dwg", "Plot the model tab"}},
         {{V::Warning, "only when the drawing opens on the model tab"}}},
        {"a missing page setup misaligns the lines after it", "Cad2018", {{"A.dwg", "Plot by page setup"},
         {"B.dwg", "Purge"}, {"C.dwg", "Purge"}}, {{V::Warning, "asks again and the lines that follow answer the "
         "wrong questions. The script would stop at this drawing, and B.dwg and C.dwg would not be reached."},
         {V::Ok, ""}, {V::Ok, ""}}},
        {"a read-only drawing only plotted", "Cad2018", {{"A.dwg", "Plot to DWF", Kind::ReadOnly}}, {{V::Ok, ""}}},
        {"a read-only drawing saved", "Cad2018", {{"A.dwg", "Purge", Kind::ReadOnly}}, {{V::Error, "write protected"}}},
        {"a folder given as a drawing", "Cad2018", {{"A.dwg", "Purge", Kind::Folder}}, {{V::Error, "This is a folder"}}},
#ifndef _WIN32
        {"a pipe is never opened", "Cad2018", {{"A.dwg", "Purge", Kind::Pipe}}, {{V::Error, "not a regular file"}}},
#endif
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_tmp = std::make_unique<TempDir>();
        const BatchCheckReport report = check(c.rows, c.product, "1", c.devices);
        ASSERT_EQ(report.drawings.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const DrawingCheck& drawing = report.drawings[i];
            SCOPED_TRACE(drawing.path + ": " + describeCheck(drawing));
            EXPECT_STREQ(verdictName(verdictOf(drawing)), verdictName(c.expected[i].first));
            EXPECT_NE(describeCheck(drawing).find(c.expected[i].second), std::string::npos);
        }
        const bool errors = std::any_of(c.expected.begin(), c.expected.end(), [](const auto& e) {
            return e.first == V::Error || e.first == V::NotReached;
        });
        EXPECT_EQ(checkFoundErrors(report), errors);
    }
}

TEST_F(BatchCheckTest, TheSummaryCountsWhatIsNotReachedAndSaysWhere)
{
    const BatchCheckReport report =
        check({{"A.dwg", "Purge"}, {"B.dwg", "AutoLISP error"}, {"C.dwg", "Purge"}, {"D.dwg", "Purge"}}, "Cad2018");
    EXPECT_EQ(checkSummary(report, "Cad2018"),
              "Checked 4 drawing(s) for Cad2018: 1 OK, 1 with errors, 0 with warnings, 2 not reached. An error "
              "suspends the script at line 18 (B.dwg): the host reads no more of it.");
}

// Drawings share their problems' texts in the report: each still reads its own path and its own lines.
TEST_F(BatchCheckTest, AMixedListOfTwoThousandDrawingsKeepsEachDrawingsOwnLines)
{
    const std::vector<std::string> routines = {"Purge", "Plot by page setup", "Plot to DWF", "Plot the layout tab",
                                               "Plot the model tab", "Purge, never saved", "Save As over, answered",
                                               "Plot to its own device"};
    std::vector<Row> rows;
    for (std::size_t i = 0; i < 2000; ++i) {
        const Kind kind = i % 7 == 3 ? Kind::ReadOnly : Kind::Drawing;
        rows.push_back({"D" + std::to_string(i) + ".dwg", routines[i % routines.size()], kind});
    }
    rows[1990] = {"Stops.dwg", "AutoLISP error"};
    const BatchCheckReport report = check(rows, "Cad2018");
    ASSERT_EQ(report.drawings.size(), rows.size());
    EXPECT_EQ(report.notReached, 9);
    // A drawing's problem, its line counted from its part and its own path marked, without the drawings after.
    const auto shape = [](const DrawingCheck& drawing) {
        if (!drawing.problem) {
            return std::string("OK");
        }
        std::string message = drawing.problem->message;
        message.erase(std::min(message.size(), message.find(" The script would stop at this drawing")));
        for (std::size_t at; (at = message.find(drawing.path)) != std::string::npos;) {
            message.replace(at, drawing.path.size(), "<path>");
        }
        return std::to_string(drawing.problem->line - drawing.firstLine) + " " + drawing.problem->entry + " " +
               message;
    };
    std::map<std::pair<std::string, Kind>, std::string> first;
    int named = 0;
    for (std::size_t i = 0; i < 1990; ++i) {
        const DrawingCheck drawing = report.drawings[i];
        SCOPED_TRACE(drawing.path + ": " + describeCheck(drawing));
        EXPECT_EQ(drawing.path, joinPath(m_tmp->path(), rows[i].file));
        EXPECT_EQ(drawing.routine, rows[i].routine);
        const std::string own = shape(drawing);
        named += own.find("<path>") != std::string::npos ? 1 : 0;
        EXPECT_EQ(first.try_emplace({rows[i].routine, rows[i].kind}, own).first->second, own);
    }
    EXPECT_GT(named, 0);
}

TEST_F(BatchCheckTest, SetsAreCheckedEachTime)
{
    const BatchCheckReport sets = check({{"A.dwg", "Purge, an answer too many"}}, "Cad2013", "3");
    ASSERT_EQ(sets.drawings.size(), 1u);
    EXPECT_EQ(sets.drawings[0].errors, 3);
}

TEST_F(BatchCheckTest, NothingIsWrittenUnknownProductsAreRefusedAndAStopIsReported)
{
    m_tmp->write("A.dwg", "DWG");
    const std::string script = toWindows1252("_Open\r\n\"" + m_tmp->file("A.dwg") + "\"\r\n_saveas\r\n\r\n\"" +
                                             m_tmp->file("B.dwg") + "\"\r\n_dxfout\r\n\r\n\r\n_Quit\r\n");
    const DrawingRows rows = {{"A.dwg", m_tmp->path(), "x", {}}};
    const Result<BatchCheckReport> report = checkBatchScript(script, rows, {"Cad2018", {}, {}, {}});
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.value().errors, 0);
    EXPECT_FALSE(std::filesystem::exists(m_tmp->native("B.dwg")));
    EXPECT_FALSE(std::filesystem::exists(m_tmp->native("B.dxf")));

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
