#include "config/CadProducts.h"
#include "config/SettingsKeys.h"
#include "config/SetupWizard.h"
#include "support/TempDir.h"
#include "text/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

const WriteProbe kFree = [](const std::string&) { return 0; };

TEST(SetupWizard, ShortenPathKeepsFiftyNineCharactersAndCutsSixty)
{
    const std::string fiftyNine(59, 'a');
    EXPECT_EQ(ShortenPath(fiftyNine), fiftyNine);
    EXPECT_EQ(ShortenPath(""), "");

    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += char('A' + i % 26);
    const std::string shortened = ShortenPath(sixty);
    EXPECT_EQ(shortened, sixty.substr(0, 30) + "........." + sixty.substr(14));
    EXPECT_EQ(shortened.size(), 30u + 9u + 46u);

    // Characters are counted, not bytes: 59 two-byte letters stay whole, 60 are cut between letters.
    std::string wide;
    for (int i = 0; i < 59; ++i)
        wide += "\xC3\xA9";
    EXPECT_EQ(ShortenPath(wide), wide);
    wide += "x";
    std::string expected;
    for (int i = 0; i < 30; ++i)
        expected += "\xC3\xA9";
    expected += ".........";
    for (int i = 0; i < 45; ++i)
        expected += "\xC3\xA9";
    EXPECT_EQ(ShortenPath(wide), expected + "x");
}

TEST(SetupWizard, RoutineDatabaseStepRecordsTheDefaultOnlyWhenNothingIsStored)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    const std::string defaultPath = dir.file("Batch_Cad.dat");
    DatabaseLocation located = LocateRoutineDatabase(ini, dir.path());
    EXPECT_TRUE(located.written.ok());
    EXPECT_EQ(located.path, defaultPath);
    EXPECT_EQ(ini.ReadValue("db_address", "dbaddress"), defaultPath);

    ASSERT_TRUE(ini.WriteValue(keys::kDatabaseSection, keys::kDatabaseKey, "/shared/Routines.dat").ok());
    located = LocateRoutineDatabase(ini, dir.path());
    EXPECT_EQ(located.path, "/shared/Routines.dat");
    EXPECT_EQ(ini.ReadValue(keys::kDatabaseSection, keys::kDatabaseKey), "/shared/Routines.dat");

    // An empty entry means the default database to the routine store: the setup records that one.
    ASSERT_TRUE(ini.WriteValue(keys::kDatabaseSection, keys::kDatabaseKey, "").ok());
    EXPECT_EQ(LocateRoutineDatabase(ini, dir.path()).path, defaultPath);
    EXPECT_EQ(ini.ReadValue(keys::kDatabaseSection, keys::kDatabaseKey), defaultPath);

    // A settings file that cannot be written is reported, not passed over.
    TempDir blocked;
    std::filesystem::create_directory(blocked.native("Quorvel.ini"));
    located = LocateRoutineDatabase(clsIniControl(blocked.path()), blocked.path());
    EXPECT_FALSE(located.written.ok());
    EXPECT_EQ(located.path, blocked.file("Batch_Cad.dat"));
}

TEST(SetupWizard, TestWriteFolderWritesTestAndNeverTouchesAHeldScript)
{
    TempDir dir;
    EXPECT_EQ(TestWriteFolder(dir.path(), kFree), std::nullopt);
    EXPECT_EQ(dir.read("Batch.scr"), "Test\r\n");
    dir.write("Batch.scr", "_Open\r\nold script that is much longer\r\n");
    EXPECT_EQ(TestWriteFolder(dir.path(), kFree), std::nullopt);
    EXPECT_EQ(dir.read("Batch.scr"), "Test\r\n");

    // A host runs the script: the probe says so and the file stays as it is.
    dir.write("Batch.scr", "the running host's script");
    std::string probed;
    const auto held = TestWriteFolder(dir.path(), [&](const std::string& path) {
        probed = path;
        return 70;
    });
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(*held, ReadWriteFolderMessage());
    EXPECT_EQ(probed, dir.file("Batch.scr"));
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");

    const UserMessage expected{"Quorvel requires access to a folder which you have\r\nRead/Write access too.\r\n\r\n"
                               "Press OK to proceed and select a Read/Write access folder",
                               "Locate Read/Write Folder ", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(ReadWriteFolderMessage(), expected);
    // A folder that is not there, no folder at all, and a folder in the script's place all fail.
    EXPECT_EQ(TestWriteFolder(dir.file("missing"), kFree), expected);
    EXPECT_EQ(TestWriteFolder("  ", kFree), expected);
    TempDir other;
    std::filesystem::create_directory(other.native("Batch.scr"));
    EXPECT_EQ(TestWriteFolder(other.path(), kFree), expected);
}

TEST(SetupWizard, ProductChoiceWritesTheCodeAndOffForOldReleases)
{
    const struct
    {
        int index;
        const char* file; // the whole settings file after the choice
    } cases[] = {
        {17, "[Cad_Ver]\r\nCadVer=Cad2018\r\n"},
        {2, "[Cad_Ver]\r\nCadVer=Cad13\r\n[Acad_StartEnd]\r\nCadVer=Off\r\n"},
        {1, "[Cad_Ver]\r\nCadVer=Cad14\r\n[Acad_StartEnd]\r\nCadVer=Off\r\n"},
        {4, "[Cad_Ver]\r\nCadVer=CadLT98\r\n[Acad_StartEnd]\r\nCadVer=Off\r\n"},
        {5, "[Cad_Ver]\r\nCadVer=Bricscad\r\n"},
        {12, ""}, // the placeholder records nothing
    };
    for (const auto& c : cases) {
        TempDir dir;
        clsIniControl ini(dir.path());
        const CadProduct& product = CadProducts()[std::size_t(c.index)];
        EXPECT_TRUE(RecordProductChoice(ini, product).ok()) << c.index;
        EXPECT_EQ(dir.read("Quorvel.ini"), c.file) << c.index;
    }
    EXPECT_EQ(ProductSelectedText(CadProducts()[10]), "AutoCAD Version Acad 2007 - 2009 Selected");
}

TEST(SetupWizard, SetupIsDoneOnlyAfterItIsMarked)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    EXPECT_FALSE(IsSetupDone(ini));
    ASSERT_TRUE(ini.WriteValue("Startup_Set", "Setup", "NO").ok());
    EXPECT_FALSE(IsSetupDone(ini));
    ASSERT_TRUE(MarkSetupDone(ini).ok());
    EXPECT_TRUE(IsSetupDone(ini));
    EXPECT_EQ(dir.read("Quorvel.ini"), "[Startup_Set]\r\nSetup=YES\r\n");
}

