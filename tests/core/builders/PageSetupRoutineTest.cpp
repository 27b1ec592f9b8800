#include "builders/PageSetupRoutine.h"

#include "core/builders/PageSetupChoices.h"
#include "text/LineBreaks.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

const std::string kPlainA1 = "_-plot\r\n_No\r\n\r\nA1-Plot\r\n\r\n_No\r\n\r\n_Yes";
const std::string kImport =
    "_Expert\r\n2\r\n_-psetupin\r\n\"C:\\Standards\\Std.dwg\"\r\n\"A1-Plot\"\r\n_Expert\r\n0\r\n";

TEST(PageSetupRoutine, PlotTexts)
{
    const std::string fileOnly = "_-plot\r\n_No\r\n\r\nA1-Plot\r\nDWF6 ePlot.pc3\r\n\r\n\r\n_Yes";
    // name, choices, product, text
    const std::tuple<const char*, PageSetupPlotChoices, const char*, std::string> cases[] = {
        {"page setup in the drawing, defaults", plot("A1-Plot"), "Cad2018", kPlainA1},
        {"two copies", plot(" A1-Plot ", "Select Plotter", false, "2"), "Cad2018", kPlainA1 + "\r\n" + kPlainA1},
        {"import before each of three copies", fromDrawing(" C:\\Standards\\Std.dwg ", "A1-Plot", "3"), "Cad2010",
         kImport + kPlainA1 + "\r\n" + kImport + kPlainA1 + "\r\n" + kImport + kPlainA1},
        {"a printer, to a file", plot("A1-Plot", " Office Printer ", true), "CadLT2013",
         "_-plot\r\n_No\r\n\r\nA1-Plot\r\nOffice Printer\r\n_Yes\r\n\r\n\r\n_Yes"},
        {"a file-only device asks the file name at once", plot("A1-Plot", "DWF6 ePlot.pc3"), "Cad2004", fileOnly},
        {"and plot to file changes nothing there", plot("A1-Plot", "DWF6 ePlot.pc3", true), "Cad2004", fileOnly},
        // Not chosen, the drawing box is disabled and not read.
        {"the drawing box counts only when chosen", fromDrawing("C:\\Ignored.dwg", "A1-Plot", "1", false), "Cad2000",
         kPlainA1},
    };
    for (const auto& [name, choices, product, text] : cases) {
        const PageSetupRoutineResult result = buildPageSetupPlotRoutine(choices, product);
        ASSERT_TRUE(result.ok()) << name;
        EXPECT_EQ(result.text, text) << name;
    }
    // More copies than the list offers (a typed count) make the list's largest number.
    const PageSetupRoutineResult many =
        buildPageSetupPlotRoutine(plot("A1-Plot", "Select Plotter", false, "6666666"), "Cad2018");
    ASSERT_TRUE(many.ok());
    EXPECT_EQ(many.text.size(), 10 * kPlainA1.size() + 9 * 2);
}

TEST(PageSetupRoutine, DeviceAnswer)
{
    for (const char* pageSetupOwn : {"<Default>", "Select Plotter", "", "   ", " Select Plotter "})
        EXPECT_EQ(pageSetupDeviceAnswer(pageSetupOwn), "") << pageSetupOwn;
    EXPECT_EQ(pageSetupDeviceAnswer(" DWF6 ePlot.pc3 "), "DWF6 ePlot.pc3");
    EXPECT_EQ(pageSetupDeviceAnswer("select plotter"), "select plotter"); // a device's own name is exact
}

TEST(PageSetupRoutine, AllLayoutsThroughAutoLisp)
{
    PageSetupPlotChoices choices = plot("A1-Plot");
    choices.allTabs = true;
    const std::vector<std::string> head = {"(if(=\"Model\" (getvar \"ctab\"))",
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
        return joinCrLf(lines);
    };
    EXPECT_EQ(buildPageSetupPlotRoutine(choices, "Cad2018").text,
              expected({"\"\"", "\"_No\"", "\"\"", "\"_Yes\"))))"}));

    choices.plotToFile = true;
    choices.device = "\\\\server\\Plotter \"A\"";
    EXPECT_EQ(buildPageSetupPlotRoutine(choices, "Cad2000").text,
              expected({"\"\\\\\\\\server\\\\Plotter \\\"A\\\"\"", "\"_Yes\"", "\"\"", "\"\"", "\"_Yes\"))))"}));

    // No AutoLISP on LT, BricsCAD or ZWCAD: the tab keeps the box disabled there, and the plain form is written.
    choices = plot("A1-Plot");
    choices.allTabs = true;
    for (const char* product : {"CadLT2013", "CadLT2018", "Bricscad", "ZWCAD", "Cad14"})
        EXPECT_EQ(buildPageSetupPlotRoutine(choices, product).text, kPlainA1) << product;
}

