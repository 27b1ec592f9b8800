// The host model judged by whole scripts: what it accepts, what it rejects and at which line.

#include "HostModel.h"

#include "Drawing.h"
#include "io/FileIo.h"
#include "routines/RoutineCatalogue.h"
#include "routines/RoutineSource.h"
#include "support/HostEvents.h"
#include "support/TempDir.h"
#include "text/LineBreaks.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace qv::hostmodel;

namespace {

struct HostRun : testsupport::HostEvents
{
    HostOutcome outcome;
};

// A routine and what the host makes of it: its errors, its entries the model does not know, and the events the
// test traces, as "event:detail".
struct RoutineCase
{
    std::vector<std::string> lines;
    int errors;
    std::vector<std::string> trace;
    std::string product = "Cad2018";
    int unmodelled = 0;
};

class HostModelTest : public ::testing::Test
{
protected:
    std::string drawing(const std::string& name, const std::string& firstLine = {})
    {
        m_tmp.write(name, firstLine.empty() ? std::string("DWG") : firstLine + "\r\nDWG");
        return m_tmp.file(name);
    }

    HostRun run(const std::vector<std::string>& lines, const std::string& product = "Cad2018",
            const std::string& devices = {})
    {
        HostRun result;
        HostSetup setup;
        setup.product = *findProduct(product);
        setup.devices = parseDevices(devices);
        result.outcome = runHostScript(testsupport::hostScript(lines), setup,
                                       [&](const HostEvent& e) { result.events.push_back(e); });
        return result;
    }

    // Opens the drawing, types the routine, quits.
    std::vector<std::string> routine(const std::string& path, const std::vector<std::string>& lines)
    {
        std::vector<std::string> script = {"_Open", "\"" + path + "\""};
        script.insert(script.end(), lines.begin(), lines.end());
        script.push_back("_Quit");
        script.push_back("_Y");
        return script;
    }

    // Runs each routine on the drawing; `traced` names the events each case lists.
    void expectRoutines(const std::string& path, const std::vector<std::string>& traced,
                        const std::vector<RoutineCase>& cases, const std::string& devices = {},
                        const std::function<void()>& afterEach = {})
    {
        for (const RoutineCase& c : cases) {
            SCOPED_TRACE(c.product + " " + ::testing::PrintToString(c.lines));
            const HostRun result = run(routine(path, c.lines), c.product, devices);
            EXPECT_EQ(result.outcome.errors, c.errors) << result.errors();
            EXPECT_EQ(result.outcome.unmodelled, c.unmodelled);
            EXPECT_EQ(result.trace(traced), c.trace);
            if (afterEach)
                afterEach();
        }
    }

