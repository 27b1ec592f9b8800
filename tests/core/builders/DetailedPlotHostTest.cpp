// Detailed plot routines of every product family, written into a batch script by the real script writer
// and replayed against the host model: no entry may miss its prompt, and every drawing and layout plots.

#include "builders/DetailedPlot.h"

#include "HostModel.h"
#include "batch/ScriptWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

using hostmodel::HostEvent;

// Drawings whose first line declares their state to the host.
constexpr const char* kModelDrawing = "ModelTab.dwg";
constexpr const char* kLayoutDrawing = "LayoutTab.dwg";

// The devices a test machine's host knows besides the standard configurations.
constexpr const char* kExtraDevices = "Office Printer=A4|Letter;DWG To PDF.pc3";

struct Variant
{
    const char* name;
    void (*change)(DetailedPlotChoices&);
    // The layouts plotted for the model-tab drawing and the layout-tab drawing, in order; a drawing with
    // no layouts listed is not run (a plain routine is made for one kind of tab).
    std::vector<std::string> onModelDrawing;
    std::vector<std::string> onLayoutDrawing;
};

DetailedPlotChoices ModelDefaults()
{
    DetailedPlotChoices c;
    c.mode = PlotTabMode::Model;
    c.layoutName = "<Model>";
    c.device = "DWF6 ePlot.pc3";
    return c;
}

DetailedPlotChoices LayoutDefaults()
{
    DetailedPlotChoices c = ModelDefaults();
    c.mode = PlotTabMode::Layout;
    c.layoutName = "<Default>";
    c.plotArea = "Layout";
    return c;
}

const std::vector<Variant>& PlainVariants()
{
    static const std::vector<Variant> variants = {
        {"model, ISO A1, extents 1:100, style table",
         [](DetailedPlotChoices& c) {
             c = ModelDefaults();
             c.paperLabel = "Select paper size";
             c.paperList = "ISO A1 (841.00 x 594.00 MM)";
             c.units = "_Millimeters";
             c.plotArea = "_Extents";
             c.scaleChoice = "1:100";
             c.scale2 = "100";
             c.centre = true;
             c.styleTable = "monochrome.ctb";
         },
         {"Model"}, {}},
        {"model, view, no plot styles, two copies, offset, upside down",
         [](DetailedPlotChoices& c) {
             c = ModelDefaults();
             c.plotArea = "_View";
             c.viewName = "Front";
             c.plotStyles = false;
             c.styleTable = "monochrome.ctb";
             c.copies = "2";
             c.offsetX = "0.50";
             c.offsetY = "1.25";
             c.upsideDown = true;
             c.orientation = "_Portrait";
             c.hide = true;
             c.shade = "Hidden";
         },
         {"Model", "Model"}, {}},
        {"model, raster device in pixels",
         [](DetailedPlotChoices& c) {
             c = ModelDefaults();
             c.device = "PublishToWeb PNG.pc3";
             c.units = "_Pixels";
             c.paperLabel = "Select pixel size";
             c.paperList = "VGA (640.00 x 480.00 Pixels)";
             c.scaleChoice = "1:2";
             c.scale2 = "2";
         },
         {"Model"}, {}},
        {"model, printer to a file",
         [](DetailedPlotChoices& c) {
             c = ModelDefaults();
             c.device = "Office Printer";
             c.paperLabel = "Select paper size";
             c.paperList = "Letter";
             c.plotToFile = true;
             c.saveChanges = true;
         },
         {"Model"}, {}},
        {"model, PDF file device with plot to file ticked",
         [](DetailedPlotChoices& c) {
             c = ModelDefaults();
             c.device = "DWG To PDF.pc3";
             c.plotToFile = true;
             c.paperText = "ISO A3 (420.00 x 297.00 MM)";
             c.units = "_Millimeters";
         },
         {"Model"}, {}},
        {"layout, its own area, 1/4\" scale, paper space first",
         [](DetailedPlotChoices& c) {
             c = LayoutDefaults();
             c.scaleChoice = "1/4\" = 1'0\"";
             c.scale2 = "48";
             c.paperLast = false;
             c.scaleLineweights = true;
             c.hide = true;
         },
         {}, {"Layout1"}},
        {"named layout, printer, extents, three copies",
         [](DetailedPlotChoices& c) {
             c = LayoutDefaults();
             c.layoutName = " Layout2 ";
             c.device = "Office Printer";
             c.paperLabel = "Select paper size";
             c.paperList = "A4";
             c.plotArea = "_Extents";
             c.copies = "3";
             c.saveChanges = true;
         },
         {"Layout2", "Layout2", "Layout2"}, {"Layout2", "Layout2", "Layout2"}},
        {"layout, view, no plot styles",
         [](DetailedPlotChoices& c) {
             c = LayoutDefaults();
             c.plotArea = "_View";
             c.viewName = "Front";
             c.plotStyles = false;
         },
         {}, {"Layout1"}},
    };
    return variants;
}

