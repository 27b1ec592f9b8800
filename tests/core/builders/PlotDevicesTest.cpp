#include "builders/PlotDevices.h"

#include "config/SettingsKeys.h"
#include "config/clsIniControl.h"
#include "io/FileIo.h"
#include "support/TempDir.h"
#include "text/Paths.h"

#include <fstream>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(PlotDevices, CadFolderIsCutAtTheLastSeparatorWhateverTheExecutableName)
{
    const std::string s(1, PathSeparator());
    EXPECT_EQ(CadFolder("C:/CAD/Acad.exe"), "C:/CAD/");
    EXPECT_EQ(CadFolder("C:/Program Files/ZWSOFT/ZWCAD.exe"), "C:/Program Files/ZWSOFT/");
    EXPECT_EQ(CadFolder("/opt/bricscad/bricscad"), "/opt/bricscad/");
    EXPECT_EQ(CadFolder("/opt/cad/"), "/opt/"); // one trailing separator goes first
    EXPECT_EQ(CadFolder("acad.exe"), "");
    EXPECT_EQ(CadFolder("Unknown"), "");
}

TEST(PlotDevices, PatternsFollowTheLocationSettingsOrTheCadFolder)
{
    TempDir dir;
    clsIniControl ini(dir.path());
    const std::string s(1, PathSeparator());
    ASSERT_TRUE(ini.WriteValue(keys::kAcadSection, keys::kAcadKey, "/cad/Acad.exe").ok());

    // Missing, "Unknown", "" and "<Default>" all mean the CAD folder's own subfolders.
    EXPECT_EQ(GetPc3Pattern(ini), "/cad/Plotters" + s + "*.pc3");
    for (const char* unset : {"Unknown", "", "<Default>"}) {
        ASSERT_TRUE(ini.WriteValue(keys::kPlotWizardSection, keys::kPc3Key, unset).ok());
        ASSERT_TRUE(ini.WriteValue(keys::kPlotWizardSection, keys::kStyleKey, unset).ok());
        EXPECT_EQ(GetPc3Pattern(ini), "/cad/Plotters" + s + "*.pc3") << unset;
        EXPECT_EQ(GetStylePattern(ini, "ctb"), "/cad/Plot Styles" + s + "*.ctb") << unset;
    }

    ASSERT_TRUE(ini.WriteValue(keys::kPlotWizardSection, keys::kPc3Key, "/own/pc3/").ok());
    ASSERT_TRUE(ini.WriteValue(keys::kPlotWizardSection, keys::kStyleKey, "/own/styles").ok());
    EXPECT_EQ(GetPc3Pattern(ini), "/own/pc3/*.pc3");
    // A folder typed without its final separator still names that folder.
    EXPECT_EQ(GetStylePattern(ini, "stb"), "/own/styles" + s + "*.stb");
}

TEST(PlotDevices, ListingMatchesWildcardsWithoutCaseAndSkipsFolders)
{
    TempDir dir;
    for (const char* name : {"b.pc3", "A.PC3", "DWG To PDF.pc3", "notes.txt", "c.pc3.bak"})
        std::ofstream(PathFromUtf8(JoinPath(dir.path(), name))) << "x";
    std::filesystem::create_directory(PathFromUtf8(JoinPath(dir.path(), "folder.pc3")));

    const std::vector<std::string> expected = {"A.PC3", "b.pc3", "DWG To PDF.pc3"};
    EXPECT_EQ(ListMatchingFiles(JoinPath(dir.path(), "*.pc3")), expected);
    EXPECT_TRUE(ListMatchingFiles(JoinPath(dir.path(), "missing") + PathSeparator() + "*.pc3").empty());

    EXPECT_TRUE(MatchesFilePattern("x.ctb", "*.?tb"));
    EXPECT_TRUE(MatchesFilePattern("x.STB", "*.?tb"));
    EXPECT_FALSE(MatchesFilePattern("x.ctbx", "*.ctb"));
    EXPECT_TRUE(MatchesFilePattern("a.b.ctb", "*.ctb"));
    EXPECT_FALSE(MatchesFilePattern("ctb", "*.ctb"));

    clsIniControl ini(dir.path());
    ASSERT_TRUE(ini.WriteValue(keys::kPlotWizardSection, keys::kPc3Key, dir.path()).ok());
    const std::vector<clsPrinter> devices = ListPc3Devices(ini);
    ASSERT_EQ(devices.size(), 3u);
    EXPECT_EQ(devices[2].sPrinterType, "PC3");
    EXPECT_EQ(devices[2].sPrinterName, "DWG To PDF.pc3");
}

TEST(PlotDevices, FileOutputDevicesAndExactLookup)
{
    EXPECT_EQ(PlotToFileRuleFor(" dwf6 eplot.PC3 "), PlotToFileRule::DisableAndClear);
    EXPECT_EQ(PlotToFileRuleFor("DWF eView (optimized for viewing).pc3"), PlotToFileRule::DisableAndClear);
    EXPECT_EQ(PlotToFileRuleFor("PublishToWeb PNG.pc3"), PlotToFileRule::DisableClearAndPixels);
    EXPECT_EQ(PlotToFileRuleFor("publishtoweb jpg.pc3"), PlotToFileRule::DisableClearAndPixels);
    EXPECT_EQ(PlotToFileRuleFor("DWG To PDF.pc3"), PlotToFileRule::Keep);
    EXPECT_EQ(PlotToFileRuleFor("Office Printer"), PlotToFileRule::Keep);

    const std::vector<clsPrinter> devices = {{"Network", "Office", "drv", "lpt", {"A4"}},
                                             {"PC3", "Office.pc3", {}, {}, {}}};
    EXPECT_EQ(FindDevice(devices, "Office"), &devices[0]);
    EXPECT_EQ(FindDevice(devices, "office"), nullptr); // case counts
    EXPECT_EQ(FindDevice(devices, "Office "), nullptr); // blanks count
}

TEST(PlotDevices, LocationBoxesShowAndSaveRules)
{
    EXPECT_EQ(PlotLocationShown("Unknown"), "<Default>");
    EXPECT_EQ(PlotLocationShown(""), "<Default>");
    EXPECT_EQ(PlotLocationShown("<Default>"), "<Default>");
    EXPECT_EQ(PlotLocationShown("C:\\Plot\\"), "C:\\Plot\\");
    EXPECT_FALSE(IsPlotLocationToSave("  "));
    EXPECT_FALSE(IsPlotLocationToSave(" <Default> "));
    EXPECT_TRUE(IsPlotLocationToSave(" /plot/ "));
    EXPECT_EQ(FolderOfChosenFile("/cad/Plotters/a.pc3"), "/cad/Plotters/");
    EXPECT_EQ(FolderOfChosenFile("a.pc3"), "");
}

} // namespace
} // namespace qv