    TempDir m_tmp;
};

// The detailed plot of the model tab and of a layout, release by release, as the prompt list gives it.
struct PlotCase
{
    std::string product;
    std::string layout;
    std::vector<std::string> lines; // "_-plot" and its answers
    std::string plotted;
};

std::vector<PlotCase> detailedPlots()
{
    const std::vector<std::string> start = {
        "_-plot", "_Yes", "", "DWF6 ePlot.pc3", "ISO A1 (841.00 x 594.00 MM)", "_M", "_Landscape", "_No"};
    const std::vector<std::string> modelMiddle = {"_Extents", "1:100", "_Center", "_Yes", "monochrome.ctb", "_Yes"};
    const std::vector<std::string> layoutMiddle = {"_Layout", "1=1", "0,0", "_No", "_Yes", "_No", "_No", "_No"};
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& part : parts) {
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    const std::string model = "layout=Model device=DWF6 ePlot.pc3 paper=ISO A1 (841.00 x 594.00 MM) area=Extents "
                              "scale=1:100";
    const std::string layout = "layout=Layout1 device=DWF6 ePlot.pc3 paper=ISO A1 (841.00 x 594.00 MM) "
                               "area=Layout scale=1=1";
    return {
        // 2000-2002: hidden lines instead of the shade setting, and the model tab's own save question.
        {"Cad2000", "Model", join({start, modelMiddle, {"_No", "", "_No", "_Yes"}}), model},
        {"CadLT2000", "Model", join({start, modelMiddle, {"_Y", "", "_N", "_Y"}}), model},
        {"Cad2004", "Model", join({start, modelMiddle, {"_As", "", "_No", "_Yes"}}), model},
        // Visual styles asks which one; the empty entry takes Realistic.
        {"Cad2007", "Model", join({start, modelMiddle, {"_Visual", "", "", "_No", "_Yes"}}), model},
        {"CadLT2010", "Model", join({start, modelMiddle, {"_Hidden", "", "_No", "_Yes"}}), model},
        {"Cad2013", "Model", join({start, modelMiddle, {"_W", "", "_No", "_Yes"}}), model},
        // 2013 and later: the save question leads to the shade plot quality first.
        {"Cad2018", "Model", join({start, modelMiddle, {"_As", "", "_Q", "_C", "150", "_No", "_Yes"}}), model},
        {"CadLT2018", "Model", join({start, modelMiddle, {"_Rendered", "", "_Quality", "", "_N", "_Y"}}), model},
        {"Cad2000", "Layout1", join({start, layoutMiddle, {"", "_No", "_Yes"}}), layout},
        {"Cad2018", "Layout1", join({start, layoutMiddle, {"", "_No", "_Yes"}}), layout},
        {"ZWCAD", "Layout1", join({start, layoutMiddle, {"", "_No", "_Yes"}}), layout},
    };
}

TEST_F(HostModelTest, DetailedPlotIsAcceptedOnEveryReleaseAndWritesItsFile)
{
    for (const PlotCase& plot : detailedPlots()) {
        SCOPED_TRACE(plot.product + " " + plot.layout);
        const std::string path = drawing("A.dwg", "CADHOST tab=" + plot.layout);
        const HostRun result = run(routine(path, plot.lines), plot.product);
        EXPECT_EQ(result.outcome.status, 0) << result.errors();
        EXPECT_EQ(result.outcome.unmodelled, 0);
        const std::string file = m_tmp.file("A-" + plot.layout + ".dwf");
        EXPECT_EQ(result.trace({"plotted"}), std::vector<std::string>{"plotted:" + plot.plotted + " file=" + file});
        EXPECT_EQ(m_tmp.read("A-" + plot.layout + ".dwf").rfind("CADHOST PLOT " + plot.plotted, 0), 0u);
    }
}

TEST_F(HostModelTest, AnAnswerTooFewOrTooManyIsCaughtAtItsLine)
{
    // Each answer of a correct plot dropped, then doubled. A dropped answer shifts the rest onto the wrong
    // prompts; a doubled one lands on the next prompt or, at the end, on the command prompt.
    for (const PlotCase& plot : detailedPlots()) {
        if (plot.product != "Cad2018" && plot.product != "Cad2000") {
            continue;
        }
        const std::string path = drawing("A.dwg", "CADHOST tab=" + plot.layout);
        for (std::size_t i = 1; i < plot.lines.size(); ++i) {
            for (const bool drop : {true, false}) {
                std::vector<std::string> lines = plot.lines;
                if (drop) {
                    lines.erase(lines.begin() + static_cast<long>(i));
                } else {
                    lines.insert(lines.begin() + static_cast<long>(i), plot.lines[i]);
                }
                SCOPED_TRACE(plot.product + " " + plot.layout + (drop ? " drop " : " double ") + std::to_string(i) +
                             " \"" + plot.lines[i] + "\"");
                const HostRun result = run(routine(path, lines), plot.product);
                // A doubled empty entry (the proposed file name) is taken by the save question's default; the
                // next answer then declines the plot and the one after reaches the command prompt.
                EXPECT_EQ(result.outcome.status, 1);
                EXPECT_GE(result.firstErrorLine(), 4);
                EXPECT_LE(result.firstErrorLine(), static_cast<int>(lines.size()) + 4);
            }
        }
    }
}

TEST_F(HostModelTest, PlotChecksLayoutsDevicesPapersAndViews)
{
    const std::string path = drawing("A.dwg", "CADHOST layouts=Sheet%201,Sheet%202 views=Front device=Plotter%20A");
    const std::string devices = "Plotter A=ISO A1|ISO A3;Office Printer";
    // answers after "_-plot _Yes", the errors, the plot done
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        // The current tab and the drawing's device are the defaults; the device's papers are checked.
        {{"", "", "iso a3", "_I", "_P", "_N", "_View", "Front", "_F", "", "_N", "_N", "_As", "_N", "_N", "_Y"},
         0,
         "layout=Model device=Plotter A paper=ISO A3 area=View Front scale=Fit"},
        {{"Sheet 2", "Plotter A", "Letter", "ISO A1", "_M", "_L", "_N", "_W", "1,1", "10,10", "1/4\"=1'-0\"", "_C",
          "_N", "_N", "_N", "_N", "_N", "_N", "_N", "_Y"},
         1,
         "layout=Sheet 2 device=Plotter A paper=ISO A1 area=Window scale=1/4\"=1'-0\""},
        // A layout or view that is not in the drawing, and an unknown device, are asked again.
        {{"Layout1", "Model", "Missing Plotter", "office printer", "Any Paper", "_I", "_L", "_N", "_V", "Back", "Front",
          "2", "_C", "_N", "_N", "_As", "_Y", "plot.prn", "_N", "_Y"},
         3,
         "layout=Model device=Office Printer paper=Any Paper area=View Front scale=2"},
        // Raster devices plot in pixels: no paper units question.
        {{"", "PublishToWeb PNG", "VGA (640.00 x 480.00 Pixels)", "_L", "_N", "_E", "_F", "_C", "_N", "_N", "_As",
          "out", "_N", "_Y"},
         0,
         "layout=Model device=PublishToWeb PNG.pc3 paper=VGA (640.00 x 480.00 Pixels) area=Extents scale=Fit"},
    };
    for (const auto& [answers, errors, plotted] : cases) {
        SCOPED_TRACE(answers[0] + "/" + answers[1]);
        std::vector<std::string> lines = {"_-plot", "_Yes"};
        lines.insert(lines.end(), answers.begin(), answers.end());
        const HostRun result = run(routine(path, lines), "Cad2018", devices);
        EXPECT_EQ(result.outcome.errors, errors) << result.errors();
        ASSERT_EQ(result.trace({"plotted"}).size(), 1u) << result.errors();
        EXPECT_EQ(result.trace({"plotted"})[0].rfind("plotted:" + plotted, 0), 0u) << result.trace({"plotted"})[0];
    }
}

