// Page-setup plots, page-setup imports, Save As and DXF routines of every product family, written into a
// batch script by the real script writer and replayed against the host model: no entry may miss its
// prompt, and each drawing is plotted, given its page setups, saved or exported where the routine says.

#include "HostModel.h"
#include "batch/ScriptWriter.h"
#include "builders/PageSetupRoutine.h"
#include "builders/SaveAsRoutine.h"
#include "support/TempDir.h"

#include <filesystem>
#include <span>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

using hostmodel::HostEvent;

constexpr const char* kModelDrawing = "Model.dwg";
constexpr const char* kLayoutDrawing = "Layout.dwg";
constexpr const char* kStandard = "Standard.dwg";
constexpr const char* kExtraDevices = "Office Printer=A4|Letter";

// What one run did: its telling events in order, as "event detail".
struct Outcome
{
    std::vector<std::string> events;

    int count(const std::string& event) const
    {
        int n = 0;
        for (const std::string& e : events)
            n += e.rfind(event + " ", 0) == 0 ? 1 : 0;
        return n;
    }
    std::vector<std::string> details(const std::string& event) const
    {
        std::vector<std::string> found;
        for (const std::string& e : events) {
            if (e.rfind(event + " ", 0) == 0)
                found.push_back(e.substr(event.size() + 1));
        }
        return found;
    }
    // The first save after the routine's command: the script also saves the drawings around it.
    std::string saveAfter(const std::string& command) const
    {
        bool seen = false;
        for (const std::string& e : events) {
            seen = seen || e.rfind(command + " ", 0) == 0;
            if (seen && e.rfind("saved ", 0) == 0)
                return e.substr(6);
        }
        return "(none)";
    }
};

struct Family
{
    const char* product;
    ScriptWriterKind writer;
};

const Family kFamilies[] = {
    {"Cad2000", ScriptWriterKind::General},   {"CadLT2000", ScriptWriterKind::General},
    {"Cad2004", ScriptWriterKind::General},   {"CadLT2004", ScriptWriterKind::General},
    {"Cad2005", ScriptWriterKind::General},   {"CadLT2005", ScriptWriterKind::General},
    {"Cad2007", ScriptWriterKind::General},   {"CadLT2007", ScriptWriterKind::General},
    {"Cad2010", ScriptWriterKind::General},   {"CadLT2010", ScriptWriterKind::General},
    {"Cad2013", ScriptWriterKind::General},   {"CadLT2013", ScriptWriterKind::General},
    {"Cad2018", ScriptWriterKind::General},   {"CadLT2018", ScriptWriterKind::General},
    {"Bricscad", ScriptWriterKind::Bricscad}, {"ZWCAD", ScriptWriterKind::Zwcad},
};

// The releases before 2000 save and export too, but take no command-line plot.
const Family kOldFamilies[] = {
    {"Cad14", ScriptWriterKind::General},
    {"CadLT98", ScriptWriterKind::General},
};

class PageSetupSaveAsHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Model.dwg already holds Std-A1, so an import redefines it (EXPERT 2 answers without asking).
        m_dir.write(kModelDrawing, "CADHOST tab=Model pagesetups=A1-Plot=Office%20Printer,Std-A1\r\nDWG");
        m_dir.write(kLayoutDrawing, "CADHOST tab=Layout1 layouts=Layout1,Layout2 pagesetups=A1-Plot=Office%20Printer\r\nDWG");
        m_dir.write(kStandard, "CADHOST pagesetups=Std-A1=Office%20Printer,Std%20A3=Default%20Windows%20System%20"
                               "Printer.pc3,Unused\r\nDWG");
        std::filesystem::create_directories(m_dir.native("Out"));
    }

    // Runs the routine on one drawing through a script of the family's writer; fails the test on any
    // error or unjudged entry.
    Outcome Run(const Family& family, const std::string& routine, const char* drawing, const std::string& trace)
    {
        ScriptInputs inputs;
        inputs.rows = {{drawing, m_dir.path(), "Routine", ""}};
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
        Outcome outcome;
        std::string problems;
        const hostmodel::HostOutcome result =
            hostmodel::runHostScript(script.value().bytes, setup, [&](const HostEvent& e) {
                if (e.event == "error" || e.event == "unmodelled" || e.event == "command")
                    problems += std::to_string(e.line) + " " + e.event + ": " + e.detail + "\n";
                if (e.event != "prompt" && e.event != "answer" && e.event != "lisp")
                    outcome.events.push_back(e.event + " " + e.detail);
            });
        EXPECT_EQ(result.status, 0) << trace << "\n" << problems << "\n" << script.value().bytes;
        EXPECT_EQ(problems, "") << trace << "\n" << script.value().bytes;
        return outcome;
    }

    std::string Path(const std::string& name) const { return m_dir.file(name); }
    bool Exists(const std::string& name) const { return std::filesystem::exists(m_dir.native(name)); }
    void Remove(const std::string& name) const { std::filesystem::remove(m_dir.native(name)); }

    TempDir m_dir;
};

