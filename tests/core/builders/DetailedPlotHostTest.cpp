// Detailed plot routines of every product family, written into a batch script by the real script writer
// and replayed against the host model: no entry may miss its prompt, and every drawing and layout plots.

#include "builders/DetailedPlot.h"
#include "core/builders/HostReplay.h"
#include "text/Paths.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

using Mode = PlotTabMode;
constexpr const char* kDwf = "DWF6 ePlot.pc3";
constexpr const char* kList = "Select paper size";

// Plain routines, for one kind of tab, on every product; automatic ones where the product runs AutoLISP. Each with
// the layouts plotted for the model-tab drawing and the layout-tab drawing, in order; a drawing with no layouts
// listed is not run (a plain routine is made for one kind of tab).
using Layouts = std::vector<std::string>;
const std::tuple<const char*, DetailedPlotChoices, Layouts, Layouts> kVariants[] = {
    {"model, printer to a file, view, no plot styles, two copies, offset, upside down, changes saved",
     {.mode = Mode::Model,
      .layoutName = "<Model>",
      .copies = "2",
      .device = "Office Printer",
      .paperLabel = kList,
      .paperList = "Letter",
      .orientation = "_Portrait",
      .upsideDown = true,
      .plotArea = "_View",
      .viewName = "Front",
      .offsetX = "0.50",
      .offsetY = "1.25",
      .plotStyles = false,
      .styleTable = "monochrome.ctb",
      .hide = true,
      .shade = "Hidden",
      .plotToFile = true,
      .saveChanges = true},
     {"Model", "Model"},
     {}},
    {"model, raster device in pixels",
     {.mode = Mode::Model,
      .layoutName = "<Model>",
      .device = "PublishToWeb PNG.pc3",
      .paperLabel = "Select pixel size",
      .paperList = "VGA (640.00 x 480.00 Pixels)",
      .units = "_Pixels",
      .scaleChoice = "1:2",
      .scale2 = "2"},
     {"Model"},
     {}},
    {"model, PDF file device with plot to file ticked",
     {.mode = Mode::Model,
      .layoutName = "<Model>",
      .device = "DWG To PDF.pc3",
      .paperText = "ISO A3 (420.00 x 297.00 MM)",
      .units = "_Millimeters",
      .plotToFile = true},
     {"Model"},
     {}},
    {"layout, its own area, 1/4\" scale, paper space first",
     {.mode = Mode::Layout,
      .device = kDwf,
      .plotArea = "Layout",
      .scaleChoice = "1/4\" = 1'0\"",
      .scale2 = "48",
      .scaleLineweights = true,
      .paperLast = false,
      .hide = true},
     {},
     {"Layout1"}},
    {"named layout, printer, view, no plot styles, three copies",
     {.mode = Mode::Layout,
      .layoutName = " Layout2 ",
      .copies = "3",
      .device = "Office Printer",
      .paperLabel = kList,
      .paperList = "A4",
      .plotArea = "_View",
      .viewName = "Front",
      .plotStyles = false,
      .saveChanges = true},
     {"Layout2", "Layout2", "Layout2"},
     {"Layout2", "Layout2", "Layout2"}},
    {"automatic, defaults, centred", {.device = kDwf, .centre = true}, {"Model"}, {"Layout1"}},
    {"automatic, all layouts, printer to file, millimetres, extents, custom scale, wireframe",
     {.allLayouts = true,
      .device = "Office Printer",
      .paperLabel = kList,
      .paperList = "A4",
      .units = "_Millimeters",
      .plotArea = "_Extents",
      .scaleChoice = "Custom",
      .scale1 = "1/2",
      .scale2 = "25.4",
      .styleTable = "acad.ctb",
      .shade = "Wireframe",
      .plotToFile = true,
      .saveChanges = true},
     {"Model"},
     {"Layout1", "Layout2"}},
    {"automatic, all layouts, raster, view, rendered, two copies",
     {.allLayouts = true,
      .copies = "2",
      .device = "PublishToWeb JPG.pc3",
      .paperLabel = "Select pixel size",
      .paperList = "XGA (1024.00 x 768.00 Pixels)",
      .units = "_Pixels",
      .plotArea = "_View",
      .viewName = "Front",
      .offsetX = "0",
      .offsetY = "0",
      .plotStyles = false,
      .shade = "Rendered",
      .quality = "Presentation"},
     {"Model", "Model"},
     {"Layout1", "Layout2", "Layout1", "Layout2"}},
};

