#include "builders/DetailedPlot.h"

#include "text/LineBreaks.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

// The plain Cad2010 example: model tab, DWF6, ISO A1, millimetres, extents, 1:100, centred, monochrome.ctb.
DetailedPlotChoices modelIsoA1()
{
    DetailedPlotChoices c;
    c.mode = PlotTabMode::Model;
    c.layoutName = "<Model>";
    c.device = "DWF6 ePlot.pc3";
    c.paperLabel = "Select paper size";
    c.paperList = "ISO A1 (841.00 x 594.00 MM)";
    c.units = "_Millimeters";
    c.plotArea = "_Extents";
    c.scaleChoice = "1:100";
    c.scale2 = "100";
    c.centre = true;
    c.styleTable = "monochrome.ctb";
    return c;
}

// clang-format off
const std::vector<std::string> kModelIsoA1Lines = {
    "_-plot", "_Yes", "",   "DWF6 ePlot.pc3", "ISO A1 (841.00 x 594.00 MM)", "_Millimeters", "_Landscape", "_No",
    "_Extents", "1=100", "_C", "_Yes", "monochrome.ctb", "_Yes", "_A", "", "_No", "_Yes",
};
// clang-format on

// The automatic example: DWF6, default paper, inches, display, fit, centred, default style table.
DetailedPlotChoices automaticDwf()
{
    DetailedPlotChoices c;
    c.device = "DWF6 ePlot.pc3";
    c.centre = true;
    return c;
}

std::string lisp(const std::vector<std::string>& answers)
{
    std::string text;
    for (const std::string& answer : answers)
        text += "\"" + answer + "\"\r\n";
    return text;
}

const std::string kAutomaticModelCall = "(if(=\"Model\" (getvar \"ctab\"))\r\n(command \"_-plot\"\r\n" +
                                        lisp({"_Yes", "", "DWF6 ePlot.pc3", "", "_Inches", "_Landscape", "_No",
                                              "_Display", "_Fit", "_C", "_Yes", "", "_Yes", "_A", "", "_No"}) +
                                        "\"_Yes\")\r\n";
const std::string kAutomaticLayoutCall =
    "(command \"_-plot\"\r\n" +
    lisp({"_Yes", "", "DWF6 ePlot.pc3", "", "_Inches", "_Landscape", "_No", "_Display", "_Fit", "_C", "_Yes", "",
          "_Yes", "_No", "_No", "_No", "", "_No"}) +
    "\"_Yes\"))";

std::string build(const DetailedPlotChoices& c, const char* product)
{
    const DetailedPlotResult result = buildDetailedPlotRoutine(c, product);
    EXPECT_TRUE(result.ok()) << (result.message ? result.message->text : "");
    return result.text;
}

TEST(DetailedPlot, ExamplesByteForByte)
{
    EXPECT_EQ(build(modelIsoA1(), "Cad2010"), joinCrLf(kModelIsoA1Lines));

    EXPECT_EQ(build(automaticDwf(), "Cad2018"), kAutomaticModelCall + kAutomaticLayoutCall);

    DetailedPlotChoices all = automaticDwf();
    all.allLayouts = true;
    EXPECT_EQ(build(all, "Cad2018"), kAutomaticModelCall +
                                         "(progn\r\n(foreach mb (vl-remove \"Model\"(layoutlist))\r\n"
                                         "(setvar \"ctab\" mb)\r\n" +
                                         kAutomaticLayoutCall + "\r\n))");
}

