// Page-setup plots, page-setup imports, purges, Save As and DXF routines of every product family, written into a
// batch script by the real script writer and replayed against the host model: no entry may miss its
// prompt, and each drawing is plotted, given its page setups, saved or exported where the routine says.

#include "builders/PageSetupRoutine.h"
#include "builders/PurgeRoutine.h"
#include "builders/SaveAsRoutine.h"
#include "core/builders/HostReplay.h"
#include "core/builders/PageSetupChoices.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

using hostreplay::Events;
using hostreplay::Family;
using PageSetupSaveAsHost = hostreplay::HostReplayTest;

int count(const Events& events, const std::string& name, const std::string& detail = {})
{
    const auto found = events.find(name);
    if (found == events.end())
        return 0;
    return static_cast<int>(std::count_if(found->second.begin(), found->second.end(),
                                          [&](const std::string& d) { return d.starts_with(detail); }));
}

TEST_F(PageSetupSaveAsHost, PageSetupPlotsOnEveryProduct)
{
    for (const Family& family : hostreplay::kFamiliesFrom2000) {
        const std::string product = family.product;
        auto run = [&](const PageSetupPlotChoices& choices, const char* drawing) {
            return replay(family, buildPageSetupPlotRoutine(choices, product).text, drawing, product);
        };
        // Another device, to a file, two copies; and a device that only writes files.
        const auto toFile = plot("A1-Plot", "Default Windows System Printer.pc3", true, "2");
        remove("Layout-Layout1.plt");
        remove("Model-Model.dwf");
        EXPECT_EQ(count(run(toFile, kLayoutDrawing), "plotted", "layout=Layout1 pagesetup=A1-Plot"), 2) << product;
        EXPECT_EQ(count(run(plot("A1-Plot", "DWF6 ePlot.pc3"), kModelDrawing), "plotted",
                        "layout=Model pagesetup=A1-Plot device=DWF6"),
                  1)
            << product;
        EXPECT_TRUE(exists("Layout-Layout1.plt") && exists("Model-Model.dwf")) << product;

        // Imported first from the standard drawing (redefined where the drawing has it), three copies.
        Events events = run(fromDrawing(path(kStandard), "Std-A1", "3"), kModelDrawing);
        EXPECT_EQ(events["pagesetups-imported"], std::vector<std::string>(3, "Std-A1")) << product;
        EXPECT_EQ(count(events, "plotted", "layout=Model pagesetup=Std-A1 device=Office Printer"), 3) << product;
        EXPECT_EQ(count(run(fromDrawing(path(kStandard), "Std A3"), kLayoutDrawing), "plotted",
                        "layout=Layout1 pagesetup=Std A3 device=Default"),
                  1)
            << product;

        // Every layout, where the product runs AutoLISP; a drawing on the model tab plots nothing.
        if (!pageSetupPlotSetupFor(product).allTabsOffered)
            continue;
        PageSetupPlotChoices allTabs = plot("A1-Plot", "Select Plotter", false, "2");
        allTabs.allTabs = true;
        Events layouts = run(allTabs, kLayoutDrawing);
        EXPECT_EQ(count(layouts, "plotted"), 4) << product;
        EXPECT_EQ(count(layouts, "plotted", "layout=Layout2"), 2) << product;
        EXPECT_EQ(count(run(allTabs, kModelDrawing), "plotted"), 0) << product;
    }
}

TEST_F(PageSetupSaveAsHost, ImportsOnEveryProduct)
{
    const std::pair<PageSetupImportChoices, std::string> variants[] = {
        {{true, "*", path(kStandard)}, "Std-A1,Std A3,Unused"},
        {{false, "Std-A1, Std A3", path(kStandard)}, "Std-A1,Std A3"},
    };
    for (const Family& family : hostreplay::kFamiliesFrom2000) {
        for (const auto& [choices, imported] : variants) {
            Events events = replay(family, buildPageSetupImportRoutine(choices).text, kModelDrawing, family.product);
            EXPECT_EQ(events["pagesetups-imported"], std::vector<std::string>{imported}) << family.product;
            EXPECT_EQ(count(events, "qsave"), 1) << family.product;
        }
    }
}