TEST_F(HostModelTest, PlotByPageSetup)
{
    const std::string path =
        drawing("A.dwg", "CADHOST tab=Layout2 pagesetups=A1-Plot=DWF6%20ePlot.pc3,A3-Check device=Office");
    const std::vector<RoutineCase> cases = {
        // A page setup with a file-only device: the file name comes at once.
        {{"_-plot", "_No", "", "A1-Plot", "", "", "_N", "_Y"},
         0,
         {"plotted:layout=Layout2 pagesetup=A1-Plot device=DWF6 ePlot.pc3 file=" + m_tmp.file("A-Layout2.dwf")}},
        {{"_-plot", "_No", "Layout1", "a3-check", "", "_N", "_N", "_Y"},
         0,
         {"plotted:layout=Layout1 pagesetup=A3-Check device=Office"}},
        {{"_-plot", "_No", "Model", "", "", "_Y", "model", "_Y", "_Y"},
         0,
         {"plotted:layout=Model pagesetup=(current) device=Office file=" + m_tmp.file("model.plt")}},
        {{"_-plot", "_No", "", "Missing", "A3-Check", "", "_N", "_N", "_N"}, 1, {}},
    };
    expectRoutines(path, {"plotted"}, cases, "Office");
    // The current device of a drawing that declares none is None: nothing can be plotted.
    const HostRun none = run(routine(drawing("B.dwg"), {"_-plot", "_N", "", "", "", "_N", "_N", "_Y"}));
    EXPECT_NE(none.errors().find("No plotter is assigned"), std::string::npos) << none.errors();
}