// Each case changes the Cad2010 model example and names the lines that change (by index) or go.
TEST(DetailedPlot, PlainFormFollowsTheChoicesAndTheProduct)
{
    auto with = [](std::vector<std::pair<std::size_t, std::string>> replaced, std::vector<std::size_t> removed = {},
                   std::vector<std::pair<std::size_t, std::string>> inserted = {}) {
        std::vector<std::string> lines = kModelIsoA1Lines;
        for (const auto& [i, line] : replaced)
            lines[i] = line;
        for (auto it = removed.rbegin(); it != removed.rend(); ++it)
            lines.erase(lines.begin() + static_cast<long>(*it));
        for (const auto& [i, line] : inserted)
            lines.insert(lines.begin() + static_cast<long>(i), line);
        return lines;
    };
    // name, product, change, the lines written
    const std::tuple<const char*, const char*, void (*)(DetailedPlotChoices&), std::vector<std::string>> cases[] = {
        {"2000 removes hidden lines instead of shading", "Cad2000", [](DetailedPlotChoices& c) { c.hide = true; },
         with({{14, "_Yes"}})},
        {"BricsCAD removes hidden lines on the model tab, and offers no Center", "Bricscad",
         [](DetailedPlotChoices& c) { std::tie(c.centre, c.offsetX, c.offsetY) = std::tuple(false, "0", "0"); },
         with({{10, "0,0"}, {14, "_No"}})},
        {"rendered, presentation quality on 2013", "Cad2013",
         [](auto& c) { std::tie(c.shade, c.quality) = std::tuple("Rendered", "Presentation"); },
         with({{14, "_R"}}, {}, {{16, "_Q"}, {17, "_R"}})},
        {"rendered, normal quality adds nothing", "Cad2018",
         [](auto& c) { std::tie(c.shade, c.quality) = std::tuple("Rendered", "Normal"); }, with({{14, "_R"}})},
        {"2010 sets the quality too", "Cad2010",
         [](auto& c) { std::tie(c.shade, c.quality) = std::tuple("Rendered", "Draft"); },
         with({{14, "_R"}}, {}, {{16, "_Q"}, {17, "_D"}})},
        {"quality only for rendered", "Cad2018",
         [](auto& c) { std::tie(c.shade, c.quality) = std::tuple(" Hidden ", "Maximum"); }, with({{14, "_H"}})},
        {"plot styles off: no table question", "Cad2010", [](DetailedPlotChoices& c) { c.plotStyles = false; },
         with({{11, "_No"}}, {12})},
        {"default style table is an empty answer", "Cad2010",
         [](DetailedPlotChoices& c) { c.styleTable = " <default> "; }, with({{12, ""}})},
        {"plot to file on a printer", "Cad2010",
         [](auto& c) { std::tie(c.device, c.plotToFile) = std::tuple("Office Printer", true); },
         with({{3, "Office Printer"}}, {}, {{15, "_Yes"}})},
        {"a PDF configuration asks only the file name", "Cad2010",
         [](auto& c) { std::tie(c.device, c.plotToFile) = std::tuple("DWG To PDF.pc3", true); },
         with({{3, "DWG To PDF.pc3"}})},
        {"raster device: no units question", "Cad2010",
         [](auto& c) {
             std::tie(c.device, c.units, c.paperList) =
                 std::tuple("PublishToWeb PNG.pc3", "_Pixels", "VGA (640.00 x 480.00 Pixels)");
         },
         with({{3, "PublishToWeb PNG.pc3"}, {4, "VGA (640.00 x 480.00 Pixels)"}}, {5})},
        {"offset, view, upside down, portrait", "Cad2010",
         [](DetailedPlotChoices& c) {
             c.centre = false;
             c.offsetX = "1.5";
             c.offsetY = " 2";
             c.plotArea = "_View";
             c.viewName = " Front ";
             c.upsideDown = true;
             c.orientation = "_Portrait";
         },
         with({{6, "_Portrait"}, {7, "_Yes"}, {8, "_View"}, {10, "1.5, 2"}}, {}, {{9, "Front"}})},
        {"typed paper, save changes", "Cad2010",
         [](auto& c) {
             std::tie(c.paperLabel, c.paperText, c.saveChanges) = std::tuple("Enter paper size", " My Sheet ", true);
         },
         with({{4, "My Sheet"}, {16, "_Yes"}})},
        {"a layout left over from the layout mode is the default area", "Cad2010",
         [](DetailedPlotChoices& c) { c.plotArea = "Layout"; }, with({{8, ""}})},
    };
    for (const auto& [name, product, change, lines] : cases) {
        DetailedPlotChoices choices = modelIsoA1();
        change(choices);
        EXPECT_EQ(build(choices, product), joinCrLf(lines)) << name;
    }
}