PageSetupPlotChoices Plot(const char* name)
{
    PageSetupPlotChoices choices;
    choices.pageSetupName = name;
    return choices;
}

TEST_F(PageSetupSaveAsHost, PageSetupPlotsOnEveryProduct)
{
    const std::string standard = Path(kStandard);
    for (const Family& family : kFamilies) {
        const std::string product = family.product;
        // From the drawing, the page setup's own device.
        Outcome run = Run(family, BuildPageSetupPlotRoutine(Plot("A1-Plot"), product).text, kModelDrawing, product);
        EXPECT_EQ(run.details("plotted"),
                  std::vector<std::string>{"layout=Model pagesetup=A1-Plot device=Office Printer"})
            << product;

        // Another device, to a file, two copies.
        PageSetupPlotChoices toFile = Plot("A1-Plot");
        toFile.device = "Default Windows System Printer.pc3";
        toFile.plotToFile = true;
        toFile.copies = "2";
        Remove("Layout-Layout1.plt");
        run = Run(family, BuildPageSetupPlotRoutine(toFile, product).text, kLayoutDrawing, product + " to file");
        EXPECT_EQ(run.count("plotted"), 2) << product;
        EXPECT_TRUE(Exists("Layout-Layout1.plt")) << product;

        // A device that only writes files.
        PageSetupPlotChoices dwf = Plot("A1-Plot");
        dwf.device = "DWF6 ePlot.pc3";
        Remove("Model-Model.dwf");
        run = Run(family, BuildPageSetupPlotRoutine(dwf, product).text, kModelDrawing, product + " dwf");
        EXPECT_EQ(run.count("plotted"), 1) << product;
        EXPECT_TRUE(Exists("Model-Model.dwf")) << product;

        // Imported first from the standard drawing (redefined where the drawing has it), three copies.
        PageSetupPlotChoices imported = Plot("Std-A1");
        imported.fromOtherDrawing = true;
        imported.drawing = standard;
        imported.copies = "3";
        run = Run(family, BuildPageSetupPlotRoutine(imported, product).text, kModelDrawing, product + " import");
        EXPECT_EQ(run.details("pagesetups-imported"), std::vector<std::string>(3, "Std-A1")) << product;
        EXPECT_EQ(run.details("plotted"),
                  std::vector<std::string>(3, "layout=Model pagesetup=Std-A1 device=Office Printer"))
            << product;
        imported.pageSetupName = "Std A3";
        imported.copies = "1";
        run = Run(family, BuildPageSetupPlotRoutine(imported, product).text, kLayoutDrawing, product + " import A3");
        EXPECT_EQ(run.details("plotted"),
                  std::vector<std::string>{"layout=Layout1 pagesetup=Std A3 device=Default Windows System Printer.pc3"})
            << product;
    }
}

TEST_F(PageSetupSaveAsHost, AllLayoutsOnTheFullProducts)
{
    int runs = 0;
    for (const Family& family : kFamilies) {
        if (!PageSetupPlotSetupFor(family.product).allTabsOffered)
            continue;
        PageSetupPlotChoices choices = Plot("A1-Plot");
        choices.allTabs = true;
        choices.copies = "2";
        const std::string routine = BuildPageSetupPlotRoutine(choices, family.product).text;
        const Outcome layouts = Run(family, routine, kLayoutDrawing, family.product);
        std::vector<std::string> plotted;
        for (const std::string& detail : layouts.details("plotted"))
            plotted.push_back(detail.substr(0, detail.find(' ')));
        EXPECT_EQ(plotted, (std::vector<std::string>{"layout=Layout1", "layout=Layout2", "layout=Layout1",
                                                     "layout=Layout2"}))
            << family.product;
        // A drawing on the model tab plots nothing.
        EXPECT_EQ(Run(family, routine, kModelDrawing, family.product).count("plotted"), 0) << family.product;
        ++runs;
    }
    EXPECT_EQ(runs, 7);
}

TEST_F(PageSetupSaveAsHost, ImportsOnEveryProduct)
{
    struct Variant
    {
        PageSetupImportChoices choices;
        std::string imported;
    };
    const std::string standard = Path(kStandard);
    const Variant variants[] = {
        {{true, "*", standard}, "Std-A1,Std A3,Unused"},
        {{false, " Std A3 ", standard}, "Std A3"},
        {{false, "Std-A1, Std A3", standard}, "Std-A1,Std A3"},
    };
    for (const Family& family : kFamilies) {
        for (const Variant& variant : variants) {
            const PageSetupRoutineResult routine = BuildPageSetupImportRoutine(variant.choices);
            ASSERT_TRUE(routine.ok());
            const Outcome run = Run(family, routine.text, kModelDrawing, family.product + (" " + variant.imported));
            EXPECT_EQ(run.details("pagesetups-imported"), std::vector<std::string>{variant.imported})
                << family.product;
            EXPECT_EQ(run.count("qsave"), 1) << family.product;
        }
    }
}