// Commands and system variables on one drawing, each routine on its own: the drawing's page setups are
// read again and what a routine saved or exported is removed before the next.
TEST_F(HostModelTest, CommandsAndVariablesOnADrawing)
{
    const std::string path = drawing("A.dwg", "CADHOST pagesetups=A1-Plot layers=0,Walls");
    const std::string standard =
        "\"" + drawing("Standard.dwg", "CADHOST pagesetups=A1-Plot,A3-Check,Site%20Plan") + "\"";
    const std::string copy = m_tmp.file("Old.dwg");
    const std::string dxf = m_tmp.file("A.dxf");
    // Inside an AutoLISP string a backslash starts an escape, so a Windows path doubles its separators.
    std::string lispCopy;
    for (const char ch : copy) {
        lispCopy += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
    }
    const std::string imported = "pagesetups-imported:";
    const std::string saved = "saved:modification time set";
    const std::string discarded = "discarded:edits"; // by the closing "_Quit _Y", which throws the changes away
    const std::vector<RoutineCase> cases = {
        // System variables typed as commands, and through SETVAR.
        {{"_Expert", "5", "FILEDIA", "0", "_Setvar", "CMDDIA", "0"},
         0,
         {"variable:EXPERT = 5", "variable:FILEDIA = 0", "variable:CMDDIA = 0"}},
        {{"_Expert", "6", "1"}, 1, {"variable:EXPERT = 1"}},
        {{"CTAB", "Layout2", "TILEMODE", "1"}, 0, {"variable:CTAB = \"Layout2\"", "variable:TILEMODE = 1"}},
        {{"CTAB", "Sheet9", "Layout1"}, 1, {"variable:CTAB = \"Layout1\""}},
        // A variable the model does not know is taken on trust.
        {{"_Setvar", "PICKFIRST", "0", "DWGNAME"}, 0, {"variable:DWGNAME = \"A.dwg\" (read only)"}, "Cad2018", 1},
        // Page setups imported: an existing one brings the redefine question, unless EXPERT is 2 or more.
        {{"_-psetupin", standard, "*", "_Y"}, 0, {imported + "A1-Plot,A3-Check,Site Plan", discarded}},
        {{"_-psetupin", standard, "*", "_N"}, 0, {imported + "A3-Check,Site Plan", discarded}},
        {{"_Expert", "2", "_-psetupin", standard, "*"},
         0,
         {"variable:EXPERT = 2", imported + "A1-Plot,A3-Check,Site Plan", discarded}},
        {{"(setvar \"EXPERT\" 5)", "_-psetupin", standard, "\"Site Plan, A3-Check\""},
         0,
         {imported + "Site Plan,A3-Check", discarded}},
        {{"_-psetupin", standard, "A4", "A3-Check", "_Qsave"}, 1, {imported + "A3-Check", saved}},
        {{"_-psetupin", "\"" + m_tmp.file("Missing.dwg") + "\"", "*"}, 2, {}},
        // The redefine question meets "_Quit", which it refuses, and takes the "_Y" after it: no quit, no save.
        {{"_-psetupin", standard, "*"}, 1, {imported + "A1-Plot,A3-Check,Site Plan"}},
        // Save As and DXF out.
        {{"(setq draw_name \"" + lispCopy + "\")", "_saveas", "_2004", "!draw_name"},
         0,
         {"saved:written as a copy of " + path}},
        {{"_saveas", "", "!nothing", "\"" + copy + "\""}, 1, {"saved:written as a copy of " + path}},
        {{"_dxfout", "", "_Version", "_R12", "_Preview", "_N", "8"},
         0,
         {"dxf-written:" + dxf + " version=R12 ASCII accuracy=8"}},
        {{"_dxfout", "\"" + dxf + "\"", "_O", "_All", "", "_B"},
         0,
         {"dxf-written:" + dxf + " version=2018 binary selected objects"}},
        {{"_dxfout", "", "17", "_V", "2013", ""}, 1, {"dxf-written:" + dxf + " version=2013 ASCII accuracy=16"}},
        // Layers, audit and regeneration.
        {{"_Audit", "_Y", "_-Layer", "_Set", "0", ""}, 0, {discarded}},
        {{"_-Layer", "_Make", "Doors", "_New", "A,B", "_ON", "*", "_Freeze", "Walls", "_T", "*", "", "_Regen",
          "_Regenall", "_Qsave"},
         0,
         {saved}},
        {{"_Zoom", "_E", "_Quit", "_Y", "_Quit"}, 0, {"discarded:view"}},
        {{"LAYER", "_OFF", "0", "_Y", "", "_Audit", "_N"}, 0, {discarded}},
        {{"_-Layer", "_Set", "Roof", "", "_Audit", "Maybe", "_N"}, 2, {}},
        // Options the model does not follow end the command; what follows reaches the command prompt, where
        // the empty entry repeats the last command.
        {{"_-Layer", "_Color", "1", "Walls", ""}, 1, {}, "Cad2018", 3},
        {{"_Line", "0,0", "1,1", ""}, 2, {}, "Cad2018", 2},
    };
    expectRoutines(path, {"variable", "pagesetups-imported", "saved", "discarded", "dxf-written"}, cases, {}, [&] {
        std::filesystem::remove(TempDir::toPath(copy));
        std::filesystem::remove(TempDir::toPath(dxf));
    });
    // An existing DXF brings the replace question, which EXPERT 2 answers without asking.
    m_tmp.write("A.dxf", "old");
    const std::pair<std::vector<std::string>, int> replacing[] = {
        {{"_dxfout", "", "_Y", ""}, -1}, {{"_Expert", "2", "_dxfout", "", ""}, -1}, {{"_dxfout", "", "8"}, 5}};
    for (const auto& [lines, firstError] : replacing)
        EXPECT_EQ(run(routine(path, lines)).firstErrorLine(), firstError) << lines.back();
}