TEST(DetailedPlot, LayoutTabAnswersTheLayoutQuestions)
{
    DetailedPlotChoices c = modelIsoA1();
    c.mode = PlotTabMode::Layout;
    c.layoutName = " A-1 ";
    c.plotArea = "Layout";
    c.scaleLineweights = true;
    c.hide = true;
    // The host offers no Center after the layout's own area, nor does BricsCAD anywhere: "_C" would end the plot.
    for (const char* product : {"Cad2018", "Bricscad"}) {
        const DetailedPlotResult centred = buildDetailedPlotRoutine(c, product);
        ASSERT_FALSE(centred.ok()) << product;
        EXPECT_NE(centred.message->text.find("Center"), std::string::npos);
    }
    std::tie(c.centre, c.offsetX, c.offsetY) = std::tuple(false, "0", "0");
    // clang-format off
    const std::vector<std::string> expected = {
        "_-plot", "_Yes", "A-1", "DWF6 ePlot.pc3", "ISO A1 (841.00 x 594.00 MM)", "_Millimeters", "_Landscape",
        "_No", "", "1=100", "0,0", "_Yes", "monochrome.ctb", "_Yes", "_Yes", "_No", "_Yes", "", "_No", "_Yes",
    };
    // clang-format on
    for (const char* product : {"Cad2000", "CadLT2010", "Cad2018", "ZWCAD", "Bricscad"})
        EXPECT_EQ(build(c, product), joinCrLf(expected)) << product;

    c.paperLast = false; // "Plot paperspace last test" off: paper space goes first
    c.layoutName = "<DeFault>";
    std::vector<std::string> first = expected;
    first[2] = "";
    first[15] = "_Yes";
    EXPECT_EQ(build(c, "Cad2018"), joinCrLf(first));
}

TEST(DetailedPlot, AutomaticFormDetailsAndTypedAnswers)
{
    // Pixels: no units answer; the view is two answers; backslashes doubled; quotes escaped.
    DetailedPlotChoices c = automaticDwf();
    c.device = R"(\\server\Plot A)";
    c.units = "_Pixels";
    c.plotArea = "_View";
    c.viewName = "Front";
    c.paperLabel = "Select pixel size";
    c.paperList = R"(Sheet 24")";
    c.shade = "Rendered";
    c.quality = "Draft";
    const std::string text = build(c, "Cad2013");
    EXPECT_EQ(text.substr(0, text.find("(command", 40)),
              "(if(=\"Model\" (getvar \"ctab\"))\r\n(command \"_-plot\"\r\n" +
                  lisp({"_Yes", "", R"(\\\\server\\Plot A)", R"(Sheet 24\")", "_Landscape", "_No", "_View", "Front",
                        "_Fit", "_C", "_Yes", "", "_Yes", "_R", "", "_Q", "_D", "_No"}) +
                  "\"_Yes\")\r\n");
    // The layout call carries no shade or quality answers.
    EXPECT_EQ(text.find("\"_Q\"", text.find("(command", 40)), std::string::npos);

    // Cad2000 asks hidden-line removal on the model tab and has no quality question.
    DetailedPlotChoices old = automaticDwf();
    old.hide = true;
    const std::string cad2000 = build(old, "Cad2000");
    EXPECT_NE(cad2000.find(lisp({"_Yes", "_Yes", "", "_No"}) + "\"_Yes\")"), std::string::npos);

    // A backslash or a quote in any typed text: each AutoLISP string still closes on its own line, and holds the
    // text itself.
    c = automaticDwf();
    c.device = R"(\\srv\Plot "A")";
    c.paperText = R"(Roll \ 36)";
    c.plotArea = "_View";
    c.viewName = R"(Front\)";
    c.centre = false;
    c.offsetX = R"(1\)";
    c.offsetY = R"(2")";
    c.styleTable = R"(my "pens".ctb)";
    const std::string typed = build(c, "Cad2018");
    for (const char* answer :
         {R"("\\\\srv\\Plot \"A\"")", R"("Roll \\ 36")", R"("Front\\")", R"("1\\,2\"")", R"("my \"pens\".ctb")"})
        EXPECT_NE(typed.find("\r\n" + std::string(answer) + "\r\n"), std::string::npos) << answer;
}