using hostreplay::Family;
using DetailedPlotHost = hostreplay::HostReplayTest;

TEST_F(DetailedPlotHost, RoutinesPlotEveryTabTheyAreMadeForOnEveryProduct)
{
    // The layouts the routine plots on one drawing ("layout=NAME ..." in each plot's details).
    const auto plotted = [this](const Family& family, const std::string& routine, const char* drawing,
                                const std::string& trace) {
        std::vector<std::string> layouts = replay(family, routine, drawing, trace)["plotted"];
        for (std::string& detail : layouts)
            detail = detail.substr(7, detail.find(' ') - 7);
        return layouts;
    };
    for (const Family& family : hostreplay::kFamiliesFrom2000) {
        for (const auto& [name, choices, onModelDrawing, onLayoutDrawing] : kVariants) {
            if (choices.mode == Mode::Automatic && !offersAutomaticPlot(family.product))
                continue;
            const DetailedPlotResult routine = buildDetailedPlotRoutine(choices, family.product);
            const std::string trace = std::string(family.product) + ", " + name;
            ASSERT_TRUE(routine.ok()) << trace << ": " << routine.message->text;
            const std::pair<const char*, const std::vector<std::string>*> drawings[] = {
                {kModelDrawing, &onModelDrawing}, {kLayoutDrawing, &onLayoutDrawing}};
            for (const auto& [drawing, layouts] : drawings) {
                if (layouts->empty())
                    continue;
                EXPECT_EQ(plotted(family, routine.text, drawing, trace + ", " + drawing), *layouts)
                    << trace << ", " << drawing;
            }
        }
    }
}

TEST_F(DetailedPlotHost, PlotFilesGoToTheFolderOfTheRoutineNamedAfterEachDrawingAndLayout)
{
    const std::string out = path("Out");
    for (const Family& family : hostreplay::kFamiliesFrom2000) {
        // The model tab typed line by line, and every layout of the automatic form.
        const std::pair<DetailedPlotChoices, std::vector<std::string>> cases[] = {
            {{.mode = Mode::Model, .layoutName = "<Model>", .device = "DWG To PDF.pc3", .plotFolder = out},
             {"Model-Model.pdf"}},
            {{.allLayouts = true,
              .device = "Office Printer",
              .paperLabel = kList,
              .paperList = "A4",
              .plotToFile = true,
              .plotFolder = out + pathSeparator()},
             {"Layout-Layout1.plt", "Layout-Layout2.plt"}},
        };
        for (const auto& [choices, files] : cases) {
            const DetailedPlotResult routine = buildDetailedPlotRoutine(choices, family.product);
            if (!offersAutomaticPlot(family.product)) {
                // Without AutoLISP a name cannot follow the drawing: the folder is refused, not dropped.
                ASSERT_FALSE(routine.ok()) << family.product;
                EXPECT_EQ(routine.focus, PlotField::PlotFolder);
                continue;
            }
            ASSERT_TRUE(routine.ok()) << family.product << ": " << routine.message->text;
            const char* drawing = choices.mode == Mode::Model ? kModelDrawing : kLayoutDrawing;
            const std::vector<std::string> details = replay(family, routine.text, drawing, family.product)["plotted"];
            ASSERT_EQ(details.size(), files.size()) << family.product;
            for (std::size_t i = 0; i < files.size(); ++i) {
                EXPECT_TRUE(details[i].ends_with(" file=" + joinPath(out, files[i]))) << details[i];
                EXPECT_TRUE(exists("Out/" + files[i])) << family.product << " " << files[i];
                remove("Out/" + files[i]);
            }
        }
    }
}

} // namespace
} // namespace qv