TEST_F(HostModelTest, AutoLispDrivesCommandsAndAnswersPrompts)
{
    const std::string plotEach =
        "(foreach lay (vl-remove \"Layout2\" (layoutlist))\r\n"
        "  (setvar \"ctab\" lay)\r\n"
        "  (command \"_-plot\" \"_N\" \"\" \"\" \"DWF6 ePlot\" \"\" \"_N\" \"_Y\"))";
    const auto plotted = [&](const std::string& layout, const std::string& file) {
        return "plotted:layout=" + layout + " pagesetup=(current) device=DWF6 ePlot.pc3 file=" + m_tmp.file(file);
    };
    const std::vector<RoutineCase> cases = {
        {{plotEach}, 0, {plotted("Layout1", "A-Layout1.dwf"), plotted("Layout3", "A-Layout3.dwf")}},
        // A command left open by (command ...) is answered by the script lines that follow.
        {{"(if (= (getvar \"ctab\") \"Model\") (progn (setvar \"ctab\" \"Layout3\") (command \"_-plot\" \"_N\")))", "",
          "", "DWF6 ePlot", "x", "_N", "_Y"},
         0,
         {plotted("Layout3", "x.dwf")},
         "Cad2013"},
        // AutoCAD LT has no AutoLISP: the expression and what it would have done are errors.
        {{plotEach}, 1, {}, "CadLT2018"},
        // "!file" is refused and the prompt asked again: the next answer becomes the file name, and the answer
        // after it ends -PLOT at its proceed question.
        {{"_-plot", "_N", "", "", "DWF6 ePlot", "!file", "_N", "_Y"}, 3, {}, "CadLT2013"},
        // An unbalanced expression swallows the rest of the script; an unknown function is an error.
        {{"(command \"_Zoom\" \"1X\"", "_Qsave"}, 1, {}},
        {{"(frobnicate 1)"}, 1, {}},
        {{"(setq f (strcat (getvar \"dwgprefix\") \"out\"))", "_-plot", "_N", "", "", "DWF6 ePlot", "!f", "_N", "_Y"},
         0,
         {plotted("Model", "out.dwf")}},
    };
    expectRoutines(drawing("A.dwg", "CADHOST layouts=Layout1,Layout2,Layout3"), {"plotted"}, cases);
}