TEST(DetailedPlot, TypedTextWithALineBreakIsRefused)
{
    // One answer per line: a line break would split an answer in two and shift the rest.
    // the typed text, its name in the message, the field focused
    const std::tuple<std::string DetailedPlotChoices::*, const char*, PlotField> cases[] = {
        {&DetailedPlotChoices::layoutName, "layout name", PlotField::LayoutName},
        {&DetailedPlotChoices::device, "plot device", PlotField::Printer},
        {&DetailedPlotChoices::paperList, "paper size", PlotField::Paper},
        {&DetailedPlotChoices::viewName, "view name", PlotField::View},
        {&DetailedPlotChoices::offsetX, "plot offset", PlotField::OffsetX},
        {&DetailedPlotChoices::offsetY, "plot offset", PlotField::OffsetY},
        {&DetailedPlotChoices::styleTable, "plot style table", PlotField::StyleTable},
    };
    for (const char* lineBreak : {"\r\n", "\n", "\r"}) {
        for (const auto& [text, name, focus] : cases) {
            for (const PlotTabMode mode : {PlotTabMode::Model, PlotTabMode::Automatic}) {
                DetailedPlotChoices choices = modelIsoA1();
                choices.mode = mode;
                choices.plotArea = "_View";
                choices.viewName = "Front";
                choices.centre = false;
                choices.*text += std::string(lineBreak) + "more";
                const DetailedPlotResult result = buildDetailedPlotRoutine(choices, "Cad2018");
                ASSERT_TRUE(result.message.has_value()) << name;
                EXPECT_EQ(result.message->text, "The " + std::string(name) + " cannot hold a line break.");
                EXPECT_EQ(result.focus, focus) << name;
                EXPECT_TRUE(result.text.empty()) << name;
            }
        }
    }
    // The paper box that is not live is not part of the routine.
    DetailedPlotChoices hidden = modelIsoA1();
    hidden.paperText = "two\r\nlines";
    EXPECT_TRUE(buildDetailedPlotRoutine(hidden, "Cad2018").ok());
}

TEST(DetailedPlot, ChecksRunInOrderAndRefuseWithTheirMessage)
{
    const UserMessage scale{"Please enter a Positive, Real or Fractional number", "Quorvel Error",
                            MessageIcon::Exclamation, MessageButtons::Ok};
    const UserMessage device{"Please select a plotter \r\n\r\n", "Quorvel Error", MessageIcon::Exclamation,
                             MessageButtons::Ok};
    const UserMessage view{"You have selected the view option for plot area \r\n"
                           "but you have not input the name of the view\r\n\r\n",
                           "Quorvel Error", MessageIcon::Critical, MessageButtons::Ok};
    const UserMessage offset{"Please enter a Plot Offset", "Plot using detailed information", MessageIcon::Exclamation,
                             MessageButtons::Ok};
    // Every later box is wrong too (no device, no view name, no offsets): the first check that fails wins.
    // name, scale boxes 1 and 2, device, view name, offset X (offset Y is empty), message, field focused
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*, UserMessage,
                     PlotField>
        cases[] = {
            {"scale box 1 first", "1.5.2", "/4", " ", " ", " ", scale, PlotField::Scale1},
            {"then box 2", "1", "/4", " ", " ", " ", scale, PlotField::Scale2},
            {"an empty box cannot be a scale", "", "100", " ", " ", " ", scale, PlotField::Scale1},
            {"nor a zero", "1", "0/4", " ", " ", " ", scale, PlotField::Scale2},
            {"then the device", "1", "1/4", " ", " ", " ", device, PlotField::Printer},
            {"typed in any case", "1", "1", "select plotter", " ", " ", device, PlotField::Printer},
            {"then the view", "1", "1", "Plotter", " ", " ", view, PlotField::View},
            {"then offset X", "1", "1", "Plotter", "V", " ", offset, PlotField::OffsetX},
            {"then offset Y", "1", "1", "Plotter", "V", "0", offset, PlotField::OffsetY},
        };
    for (const auto& [name, scale1, scale2, printer, viewName, offsetX, message, focus] : cases) {
        DetailedPlotChoices choices = modelIsoA1();
        choices.scale1 = scale1;
        choices.scale2 = scale2;
        choices.device = printer;
        choices.plotArea = "_View";
        choices.viewName = viewName;
        choices.centre = false;
        choices.offsetX = offsetX;
        choices.offsetY = "";
        const DetailedPlotResult result = buildDetailedPlotRoutine(choices, "Cad2018");
        EXPECT_EQ(result.message, message) << name;
        EXPECT_EQ(result.focus, focus) << name;
        EXPECT_TRUE(result.text.empty()) << name;
    }
    // Scaled to Fit does not need numbers in the boxes, only valid ones.
    DetailedPlotChoices fit = modelIsoA1();
    fit.scaleChoice = "Scaled to Fit";
    fit.scale1 = "";
    EXPECT_TRUE(buildDetailedPlotRoutine(fit, "Cad2018").ok());
    fit.device = "Select Plotter";
    EXPECT_EQ(buildDetailedPlotRoutine(fit, "Cad2018").message, device);
    // The automatic form needs AutoLISP.
    DetailedPlotChoices lt = automaticDwf();
    const DetailedPlotResult refused = buildDetailedPlotRoutine(lt, "CadLT2010");
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.focus, PlotField::Tilemode);
}

