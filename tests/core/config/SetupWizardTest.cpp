#include "config/SetupWizard.h"

#include "config/CadProducts.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
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
    EXPECT_EQ(shortenPath(fiftyNine), fiftyNine);
    EXPECT_EQ(shortenPath(""), "");
    const auto e = [](int count) { // "é" `count` times
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "\xC3\xA9";
        return text;
    };

    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += char('A' + i % 26);
    EXPECT_EQ(shortenPath(sixty), sixty.substr(0, 30) + "........." + sixty.substr(14));

    // Characters are counted, not bytes: 59 two-byte letters stay whole, 60 are cut between letters.
    EXPECT_EQ(shortenPath(e(59)), e(59));
    EXPECT_EQ(shortenPath(e(59) + "x"), e(30) + "........." + e(45) + "x");
}

TEST(SetupWizard, RoutineDatabaseStepRecordsTheDefaultOnlyWhenNothingIsStored)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    const std::string defaultPath = dir.file("Batch_Cad.dat");
    DatabaseLocation located = locateRoutineDatabase(ini, dir.path());
    EXPECT_TRUE(located.written.ok());
    EXPECT_EQ(located.path, defaultPath);
    EXPECT_EQ(ini.readValue("db_address", "dbaddress"), defaultPath);

    ASSERT_TRUE(ini.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, "/shared/Routines.dat").ok());
    located = locateRoutineDatabase(ini, dir.path());
    EXPECT_EQ(located.path, "/shared/Routines.dat");
    EXPECT_EQ(ini.readValue(keys::kDatabaseSection, keys::kDatabaseKey), "/shared/Routines.dat");

    // An empty entry means the default database to the routine store: the setup records that one.
    ASSERT_TRUE(ini.writeValue(keys::kDatabaseSection, keys::kDatabaseKey, "").ok());
    EXPECT_EQ(locateRoutineDatabase(ini, dir.path()).path, defaultPath);
    EXPECT_EQ(ini.readValue(keys::kDatabaseSection, keys::kDatabaseKey), defaultPath);

    // A settings file that cannot be written is reported, not passed over.
    TempDir blocked;
    std::filesystem::create_directory(blocked.native("Quorvel.ini"));
    located = locateRoutineDatabase(SettingsFile(blocked.path()), blocked.path());
    EXPECT_FALSE(located.written.ok());
    EXPECT_EQ(located.path, blocked.file("Batch_Cad.dat"));
}