// Each item the purge tab offers, one by one in two passes, and the purge of all, on every product.
TEST_F(PageSetupSaveAsHost, PurgesOnEveryProduct)
{
    for (const Family& family : hostreplay::kAllFamilies) {
        const PurgeSetup setup = purgeSetupFor(family.product);
        PurgeChoices each = defaultPurgeChoices(setup);
        setPurgeItem(each, 0, false); // all but the first: one purge per item
        each.passesText = "2";
        const PurgeChoices all = defaultPurgeChoices(setup);
        for (const PurgeChoices& choices : {each, all}) {
            const PurgeRoutineResult routine = buildPurgeRoutine(choices, family.product);
            ASSERT_TRUE(routine.ok()) << family.product;
            const Events events = replay(family, routine.text, kModelDrawing, family.product);
            const int purges = choices.allFlag ? 3 : 2 * (setup.offeredCount - 1);
            EXPECT_EQ(count(events, "purged"), purges) << family.product;
            EXPECT_EQ(count(events, "saved", "modification time set"), family.writer == ScriptWriterKind::General ? 1 : 2)
                << family.product;
        }
    }
}

// Every entry of both lists on every product, beside the drawing and, where the product runs AutoLISP,
// into another folder.
TEST_F(PageSetupSaveAsHost, EveryReleaseSavesAndExports)
{
    int runs = 0;
    for (const Family& family : hostreplay::kAllFamilies) {
        for (const bool dxf : {false, true}) {
            const SaveAsReleases releases = dxf ? fillDxfReleases(family.product) : fillDrawingReleases(family.product);
            for (std::string_view entry : releases.items) {
                const std::string trace = std::string(family.product) + ", " + std::string(entry);
                SaveAsChoices choices;
                choices.release = entry;
                choices.accuracy = "8";
                choices.binary = runs % 2 == 1;
                choices.preview = true;
                for (const bool folder : {false, true}) {
                    if (folder && !releases.folderEnabled)
                        continue;
                    choices.folder = folder ? path("Out") : "<Default>";
                    const std::string target = folder ? "Out/Model" : "Model";
                    remove(target + ".dxf");
                    remove("Out/Model.dwg");
                    const SaveAsRoutineResult routine =
                        dxf ? buildDxfRoutine(choices, family.product) : buildSaveAsRoutine(choices, family.product);
                    ASSERT_TRUE(routine.ok()) << trace << ": " << routine.refusal->text;
                    const Events events = replay(family, routine.text, kModelDrawing, trace);
                    if (dxf) {
                        // The file's name goes through AutoLISP with forward slashes: the version is what to compare.
                        const std::string answer = dxfVersionAnswer(entry).value_or("?");
                        const std::string version = answer.substr(answer.find_first_not_of('_'));
                        const std::vector<std::string>& written = events.at("dxf-written");
                        ASSERT_EQ(written.size(), 1u) << trace;
                        EXPECT_NE(written[0].find(" version=" + version + " "), std::string::npos) << written[0];
                    } else if (folder) {
                        EXPECT_EQ(count(events, "saved", "written as a copy of " + path(kModelDrawing)), 1) << trace;
                    } else {
                        // Saved by the routine; BricsCAD and ZWCAD save once more as the script closes the drawing,
                        // where AutoCAD throws the closing zoom away.
                        const bool savesAtClose = family.writer != ScriptWriterKind::General;
                        EXPECT_EQ(count(events, "saved", "modification time set"), savesAtClose ? 2 : 1) << trace;
                    }
                    EXPECT_TRUE(exists(target + (dxf ? ".dxf" : ".dwg"))) << trace;
                    ++runs;
                }
            }
        }
    }
    EXPECT_GT(runs, 150);
}

} // namespace
} // namespace qv