TEST_F(HostModelTest, EveryDefaultRoutineRunsOnEveryProductWithNothingUnmodelled)
{
    // The shipped routines as the program reads them, each framed as the script writer frames it: open, routine,
    // zoom, close with a save.
    const auto routines = qv::parseRoutineSource(qv::readFileBytes(QUORVEL_ROUTINES_TXT).valueOr(""));
    ASSERT_TRUE(routines.ok()) << routines.error().description;
    ASSERT_GE(routines.value().size(), 10u);
    const std::string path = drawing("A.dwg");
    for (const char* product : {"Cad13", "CadLT98", "Cad2000", "Cad2007", "CadLT2013", "Cad2018", "Bricscad"}) {
        for (const qv::Routine& shipped : routines.value()) {
            SCOPED_TRACE(std::string(product) + " " + shipped.description());
            const std::string text = qv::stripEndMarker(shipped.scriptText());
            std::vector<std::string> lines;
            for (const std::string_view line : qv::splitLines(text))
                lines.emplace_back(line);
            lines.insert(lines.end(), {"_Zoom", "0.999x", "_Close", "_Y"});
            const HostRun result = run(routine(path, lines), product);
            EXPECT_EQ(result.outcome.status, 0) << result.errors();
            EXPECT_EQ(result.outcome.unmodelled, 0);
        }
    }
}

// One row or more per documented behaviour of the real hosts (and the rules that follow from the routines' own
// texts): the script after "_Open", what it should show, and where the host stops reading it.
struct EvidenceCase
{
    const char* rule;
    std::string product;
    std::string drawingLine; // the drawing's CADHOST line; "readonly" for a write-protected drawing
    std::vector<std::string> lines;
    std::vector<std::string> traced;
    std::vector<std::string> trace;
    int errors = 0;
    int suspendedLine = 0; // 0: read to the end
    bool leftWaiting = false;
    bool trustNames = false;
};