TEST_F(PageSetupSaveAsHost, EveryDrawingReleaseSaves)
{
    int runs = 0;
    for (const auto& families : {std::span<const Family>(kFamilies), std::span<const Family>(kOldFamilies)}) {
        for (const Family& family : families) {
            const SaveAsReleases releases = FillDrawingReleases(family.product);
            for (std::string_view entry : releases.items) {
                const std::string trace = std::string(family.product) + ", " + std::string(entry);
                SaveAsChoices choices;
                choices.release = entry;
                const SaveAsRoutineResult plain = BuildSaveAsRoutine(choices, family.product);
                // The command line writes no R13 or R12 drawing: the builder refuses them.
                if (entry.starts_with("AutoCAD R13") || entry.starts_with("AutoCAD R12")) {
                    EXPECT_EQ(plain.focus, SaveAsField::Release) << trace;
                    continue;
                }
                ASSERT_TRUE(plain.ok()) << trace << ": " << plain.refusal->text;
                Outcome run = Run(family, plain.text, kModelDrawing, trace);
                EXPECT_EQ(run.count("saveas"), 1) << trace;
                EXPECT_EQ(run.saveAfter("saveas"), "modification time set") << trace;
                ++runs;

                if (!releases.folderEnabled)
                    continue;
                choices.folder = Path("Out");
                Remove("Out/Model.dwg");
                const SaveAsRoutineResult folder = BuildSaveAsRoutine(choices, family.product);
                ASSERT_TRUE(folder.ok()) << trace << ": " << folder.refusal->text;
                run = Run(family, folder.text, kModelDrawing, trace + " into a folder");
                EXPECT_EQ(run.saveAfter("saveas"), "written as a copy of " + Path(kModelDrawing)) << trace;
                EXPECT_TRUE(Exists("Out/Model.dwg")) << trace;
            }
        }
    }
    EXPECT_GT(runs, 40);
}

TEST_F(PageSetupSaveAsHost, EveryDxfReleaseExports)
{
    int runs = 0;
    for (const auto& families : {std::span<const Family>(kFamilies), std::span<const Family>(kOldFamilies)}) {
        for (const Family& family : families) {
            const SaveAsReleases releases = FillDxfReleases(family.product);
            for (std::string_view entry : releases.items) {
                for (const bool binary : {false, true}) {
                    const std::string trace =
                        std::string(family.product) + ", " + std::string(entry) + (binary ? ", binary" : ", ASCII");
                    SaveAsChoices choices;
                    choices.release = entry;
                    choices.binary = binary;
                    choices.accuracy = binary ? "16" : "8";
                    choices.preview = !binary;
                    Remove("Model.dxf");
                    const SaveAsRoutineResult plain = BuildDxfRoutine(choices, family.product);
                    // DXFOUT writes R12, but no R13.
                    if (entry.starts_with("AutoCAD R13")) {
                        EXPECT_EQ(plain.focus, SaveAsField::Release) << trace;
                        continue;
                    }
                    ASSERT_TRUE(plain.ok()) << trace << ": " << plain.refusal->text;
                    Outcome run = Run(family, plain.text, kModelDrawing, trace);
                    ASSERT_EQ(run.count("dxf-written"), 1) << trace;
                    const std::string written = run.details("dxf-written").front();
                    EXPECT_EQ(written.rfind(Path("Model.dxf") + " version=", 0), 0u) << trace << ": " << written;
                    EXPECT_NE(written.find(binary ? " binary" : " ASCII"), std::string::npos) << trace;
                    EXPECT_TRUE(Exists("Model.dxf")) << trace;
                    ++runs;

                    if (!releases.folderEnabled)
                        continue;
                    choices.folder = Path("Out") + "/";
                    Remove("Out/Model.dxf");
                    const SaveAsRoutineResult folder = BuildDxfRoutine(choices, family.product);
                    ASSERT_TRUE(folder.ok()) << trace << ": " << folder.refusal->text;
                    run = Run(family, folder.text, kModelDrawing, trace + " into a folder");
                    EXPECT_EQ(run.count("dxf-written"), 1) << trace;
                    EXPECT_TRUE(Exists("Out/Model.dxf")) << trace;
                }
            }
        }
    }
    EXPECT_GT(runs, 80);
}

} // namespace
} // namespace qv