TEST(PageSetupRoutine, TabSetUpPerProduct)
{
    const std::string fullWithLisp = " Cad2000 Cad2004 Cad2005 Cad2007 Cad2010 Cad2013 Cad2018 ";
    const std::string rel2000To2018 =
        fullWithLisp + "CadLT2000 CadLT2004 CadLT2005 CadLT2007 CadLT2010 CadLT2013 CadLT2018 ";
    for (const char* code : {"Cad2000", "Cad2004", "Cad2005", "Cad2007", "Cad2010", "Cad2013", "Cad2018", "CadLT2000",
                             "CadLT2004", "CadLT2005", "CadLT2007", "CadLT2010", "CadLT2013", "CadLT2018", "Cad13",
                             "Cad14", "CadLT98", "Bricscad", "ZWCAD"}) {
        const std::string spaced = " " + std::string(code) + " ";
        const PageSetupPlotSetup setup = pageSetupPlotSetupFor(code);
        EXPECT_EQ(setup.allTabsOffered, fullWithLisp.find(spaced) != std::string::npos) << code;
        EXPECT_EQ(setup.frameCaption, rel2000To2018.find(spaced) != std::string::npos
                                          ? "Plot Using Page Setup"
                                          : "Plot Using Page Setup in Rel 2000 - 2002")
            << code;
    }
    EXPECT_EQ(plottingInformationMessage(),
              (UserMessage{"Remember you can't plot model space drawings with a paperspace page setup and vice versa",
                           "Plotting Information", MessageIcon::Information, MessageButtons::Ok}));
}

// Each refusal builds nothing and names the control to focus; the plot checks its own name box first.
TEST(PageSetupRoutine, Refusals)
{
    const std::string breaks = "The drawing name cannot hold a double quote or a line break.";
    const std::string nameBreaks = "The page setup name cannot hold a double quote or a line break.";
    // name, result, text, focus
    const std::tuple<const char*, PageSetupRoutineResult, std::string, PageSetupField> cases[] = {
        {"no name", buildPageSetupPlotRoutine(plot("   "), "Cad2018"), "Please enter a PageSetup Name",
         PageSetupField::PageSetupName},
        {"no name comes first", buildPageSetupPlotRoutine(fromDrawing("  ", " "), "Cad2018"),
         "Please enter a PageSetup Name", PageSetupField::PageSetupName},
        {"nothing to import from", buildPageSetupPlotRoutine(fromDrawing("  ", "A1-Plot"), "Cad2018"),
         "Please select a drawing", PageSetupField::PlotDrawing},
        {"a quote in the drawing", buildPageSetupPlotRoutine(fromDrawing("C:\\a\"b.dwg", "A1-Plot"), "Cad2018"), breaks,
         PageSetupField::PlotDrawing},
        {"import, no drawing", buildPageSetupImportRoutine({false, "", ""}), "Please select a drawing",
         PageSetupField::ImportDrawing},
        {"import, no name", buildPageSetupImportRoutine({false, "  ", "C:\\Std.dwg"}),
         "Please select a Page Setup name", PageSetupField::ImportNames},
        {"import, only commas", buildPageSetupImportRoutine({false, " , ,", "C:\\Std.dwg"}),
         "Please select a Page Setup name", PageSetupField::ImportNames},
        {"import, a line break in the drawing", buildPageSetupImportRoutine({true, "*", "C:\\Std\r\n.dwg"}), breaks,
         PageSetupField::ImportDrawing},
        // A line break would make two answers of one.
        {"a line break in the name", buildPageSetupPlotRoutine(plot("A3 Pl\rot"), "Cad2018"), nameBreaks,
         PageSetupField::PageSetupName},
        {"a line break in the device", buildPageSetupPlotRoutine(plot("A1-Plot", "Plotter\rB"), "Cad2018"),
         "The plot device cannot hold a line break.", PageSetupField::Device},
        {"a quote in the name", buildPageSetupPlotRoutine(plot("A3 \"big\""), "Cad2018"), nameBreaks,
         PageSetupField::PageSetupName},
        {"import, a line break in a name", buildPageSetupImportRoutine({false, "A1,\nA3", "C:\\Std.dwg"}), nameBreaks,
         PageSetupField::ImportNames},
    };
    for (const auto& [name, result, text, focus] : cases) {
        ASSERT_FALSE(result.ok()) << name;
        EXPECT_EQ(result.text, "") << name;
        const std::string title = text == "Please enter a PageSetup Name" ? "Page Setup" : "Page Setup Error";
        EXPECT_EQ(result.refusal->message, (UserMessage{text, title, MessageIcon::Exclamation, MessageButtons::Ok}))
            << name;
        EXPECT_EQ(result.refusal->focus, focus) << name;
    }
    EXPECT_EQ(checkPageSetupPlot(fromDrawing("C:\\Std.dwg", " ", "1", false))->focus, PageSetupField::PageSetupName);
}

TEST(PageSetupRoutine, ImportTexts)
{
    const std::string head = "_Expert\r\n2\r\n_-psetupin\r\n\"C:\\Std.dwg\"\r\n";
    const std::string tail = "\r\n_Qsave\r\n_Expert\r\n0";
    // name, choices, namesLine
    const std::tuple<const char*, PageSetupImportChoices, std::string> cases[] = {
        {"load all", {true, "*", " C:\\Std.dwg "}, "\"*\""},
        {"one name", {false, " A1-Plot ", "C:\\Std.dwg"}, "\"A1-Plot\""},
        {"several names as typed, in one pair of quotes", {false, "A1-Plot, A3 Check", "C:\\Std.dwg"},
         "\"A1-Plot, A3 Check\""},
    };
    for (const auto& [name, choices, namesLine] : cases) {
        const PageSetupRoutineResult result = buildPageSetupImportRoutine(choices);
        ASSERT_TRUE(result.ok()) << name;
        EXPECT_EQ(result.text, head + namesLine + tail) << name;
    }
}

} // namespace
} // namespace qv