TEST_F(HostModelTest, FollowsTheEvidenceOfTheRealHosts)
{
    const std::string missing = m_tmp.file("Missing") + "/A";
    const std::vector<std::string> pdfModel = {"_-plot", "_Y", "", "DWF6 ePlot.pc3", "", "_M", "_L", "_N", "_E", "_F"};
    auto plotThen = [&](std::vector<std::string> rest) {
        std::vector<std::string> lines = pdfModel;
        lines.insert(lines.end(), rest.begin(), rest.end());
        return lines;
    };
    const std::vector<std::string> closing = {"discarded", "closed", "saved", "kept-open"};
    const std::string gone = "closed:changes discarded";
    const std::string drawing1 = "closed:unmodified"; // the start-up drawing, at the quit
    const std::vector<EvidenceCase> cases = {
        // E1: AutoCAD's close and quit discard the changes, so a read-only drawing closes cleanly; No keeps it open.
        {"E1", "Cad2018", "readonly", {"_Y", "_Zoom", "0.999x", "_Close", "_Y", "_Quit"}, closing,
         {"discarded:view", gone, drawing1}},
        {"E1", "CadLT2010", "", {"_purge", "_LA", "*", "_N", "_Quit", "_Y"}, closing,
         {"discarded:edits", gone, drawing1}},
        {"E1", "Cad2018", "", {"_Zoom", "_E", "_Close", "_N", "_Qsave", "_Close", "_Quit"}, {"saved", "closed"},
         {"saved:modification time set", "closed:unmodified", drawing1}},
        {"E1", "Bricscad", "", {"Zoom", "E", "Close", "Y", "Quit"}, closing,
         {"saved:modification time set", "closed:saved", drawing1}},
        // Both questions take only Yes or No; ZWCAD asks as BricsCAD does.
        {"E1", "ZWCAD", "", {"_Zoom", "_E", "_Close", "_Open", "_No", "_Quit"}, closing,
         {"discarded:view", gone, drawing1}, 1},
        {"E1", "CadLT2018", "", {"_Zoom", "_E", "_Close", "_Maybe", "_Y", "_Quit"}, closing,
         {"discarded:view", gone, drawing1}, 1},
        // E2: an AutoLISP error suspends the script, also "Function cancelled" from a refused (command) answer.
        {"E2", "Cad2018", "", {"(frobnicate)", "_Quit", "_Y"}, {"suspended"}, {"suspended:"}, 1, 3, true},
        {"E2", "Cad2013", "", {"(command \"_-plot\" \"_N\" \"\" \"\" \"\" \"_Maybe\")", "_Quit"}, {"suspended"},
         {"suspended:"}, 2, 3, true},
        // E3: Enter alone at the command prompt repeats the last command.
        {"E3", "Cad2018", "", {"_Zoom", "_E", "", "_W", "0,0", "1,1", "_Quit", "_Y"}, {"zoom", "enter"},
         {"zoom:_Zoom", "enter:repeats _Zoom", "zoom:_Zoom"}},
        // E4: quotes are part of the name at the device prompt, and by analogy at the layout prompt.
        {"E4", "Cad2018", "", {"_-plot", "_N", "", "", "\"DWF6 ePlot.pc3\"", "DWF6 ePlot.pc3", "", "_N", "_Y", "_Quit",
                               "_Y"},
         {"plotted"}, {"plotted:layout=Model pagesetup=(current) device=DWF6 ePlot.pc3 file=" + m_tmp.file("A-Model.dwf")},
         1},
        {"E4", "Cad2018", "", {"_-plot", "_N", "\"Layout1\"", "Layout1", "", "DWF6 ePlot.pc3", "", "_N", "_Y", "_Quit",
                               "_Y"},
         {"plotted"},
         {"plotted:layout=Layout1 pagesetup=(current) device=DWF6 ePlot.pc3 file=" + m_tmp.file("A-Layout1.dwf")}, 1},
        // E5, E6: no Center after plot area Layout; an answer that is not an option ends -PLOT, and what follows
        // lands at the command prompt.
        {"E5", "Cad2018", "CADHOST tab=Layout1",
         {"_-plot", "_Y", "", "DWF6 ePlot.pc3", "", "_M", "_L", "_N", "_Layout", "1:1", "_C", "_Y", "_Quit", "_Y"},
         {"cancelled"}, {"cancelled:the command was cancelled"}, 2},
        {"E6", "Cad2018", "", {"_-plot", "_Y", "", "DWF6 ePlot.pc3", "", "L", "N", "_Quit", "_Y"}, {"cancelled"},
         {"cancelled:the command was cancelled"}, 2},
        // E7: Visual styles asks which one.
        {"E7", "Cad2013", "", plotThen({"_C", "_N", "_Y", "_V", "_SK", "", "_N", "_Y", "_Quit", "_Y"}), {"error"}, {}},
        // E8: a last line without a line end is never typed: the host waits at the question it answers.
        {"E8", "Cad2018", "", {"_Zoom", "_E", "_Quit", "_Y"}, {"untyped"}, {"untyped:"}, 1, 0, true},
        // E9: LAYER in a script is the command-line form.
        {"E9", "Cad2018", "", {"LAYER", "_Set", "0", "", "_Quit", "_Y"}, {"error"}, {}},
        // E10: BricsCAD removes hidden lines and saves the model tab, without Center; E11: 2004's Quality branch.
        {"E10", "Bricscad", "", plotThen({"0,0", "_Y", "", "_Y", "_N", "", "_N", "_Y", "Quit", "Y"}), {"error"}, {}},
        {"E10", "Bricscad", "", plotThen({"_C", "_Y", "Quit", "Y"}), {"cancelled"},
         {"cancelled:the command was cancelled"}, 2},
        {"E11", "Cad2004", "", plotThen({"_C", "_N", "_Y", "_R", "", "_Q", "_R", "_N", "_Y", "_Quit", "_Y"}),
         {"error"}, {}},
        // Save As: over its own file in another release the host asks to replace it ("_y"), in its own release it
        // does not; R13 from 2000; a folder that does not exist is an error, for DXF too.
        {"saveas", "Cad2018", "", {"_saveas", "2000", "", "_y", "_Quit", "_Y"}, {"saved"},
         {"saved:modification time set"}},
        {"saveas", "Cad2000", "", {"_saveas", "_r13", "", "_y", "_saveas", "2000", "", "_Quit"}, {"saved"},
         {"saved:modification time set", "saved:modification time set"}},
        {"saveas", "Cad2018", "", {"_saveas", "", "\"" + missing + ".dwg\"", "_dxfout", "\"" + missing + ".dxf\"", "",
                                   "_Quit"},
         {"saved", "dxf-written"}, {}, 2},
        // A plot that keeps the drawing's device None: an error; a warning when the check cannot see the drawing.
        {"none", "Cad2018", "", {"_-plot", "_N", "", "", "", "_N", "_N", "_Y", "_Quit"}, {"plotted"}, {}, 1},
        {"none", "Cad2018", "none", {"_-plot", "_N", "", "", "", "_N", "_N", "_Y", "_Quit"}, {"warning"}, {"warning:"},
         0, 0, false, true},
    };
    for (const EvidenceCase& c : cases) {
        SCOPED_TRACE(std::string(c.rule) + " " + c.product + " " + ::testing::PrintToString(c.lines));
        m_tmp.write("A.dwg", c.drawingLine.starts_with("CADHOST") ? c.drawingLine + "\r\nDWG" : std::string("DWG"));
        std::filesystem::permissions(m_tmp.native("A.dwg"), std::filesystem::perms::owner_write,
                                     c.drawingLine == "readonly" ? std::filesystem::perm_options::remove
                                                                 : std::filesystem::perm_options::add);
        std::vector<std::string> lines = {"_Open", "\"" + m_tmp.file("A.dwg") + "\""};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        std::string script = testsupport::hostScript(lines);
        if (std::string(c.rule) == "E8")
            script.resize(script.size() - 2);
        HostRun result;
        HostSetup setup;
        setup.product = *findProduct(c.product);
        setup.trustNames = c.trustNames;
        result.outcome = runHostScript(script, setup, [&](const HostEvent& e) { result.events.push_back(e); });
        std::vector<std::string> trace = result.trace(c.traced);
        for (std::string& t : trace) {
            if (t.starts_with("suspended:") || t.starts_with("untyped:") || t.starts_with("warning:"))
                t.erase(t.find(':') + 1);
        }
        EXPECT_EQ(trace, c.trace) << result.errors();
        EXPECT_EQ(result.outcome.errors, c.errors) << result.errors();
        EXPECT_EQ(result.outcome.suspended, c.suspendedLine != 0);
        EXPECT_EQ(result.outcome.suspendedLine, c.suspendedLine);
        EXPECT_EQ(result.outcome.leftWaiting, c.leftWaiting);
        EXPECT_EQ(result.events.back().detail.ends_with(" left waiting"), c.leftWaiting);
        std::filesystem::remove(m_tmp.native("A.dxf"));
    }
}

TEST(HostModelFiles, DrawingLineAndDeviceList)
{
    Drawing drawing;
    EXPECT_EQ(applyDrawingLine("CADHOST tab=sheet%201 layouts=Sheet%201 views=A,B device=My%2CPlotter", drawing), "");
    EXPECT_EQ(drawing.tab, "Sheet 1");
    EXPECT_EQ(drawing.views, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(drawing.device, "My,Plotter");
    for (const char* bad : {"CADHOST tab=Nowhere", "CADHOST colour=red", "CADHOST layouts=A,,B", "CADHOST views=%4",
                            "CADHOST tab"}) {
        Drawing other;
        EXPECT_NE(applyDrawingLine(bad, other), "") << bad;
    }
    const std::vector<Device> devices = parseDevices("A=P1|P2;;B;C=");
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[0].papers, (std::vector<std::string>{"P1", "P2"}));
    EXPECT_TRUE(devices[1].papers.empty());
}

} // namespace
