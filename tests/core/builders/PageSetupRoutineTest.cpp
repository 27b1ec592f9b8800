#include "builders/PageSetupRoutine.h"

#include "text/LineBreaks.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

const std::string kPlainA1 = "_-plot\r\n_No\r\n\r\nA1-Plot\r\n\r\n_No\r\n\r\n_Yes";
const std::string kImport =
    "_Expert\r\n2\r\n_-psetupin\r\n\"C:\\Standards\\Std.dwg\"\r\n\"A1-Plot\"\r\n_Expert\r\n0\r\n";

PageSetupPlotChoices Plot(std::string name)
{
    PageSetupPlotChoices choices;
    choices.pageSetupName = std::move(name);
    return choices;
}

TEST(PageSetupRoutine, PlotTexts)
{
    struct Case
    {
        const char* name;
        PageSetupPlotChoices choices;
        const char* product;
        std::string text;
    };
    PageSetupPlotChoices twoCopies = Plot(" A1-Plot ");
    twoCopies.copies = "2";
    PageSetupPlotChoices imported = Plot("A1-Plot");
    imported.fromOtherDrawing = true;
    imported.drawing = " C:\\Standards\\Std.dwg ";
    imported.copies = "3";
    PageSetupPlotChoices toFile = Plot("A1-Plot");
    toFile.plotToFile = true;
    toFile.device = " Office Printer ";
    PageSetupPlotChoices fileOnly = Plot("A1-Plot");
    fileOnly.device = "DWF6 ePlot.pc3";
    PageSetupPlotChoices fileOnlyTicked = fileOnly;
    fileOnlyTicked.plotToFile = true;
    PageSetupPlotChoices otherDrawingUnticked = Plot("A1-Plot");
    otherDrawingUnticked.drawing = "C:\\Ignored.dwg"; // index 0: the box is disabled and not read

    const Case cases[] = {
        {"page setup in the drawing, defaults", Plot("A1-Plot"), "Cad2018", kPlainA1},
        {"two copies", twoCopies, "Cad2018", kPlainA1 + "\r\n" + kPlainA1},
        {"import before each of three copies", imported, "Cad2010",
         kImport + kPlainA1 + "\r\n" + kImport + kPlainA1 + "\r\n" + kImport + kPlainA1},
        {"a printer, to a file", toFile, "CadLT2013",
         "_-plot\r\n_No\r\n\r\nA1-Plot\r\nOffice Printer\r\n_Yes\r\n\r\n\r\n_Yes"},
        {"a file-only device asks the file name at once", fileOnly, "Cad2004",
         "_-plot\r\n_No\r\n\r\nA1-Plot\r\nDWF6 ePlot.pc3\r\n\r\n\r\n_Yes"},
        {"and plot to file changes nothing there", fileOnlyTicked, "Cad2004",
         "_-plot\r\n_No\r\n\r\nA1-Plot\r\nDWF6 ePlot.pc3\r\n\r\n\r\n_Yes"},
        {"the drawing box counts only when chosen", otherDrawingUnticked, "Cad2000", kPlainA1},
    };
    for (const Case& c : cases) {
        const PageSetupRoutineResult result = BuildPageSetupPlotRoutine(c.choices, c.product);
        ASSERT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(result.text, c.text) << c.name;
    }
}

TEST(PageSetupRoutine, DeviceAnswer)
{
    for (const char* pageSetupOwn : {"<Default>", "Select Plotter", "", "   ", " Select Plotter "})
        EXPECT_EQ(PageSetupDeviceAnswer(pageSetupOwn), "") << pageSetupOwn;
    EXPECT_EQ(PageSetupDeviceAnswer(" DWF6 ePlot.pc3 "), "DWF6 ePlot.pc3");
    EXPECT_EQ(PageSetupDeviceAnswer("select plotter"), "select plotter"); // a device's own name is exact
}