TEST(SetupWizard, LocateTextsAndFiltersFollowTheModeAndTheExecutable)
{
    EXPECT_EQ(SearchFileName(LocateMode::ACADEXE, "Aclt.exe"), "Aclt.exe");
    EXPECT_EQ(SearchFileName(LocateMode::PC3, "Aclt.exe"), "PublishToWeb JPG.pc3");
    EXPECT_EQ(SearchFileName(LocateMode::CTB, "Aclt.exe"), "DWF Virtual Pens.ctb");

    const LocateTexts exe = LocateTextsFor(LocateMode::ACADEXE, "Acad.exe");
    EXPECT_EQ(exe.searching, "Searching for Acad.exe...............");
    EXPECT_EQ(exe.fileLabel, "Acad.exe Location");
    EXPECT_EQ(exe.notFound, "Please locate your current AutoCAD Executable file (Acad.exe)\r\nQuorvel uses this file "
                            "during operation.\r\n\r\nFor example C:\\Program Files\\Autodesk\\AutoCAD 2018\\\r\n\r\n");
    EXPECT_EQ(exe.found, "Quorvel installation has located the executable file (Acad.exe)\r\nIf this is the correct "
                         "location click Next to proceed.\r\n\r\nIf not please locate the correct folder using the "
                         "Browse button\r\n\r\n");
    const LocateTexts pc3 = LocateTextsFor(LocateMode::PC3, "");
    EXPECT_EQ(pc3.windowCaption, "Locate Plotter Configuration File");
    EXPECT_EQ(pc3.frameCaption, "Locate PC3 File");
    EXPECT_EQ(pc3.notFound,
              "Please locate your current AutoCAD Plotter Configuration file .Pc3\r\nQuorvel uses these files during "
              "operation.");
    const LocateTexts ctb = LocateTextsFor(LocateMode::CTB, "");
    EXPECT_EQ(ctb.searching, "Searching for Plot Style ...............");
    EXPECT_EQ(ctb.fileLabel, "Plot Style Location");
    EXPECT_EQ(ctb.found.rfind("Quorvel installation has located the AutoCAD Plot style file\r\nIf this", 0), 0u);

    EXPECT_EQ(ExecutableFilter("acad.EXE"),
              "AutoCAD Full (Acad.exe)|Acad.exe|AutoCAD LT File (Aclt.exe)|Aclt.exe|All Files (*.*)|*.*");
    EXPECT_EQ(ExecutableFilter("Aclt.exe"),
              "AutoCAD LT (Aclt.exe)|Aclt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*");
    EXPECT_EQ(ExecutableFilter("Acadlt.exe"),
              "AutoCAD LT (Acadlt.exe)|Acadlt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*");
    EXPECT_EQ(ExecutableFilter(""), "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*");
}

TEST(SetupWizard, LocationsAreSavedAsTheirKeysWant)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    const std::string sep(1, PathSeparator());
    const std::string hit = "/cad" + sep + "Plotters" + sep + "PublishToWeb JPG.pc3";
    EXPECT_EQ(LocatedAddress(LocateMode::PC3, hit), "/cad" + sep + "Plotters" + sep);
    EXPECT_EQ(LocatedAddress(LocateMode::ACADEXE, "/cad/acad.exe"), "/cad/acad.exe");
    EXPECT_EQ(LocatedAddress(LocateMode::CTB, ""), "");

    EXPECT_EQ(SaveLocation(ini, LocateMode::ACADEXE, " /cad/acad.exe").value(), " /cad/acad.exe");
    EXPECT_EQ(ini.ReadValue("Acad_Address", "AcadAddress"), "/cad/acad.exe"); // a read trims
    // One trailing separator, however many were typed.
    EXPECT_EQ(SaveLocation(ini, LocateMode::PC3, "/cad/Plotters").value(), "/cad/Plotters" + sep);
    EXPECT_EQ(SaveLocation(ini, LocateMode::CTB, "/cad/Styles" + sep + sep).value(), "/cad/Styles" + sep);
    EXPECT_EQ(ini.ReadValue("PlotWizard_Set", "PC3_Loc"), "/cad/Plotters" + sep);
    EXPECT_EQ(ini.ReadValue("PlotWizard_Set", "Style_Loc"), "/cad/Styles" + sep);
    EXPECT_EQ(EmptyAddressMessage(), (UserMessage{"Please Enter The Address for the AutoCAD Executable file.", "Error",
                                                  MessageIcon::Exclamation, MessageButtons::Ok}));
}

} // namespace
} // namespace qv