const std::vector<Variant>& AutomaticVariants()
{
    static const std::vector<Variant> variants = {
        {"automatic, defaults",
         [](DetailedPlotChoices& c) {
             c = DetailedPlotChoices{};
             c.device = "DWF6 ePlot.pc3";
             c.centre = true;
         },
         {"Model"}, {"Layout1"}},
        {"automatic, all layouts, printer to file, millimetres",
         [](DetailedPlotChoices& c) {
             c = DetailedPlotChoices{};
             c.device = "Office Printer";
             c.paperLabel = "Select paper size";
             c.paperList = "A4";
             c.allLayouts = true;
             c.plotToFile = true;
             c.units = "_Millimeters";
             c.styleTable = "acad.ctb";
         },
         {"Model"}, {"Layout1", "Layout2"}},
        {"automatic, all layouts, raster, view, rendered, two copies",
         [](DetailedPlotChoices& c) {
             c = DetailedPlotChoices{};
             c.device = "PublishToWeb JPG.pc3";
             c.units = "_Pixels";
             c.paperLabel = "Select pixel size";
             c.paperList = "XGA (1024.00 x 768.00 Pixels)";
             c.allLayouts = true;
             c.plotArea = "_View";
             c.viewName = "Front";
             c.shade = "Rendered";
             c.quality = "Presentation";
             c.plotStyles = false;
             c.copies = "2";
             c.offsetX = "0";
             c.offsetY = "0";
         },
         {"Model", "Model"}, {"Layout1", "Layout2", "Layout1", "Layout2"}},
        {"automatic, extents, custom scale, wireframe",
         [](DetailedPlotChoices& c) {
             c = DetailedPlotChoices{};
             c.device = "DWF6 ePlot.pc3";
             c.plotArea = "_Extents";
             c.scaleChoice = "Custom";
             c.scale1 = "1/2";
             c.scale2 = "25.4";
             c.shade = "Wireframe";
             c.saveChanges = true;
         },
         {"Model"}, {"Layout1"}},
    };
    return variants;
}

struct Family
{
    const char* product;
    ScriptWriterKind writer;
};

const Family kFamilies[] = {
    {"Cad2000", ScriptWriterKind::General},   {"CadLT2000", ScriptWriterKind::General},
    {"Cad2004", ScriptWriterKind::General},   {"CadLT2004", ScriptWriterKind::General},
    {"Cad2005", ScriptWriterKind::General},   {"Cad2007", ScriptWriterKind::General},
    {"CadLT2007", ScriptWriterKind::General}, {"Cad2010", ScriptWriterKind::General},
    {"CadLT2010", ScriptWriterKind::General}, {"Cad2013", ScriptWriterKind::General},
    {"CadLT2013", ScriptWriterKind::General}, {"Cad2018", ScriptWriterKind::General},
    {"CadLT2018", ScriptWriterKind::General}, {"Bricscad", ScriptWriterKind::Bricscad},
    {"ZWCAD", ScriptWriterKind::Zwcad},
};

class DetailedPlotHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.write(kModelDrawing, "CADHOST tab=Model layouts=Layout1,Layout2 views=Front\r\nDWG");
        m_dir.write(kLayoutDrawing, "CADHOST tab=Layout1 layouts=Layout1,Layout2 views=Front\r\nDWG");
    }

    // Runs the routine on one drawing through a script of the product's writer; returns the layouts
    // plotted, and fails the test on any error or unjudged entry.
    std::vector<std::string> Run(const Family& family, const std::string& routine, const char* drawing,
                                 const std::string& trace)
    {
        ScriptInputs inputs;
        inputs.rows = {{drawing, m_dir.path(), "Plot", ""}};
        inputs.scriptFolder = m_dir.path();
        inputs.openCommand = "Unknown";
        inputs.sequenceText = "1";
        inputs.routineText = [&](const std::string&) { return routine; };
        inputs.isReadOnly = [](const std::string&) -> Result<bool> { return false; };
        const Result<ScriptText> script = BuildScript(inputs, family.writer);
        if (!script) {
            ADD_FAILURE() << trace << ": " << script.error().description;
            return {};
        }

        hostmodel::HostSetup setup;
        setup.product = *hostmodel::findProduct(family.product);
        setup.devices = hostmodel::parseDevices(kExtraDevices);
        std::vector<std::string> plotted;
        std::string problems;
        const hostmodel::HostOutcome outcome =
            hostmodel::runHostScript(script.value().bytes, setup, [&](const HostEvent& e) {
                if (e.event == "plotted")
                    plotted.push_back(e.detail.substr(7, e.detail.find(' ') - 7)); // "layout=NAME ..."
                if (e.event == "error" || e.event == "unmodelled" || e.event == "command")
                    problems += std::to_string(e.line) + " " + e.event + ": " + e.detail + "\n";
            });
        EXPECT_EQ(outcome.status, 0) << trace << "\n" << problems << "\n" << script.value().bytes;
        EXPECT_EQ(problems, "") << trace << "\n" << script.value().bytes;
        return plotted;
    }

    void RunVariants(const std::vector<Variant>& variants, bool automatic)
    {
        int runs = 0;
        for (const Family& family : kFamilies) {
            if (automatic && !OffersAutomaticPlot(family.product))
                continue;
            for (const Variant& variant : variants) {
                DetailedPlotChoices choices;
                variant.change(choices);
                const DetailedPlotResult routine = BuildDetailedPlotRoutine(choices, family.product);
                const std::string trace = std::string(family.product) + ", " + variant.name;
                ASSERT_TRUE(routine.ok()) << trace << ": " << routine.message->text;
                const std::pair<const char*, const std::vector<std::string>*> drawings[] = {
                    {kModelDrawing, &variant.onModelDrawing}, {kLayoutDrawing, &variant.onLayoutDrawing}};
                for (const auto& [drawing, layouts] : drawings) {
                    if (layouts->empty())
                        continue;
                    EXPECT_EQ(Run(family, routine.text, drawing, trace + ", " + drawing), *layouts)
                        << trace << ", " << drawing;
                    ++runs;
                }
            }
        }
        EXPECT_GT(runs, 0);
    }

    TempDir m_dir;
};

TEST_F(DetailedPlotHost, PlainRoutinesPlotOnEveryProduct)
{
    RunVariants(PlainVariants(), false);
}

TEST_F(DetailedPlotHost, AutomaticRoutinesPlotEveryTabOnTheFullProducts)
{
    RunVariants(AutomaticVariants(), true);
}

} // namespace
} // namespace qv