TEST(PageSetupRoutine, AllLayoutsThroughAutoLisp)
{
    PageSetupPlotChoices choices = Plot("A1-Plot");
    choices.allTabs = true;
    const std::vector<std::string> head = {"(if(= \"Model\" (getvar \"ctab\"))",
                                           "()",
                                           "(progn",
                                           "(foreach mb (vl-remove \"Model\"(layoutlist))",
                                           "(setvar \"ctab\" mb)",
                                           "(command \"_-plot\"",
                                           "\"_No\"",
                                           "\"\"",
                                           "\"A1-Plot\""};
    auto expected = [&](std::vector<std::string> rest) {
        std::vector<std::string> lines = head;
        lines.insert(lines.end(), rest.begin(), rest.end());
        return JoinCrLf(lines);
    };
    EXPECT_EQ(BuildPageSetupPlotRoutine(choices, "Cad2018").text,
              expected({"\"\"", "\"_No\"", "\"\"", "\"_Yes\"))))"}));

    choices.plotToFile = true;
    choices.device = "\\\\server\\Plotter \"A\"";
    EXPECT_EQ(BuildPageSetupPlotRoutine(choices, "Cad2000").text,
              expected({"\"\\\\\\\\server\\\\Plotter \\\"A\\\"\"", "\"_Yes\"", "\"\"", "\"\"", "\"_Yes\"))))"}));

    // No AutoLISP on LT, BricsCAD or ZWCAD: the tab keeps the box disabled there, and the plain form is written.
    choices = Plot("A1-Plot");
    choices.allTabs = true;
    for (const char* product : {"CadLT2013", "CadLT2018", "Bricscad", "ZWCAD", "Cad14"})
        EXPECT_EQ(BuildPageSetupPlotRoutine(choices, product).text, kPlainA1) << product;
}

TEST(PageSetupRoutine, TabSetUpPerProduct)
{
    for (const char* code : {"Cad2000", "Cad2004", "Cad2005", "Cad2007", "Cad2010", "Cad2013", "Cad2018"}) {
        EXPECT_TRUE(PageSetupPlotSetupFor(code).allTabsOffered) << code;
        EXPECT_EQ(PageSetupPlotSetupFor(code).frameCaption, "Plot Using Page Setup") << code;
    }
    for (const char* code :
         {"CadLT2000", "CadLT2004", "CadLT2005", "CadLT2007", "CadLT2010", "CadLT2013", "CadLT2018"}) {
        EXPECT_FALSE(PageSetupPlotSetupFor(code).allTabsOffered) << code;
        EXPECT_EQ(PageSetupPlotSetupFor(code).frameCaption, "Plot Using Page Setup") << code;
    }
    for (const char* code : {"Cad13", "Cad14", "CadLT98", "Bricscad", "ZWCAD"}) {
        EXPECT_FALSE(PageSetupPlotSetupFor(code).allTabsOffered) << code;
        EXPECT_EQ(PageSetupPlotSetupFor(code).frameCaption, "Plot Using Page Setup in Rel 2000 - 2002") << code;
    }
    EXPECT_EQ(PlottingInformationMessage(),
              (UserMessage{"Remember you can't plot model space drawings with a paperspace page setup and vice versa",
                           "Plotting Information", MessageIcon::Information, MessageButtons::Ok}));
}