TEST(SetupWizard, TestWriteFolderWritesTestAndNeverTouchesAHeldScript)
{
    TempDir dir;
    EXPECT_EQ(testWriteFolder(dir.path(), kFree), std::nullopt);
    EXPECT_EQ(dir.read("Batch.scr"), "Test\r\n");
    dir.write("Batch.scr", "_Open\r\nold script that is much longer\r\n");
    EXPECT_EQ(testWriteFolder(dir.path(), kFree), std::nullopt);
    EXPECT_EQ(dir.read("Batch.scr"), "Test\r\n");

    // A host runs the script: the probe says so and the file stays as it is.
    dir.write("Batch.scr", "the running host's script");
    std::string probed;
    const auto held = testWriteFolder(dir.path(), [&](const std::string& path) {
        probed = path;
        return 70;
    });
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(*held, readWriteFolderMessage());
    EXPECT_EQ(probed, dir.file("Batch.scr"));
    EXPECT_EQ(dir.read("Batch.scr"), "the running host's script");

    const UserMessage expected{"Quorvel requires access to a folder which you have\r\nRead/Write access too.\r\n\r\n"
                               "Press OK to proceed and select a Read/Write access folder",
                               "Locate Read/Write Folder ", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(readWriteFolderMessage(), expected);
    // A folder that is not there, no folder at all, and a folder in the script's place all fail.
    EXPECT_EQ(testWriteFolder(dir.file("missing"), kFree), expected);
    EXPECT_EQ(testWriteFolder("  ", kFree), expected);
    TempDir other;
    std::filesystem::create_directory(other.native("Batch.scr"));
    EXPECT_EQ(testWriteFolder(other.path(), kFree), expected);
}

TEST(SetupWizard, ProductChoiceAndTheLastStepWriteTheirSettings)
{
    // the product's place in the list, the whole settings file after the choice
    const std::pair<std::size_t, const char*> cases[] = {
        {17, "[Cad_Ver]\r\nCadVer=Cad2018\r\n"},
        {2, "[Cad_Ver]\r\nCadVer=Cad13\r\n[Acad_StartEnd]\r\nCadVer=Off\r\n"},
        {1, "[Cad_Ver]\r\nCadVer=Cad14\r\n[Acad_StartEnd]\r\nCadVer=Off\r\n"},
        {4, "[Cad_Ver]\r\nCadVer=CadLT98\r\n[Acad_StartEnd]\r\nCadVer=Off\r\n"},
        {5, "[Cad_Ver]\r\nCadVer=Bricscad\r\n"},
        {12, ""}, // the placeholder records nothing
    };
    for (const auto& [index, file] : cases) {
        TempDir dir;
        SettingsFile ini(dir.path());
        EXPECT_TRUE(recordProductChoice(ini, cadProducts()[index]).ok()) << index;
        EXPECT_EQ(dir.read("Quorvel.ini"), file) << index;
    }
    EXPECT_EQ(productSelectedText(cadProducts()[10]), "AutoCAD Version Acad 2007 - 2009 Selected");

    // The last step marks the setup done.
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(markSetupDone(ini).ok());
    EXPECT_TRUE(readSetupDone(ini));
    EXPECT_EQ(dir.read("Quorvel.ini"), "[Startup_Set]\r\nSetup=YES\r\n");
}

TEST(SetupWizard, LocateTextsAndFiltersFollowTheModeAndTheExecutable)
{
    EXPECT_EQ(searchFileName(LocateMode::ACADEXE, "Aclt.exe"), "Aclt.exe");
    EXPECT_EQ(searchFileName(LocateMode::PC3, "Aclt.exe"), "PublishToWeb JPG.pc3");
    EXPECT_EQ(searchFileName(LocateMode::CTB, "Aclt.exe"), "DWF Virtual Pens.ctb");

    const LocateTexts exe = locateTextsFor(LocateMode::ACADEXE, "Acad.exe");
    EXPECT_EQ(exe.searching, "Searching for Acad.exe...............");
    EXPECT_EQ(exe.fileLabel, "Acad.exe Location");
    EXPECT_EQ(exe.notFound, "Please locate your current AutoCAD Executable file (Acad.exe)\r\nQuorvel uses this file "
                            "during operation.\r\n\r\nFor example C:\\Program Files\\Autodesk\\AutoCAD 2018\\\r\n\r\n");
    EXPECT_EQ(exe.found, "Quorvel installation has located the executable file (Acad.exe)\r\nIf this is the correct "
                         "location click Next to proceed.\r\n\r\nIf not please locate the correct folder using the "
                         "Browse button\r\n\r\n");
    const LocateTexts pc3 = locateTextsFor(LocateMode::PC3, "");
    EXPECT_EQ(pc3.windowCaption, "Locate Plotter Configuration File");
    EXPECT_EQ(pc3.frameCaption, "Locate PC3 File");
    EXPECT_EQ(pc3.notFound,
              "Please locate your current AutoCAD Plotter Configuration file .Pc3\r\nQuorvel uses these files during "
              "operation.");
    const LocateTexts ctb = locateTextsFor(LocateMode::CTB, "");
    EXPECT_EQ(ctb.searching, "Searching for Plot Style ...............");
    EXPECT_EQ(ctb.fileLabel, "Plot Style Location");
    EXPECT_EQ(ctb.found.rfind("Quorvel installation has located the AutoCAD Plot style file\r\nIf this", 0), 0u);

    EXPECT_EQ(executableFilter("acad.EXE"),
              "AutoCAD Full (Acad.exe)|Acad.exe|AutoCAD LT File (Aclt.exe)|Aclt.exe|All Files (*.*)|*.*");
    EXPECT_EQ(executableFilter("Aclt.exe"),
              "AutoCAD LT (Aclt.exe)|Aclt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*");
    EXPECT_EQ(executableFilter("Acadlt.exe"),
              "AutoCAD LT (Acadlt.exe)|Acadlt.exe|AutoCAD Full (Acad.exe)|Acad.exe|All Files (*.*)|*.*");
    EXPECT_EQ(executableFilter(""), "Exe Files (*.exe)|*.exe|All Files (*.*)|*.*");
}

TEST(SetupWizard, LocationsAreSavedAsTheirKeysWant)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    const std::string sep(1, pathSeparator());
    const std::string hit = "/cad" + sep + "Plotters" + sep + "PublishToWeb JPG.pc3";
    EXPECT_EQ(locatedAddress(LocateMode::PC3, hit), "/cad" + sep + "Plotters" + sep);
    EXPECT_EQ(locatedAddress(LocateMode::ACADEXE, "/cad/acad.exe"), "/cad/acad.exe");
    EXPECT_EQ(locatedAddress(LocateMode::CTB, ""), "");

    EXPECT_EQ(saveLocation(ini, LocateMode::ACADEXE, " /cad/acad.exe").value(), " /cad/acad.exe");
    EXPECT_EQ(ini.readValue("Acad_Address", "AcadAddress"), "/cad/acad.exe"); // a read trims
    // One trailing separator, however many were typed.
    EXPECT_EQ(saveLocation(ini, LocateMode::PC3, "/cad/Plotters").value(), "/cad/Plotters" + sep);
    EXPECT_EQ(saveLocation(ini, LocateMode::CTB, "/cad/Styles" + sep + sep).value(), "/cad/Styles" + sep);
    EXPECT_EQ(ini.readValue("PlotWizard_Set", "PC3_Loc"), "/cad/Plotters" + sep);
    EXPECT_EQ(ini.readValue("PlotWizard_Set", "Style_Loc"), "/cad/Styles" + sep);
    EXPECT_EQ(emptyAddressMessage(), (UserMessage{"Please Enter The Address for the AutoCAD Executable file.", "Error",
                                                  MessageIcon::Exclamation, MessageButtons::Ok}));
}

} // namespace
} // namespace qv