TEST(DetailedPlot, CopiesRepeatTheWholeCommand)
{
    const std::string once = joinCrLf(kModelIsoA1Lines);
    // copies typed, times the command is written (0: refused)
    const std::pair<const char*, int> cases[] = {
        {"1", 1},   {"3", 3},  {" 10 ", 10}, {"", 1},
        {"0", 1},   {"-4", 1}, {"1.5", 1}, // one extra copy and a half: halves go to the even number, 0
        {"2.5", 3},                        // 1.5 extra rounds to 2
        {"3.5", 3},                        // 2.5 extra rounds to 2
        {"abc", 0}, {"3x", 0}, {"1000", 0},
    };
    for (const auto& [copies, times] : cases) {
        DetailedPlotChoices choices = modelIsoA1();
        choices.copies = copies;
        const DetailedPlotResult result = buildDetailedPlotRoutine(choices, "Cad2010");
        if (times == 0) {
            EXPECT_FALSE(result.ok()) << copies;
            EXPECT_EQ(result.focus, PlotField::Copies) << copies;
            continue;
        }
        std::string expected = once;
        for (int i = 1; i < times; ++i)
            expected += "\r\n" + once;
        EXPECT_EQ(result.text, expected) << copies;
    }
}

TEST(DetailedPlot, Answers)
{
    EXPECT_EQ(quoteDeviceForLisp(R"(  \\srv\Plot "A"  )"), R"(\\\\srv\\Plot \"A\")");

    for (const char* valid : {"", "1", "100", "0.5", ".5", "1/4", "12/48"})
        EXPECT_TRUE(isValidScaleNumber(valid)) << valid;
    for (const char* invalid : {"1.5.2", "/4", "4/", "1/2/3", "1.2/3", " 1", "1,5", "-1", "a"})
        EXPECT_FALSE(isValidScaleNumber(invalid)) << invalid;

    // paper label, list entry, typed text, the answer
    const std::tuple<const char*, const char*, const char*, const char*> papers[] = {
        {"Select paper size", " A4 ", "typed", "A4"},     {"select pixel size", "select iso size", "typed", ""},
        {"Select paper size", "No Custom Sizes", "", ""}, {"Select paper size", "  ", "typed", ""},
        {"ENTER PAPER SIZE", "A4", " typed ", "typed"},   {"Enter paper size", "A4", "<DEFAULT>", ""},
    };
    for (const auto& [label, list, text, answer] : papers) {
        DetailedPlotChoices c;
        c.paperLabel = label;
        c.paperList = list;
        c.paperText = text;
        EXPECT_EQ(paperAnswer(c), answer) << label << "/" << list;
    }

    EXPECT_EQ(layoutNameAnswer(" <model> "), "<model>"); // only the exact "<Model>" is the model tab
    EXPECT_EQ(layoutNameAnswer(" <default> "), "");
}

} // namespace
} // namespace qv