TEST(PageSetupRoutine, PlotRefusals)
{
    struct Case
    {
        const char* name;
        PageSetupPlotChoices choices;
        std::string text;
        std::string title;
        PageSetupField focus;
    };
    PageSetupPlotChoices noDrawing = Plot("A1-Plot");
    noDrawing.fromOtherDrawing = true;
    noDrawing.drawing = "  ";
    PageSetupPlotChoices neither = noDrawing;
    neither.pageSetupName = " ";
    PageSetupPlotChoices quoted = noDrawing;
    quoted.drawing = "C:\\a\"b.dwg";
    const Case cases[] = {
        {"no name", Plot("   "), "Please enter a PageSetup Name", "Page Setup", PageSetupField::PageSetupName},
        {"no name comes first", neither, "Please enter a PageSetup Name", "Page Setup", PageSetupField::PageSetupName},
        {"no drawing to import from", noDrawing, "Please select a drawing", "Page Setup Error",
         PageSetupField::PlotDrawing},
        {"a quote in the drawing", quoted, "The drawing name cannot hold a double quote or a line break.",
         "Page Setup Error", PageSetupField::PlotDrawing},
    };
    for (const Case& c : cases) {
        const PageSetupRoutineResult result = BuildPageSetupPlotRoutine(c.choices, "Cad2018");
        ASSERT_FALSE(result.ok()) << c.name;
        EXPECT_EQ(result.text, "") << c.name;
        EXPECT_EQ(result.refusal->message, (UserMessage{c.text, c.title, MessageIcon::Exclamation, MessageButtons::Ok}))
            << c.name;
        EXPECT_EQ(result.refusal->focus, c.focus) << c.name;
    }
    PageSetupPlotChoices drawingOnly = Plot(" ");
    drawingOnly.drawing = "C:\\Std.dwg";
    const auto check = CheckPageSetupPlot(drawingOnly);
    ASSERT_TRUE(check.has_value());
    EXPECT_EQ(check->message.text, "Please select a Page Setup name");
    EXPECT_EQ(check->focus, PageSetupField::PageSetupName);
}

TEST(PageSetupRoutine, ImportTexts)
{
    const std::string head = "_Expert\r\n2\r\n_-psetupin\r\n\"C:\\Std.dwg\"\r\n";
    const std::string tail = "\r\n_Qsave\r\n_Expert\r\n0";
    struct Case
    {
        const char* name;
        PageSetupImportChoices choices;
        std::string namesLine;
    };
    const Case cases[] = {
        {"load all", {true, "*", " C:\\Std.dwg "}, "\"*\""},
        {"one name", {false, " A1-Plot ", "C:\\Std.dwg"}, "\"A1-Plot\""},
        {"several names, each quoted", {false, "A1-Plot, A3 Check,,", "C:\\Std.dwg"}, "\"A1-Plot\",\"A3 Check\""},
    };
    for (const Case& c : cases) {
        const PageSetupRoutineResult result = BuildPageSetupImportRoutine(c.choices);
        ASSERT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(result.text, head + c.namesLine + tail) << c.name;
    }
}

TEST(PageSetupRoutine, ImportRefusals)
{
    struct Case
    {
        const char* name;
        PageSetupImportChoices choices;
        std::string text;
        PageSetupField focus;
    };
    const Case cases[] = {
        {"no drawing", {false, "A1-Plot", " "}, "Please select a drawing", PageSetupField::ImportDrawing},
        {"no drawing comes first", {false, "", ""}, "Please select a drawing", PageSetupField::ImportDrawing},
        {"no name", {false, "  ", "C:\\Std.dwg"}, "Please select a Page Setup name", PageSetupField::ImportNames},
        {"only commas", {false, " , ,", "C:\\Std.dwg"}, "Please select a Page Setup name", PageSetupField::ImportNames},
        {"a line break in the drawing",
         {true, "*", "C:\\Std\r\n.dwg"},
         "The drawing name cannot hold a double quote or a line break.",
         PageSetupField::ImportDrawing},
    };
    for (const Case& c : cases) {
        const PageSetupRoutineResult result = BuildPageSetupImportRoutine(c.choices);
        ASSERT_FALSE(result.ok()) << c.name;
        EXPECT_EQ(result.text, "") << c.name;
        EXPECT_EQ(result.refusal->message,
                  (UserMessage{c.text, "Page Setup Error", MessageIcon::Exclamation, MessageButtons::Ok}))
            << c.name;
        EXPECT_EQ(result.refusal->focus, c.focus) << c.name;
    }
}

} // namespace
} // namespace qv
