#include "builders/PlotDevices.h"

#include "config/SettingsFile.h"
#include "config/SettingsKeys.h"
#include "io/FileIo.h"
#include "support/TempDir.h"
#include "text/Paths.h"

#include <fstream>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(PlotDevices, CadFolderIsCutAtTheLastSeparatorWhateverTheExecutableName)
{
    EXPECT_EQ(cadFolder("C:/CAD/Acad.exe"), "C:/CAD/");
    EXPECT_EQ(cadFolder("C:/Program Files/ZWSOFT/ZWCAD.exe"), "C:/Program Files/ZWSOFT/");
    EXPECT_EQ(cadFolder("/opt/bricscad/bricscad"), "/opt/bricscad/");
    EXPECT_EQ(cadFolder("/opt/cad/"), "/opt/"); // one trailing separator goes first
    EXPECT_EQ(cadFolder("acad.exe"), "");
    EXPECT_EQ(cadFolder("Unknown"), "");
}

TEST(PlotDevices, PatternsFollowTheLocationSettingsOrTheCadFolder)
{
    TempDir dir;
    SettingsFile ini(dir.path());
    const std::string s(1, pathSeparator());
    ASSERT_TRUE(ini.writeValue(keys::kAcadSection, keys::kAcadKey, "/cad/Acad.exe").ok());

    // "Unknown" (a missing key reads so), "" and "<Default>" all mean the CAD folder's own subfolders.
    for (const char* unset : {"Unknown", "", "<Default>"}) {
        ASSERT_TRUE(ini.writeValue(keys::kPlotWizardSection, keys::kPc3Key, unset).ok());
        ASSERT_TRUE(ini.writeValue(keys::kPlotWizardSection, keys::kStyleKey, unset).ok());
        EXPECT_EQ(plotterConfigPattern(ini), "/cad/Plotters" + s + "*.pc3") << unset;
        EXPECT_EQ(plotStylePattern(ini, "ctb"), "/cad/Plot Styles" + s + "*.ctb") << unset;
    }

    ASSERT_TRUE(ini.writeValue(keys::kPlotWizardSection, keys::kPc3Key, "/own/pc3/").ok());
    ASSERT_TRUE(ini.writeValue(keys::kPlotWizardSection, keys::kStyleKey, "/own/styles").ok());
    EXPECT_EQ(plotterConfigPattern(ini), "/own/pc3/*.pc3");
    // A folder typed without its final separator still names that folder.
    EXPECT_EQ(plotStylePattern(ini, "stb"), "/own/styles" + s + "*.stb");
}

TEST(PlotDevices, ListingMatchesWildcardsWithoutCaseAndSkipsFolders)
{
    TempDir dir;
    for (const char* name : {"b.pc3", "A.PC3", "DWG To PDF.pc3", "notes.txt", "c.pc3.bak"})
        std::ofstream(pathFromUtf8(joinPath(dir.path(), name))) << "x";
    std::filesystem::create_directory(pathFromUtf8(joinPath(dir.path(), "folder.pc3")));

    const std::vector<std::string> expected = {"A.PC3", "b.pc3", "DWG To PDF.pc3"};
    EXPECT_EQ(listMatchingFiles(joinPath(dir.path(), "*.pc3")), expected);
    EXPECT_TRUE(listMatchingFiles(joinPath(dir.path(), "missing") + pathSeparator() + "*.pc3").empty());

    EXPECT_TRUE(matchesFilePattern("x.ctb", "*.?tb"));
    EXPECT_TRUE(matchesFilePattern("x.STB", "*.?tb"));
    EXPECT_FALSE(matchesFilePattern("x.ctbx", "*.ctb"));
    EXPECT_TRUE(matchesFilePattern("a.b.ctb", "*.ctb"));
    EXPECT_FALSE(matchesFilePattern("ctb", "*.ctb"));

    SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue(keys::kPlotWizardSection, keys::kPc3Key, dir.path()).ok());
    const std::vector<PlotDevice> devices = listPlotterConfigDevices(ini);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[2].type, "PC3");
    EXPECT_EQ(devices[2].name, "DWG To PDF.pc3");
}

TEST(PlotDevices, FileOutputDevicesAndExactLookup)
{
    EXPECT_EQ(plotToFileRuleFor(" dwf6 eplot.PC3 "), PlotToFileRule::DisableAndClear);
    EXPECT_EQ(plotToFileRuleFor("DWF eView (optimized for viewing).pc3"), PlotToFileRule::DisableAndClear);
    EXPECT_EQ(plotToFileRuleFor("PublishToWeb PNG.pc3"), PlotToFileRule::DisableClearAndPixels);
    EXPECT_EQ(plotToFileRuleFor("publishtoweb jpg.pc3"), PlotToFileRule::DisableClearAndPixels);
    EXPECT_EQ(plotToFileRuleFor("DWG To PDF.pc3"), PlotToFileRule::Keep);
    EXPECT_EQ(plotToFileRuleFor("Office Printer"), PlotToFileRule::Keep);

    const std::vector<PlotDevice> devices = {{"Network", "Office", "drv", "lpt", {"A4"}},
                                             {"PC3", "Office.pc3", {}, {}, {}}};
    EXPECT_EQ(findDevice(devices, "Office"), &devices[0]);
    EXPECT_EQ(findDevice(devices, "office"), nullptr);  // case counts
    EXPECT_EQ(findDevice(devices, "Office "), nullptr); // blanks count
}

TEST(PlotDevices, LocationBoxesShowAndSaveRules)
{
    EXPECT_EQ(plotLocationShown("Unknown"), "<Default>");
    EXPECT_EQ(plotLocationShown(""), "<Default>");
    EXPECT_EQ(plotLocationShown("<Default>"), "<Default>");
    EXPECT_EQ(plotLocationShown("C:\\Plot\\"), "C:\\Plot\\");
    EXPECT_FALSE(isPlotLocationToSave("  "));
    EXPECT_FALSE(isPlotLocationToSave(" <Default> "));
    EXPECT_TRUE(isPlotLocationToSave(" /plot/ "));
    EXPECT_EQ(folderOfChosenFile("/cad/Plotters/a.pc3"), "/cad/Plotters/");
    EXPECT_EQ(folderOfChosenFile("a.pc3"), "");
}

} // namespace
} // namespace qv
