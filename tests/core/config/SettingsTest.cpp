#include "config/CadProducts.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "support/TempDir.h"
#include "support/Windows1252.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(Settings, EveryReaderAppliesItsMissingRule)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    EXPECT_EQ(readCadExecutable(ini), "Unknown");
    EXPECT_EQ(readDatabasePath(ini), "Unknown");
    EXPECT_EQ(readScriptFolder(ini, "/prog"), "/prog");
    EXPECT_EQ(readProductCode(ini), "Cad2005");
    EXPECT_EQ(readOpenCommand(ini), "Unknown");
    EXPECT_EQ(readHostWindowState(ini), "Unknown");
    EXPECT_EQ(readStartupSwitchOption(ini), "Unknown");
    EXPECT_EQ(readStartupSwitchText(ini), "");
    std::string delim, num;
    EXPECT_EQ(readFieldSortOption(ini, delim, num) + "|" + delim + "|" + num, "Unknown|Unknown|Unknown");
    EXPECT_FALSE(readSetupDone(ini));
    EXPECT_EQ(readPlotterConfigFolder(ini), "Unknown");
}

TEST(Settings, ReadersSeeWhatWritersWroteInAnyLetterCase)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue("db_Address", "dbAddress", "/data/Batch_Cad.dat").ok());
    ASSERT_TRUE(ini.writeValue("batch_Address", "batchAddress", "/scripts").ok());
    ASSERT_TRUE(ini.writeValue("Startup_Set", "Setup", "yes").ok());
    ASSERT_TRUE(ini.writeValue("FieldOption", "SortOnOff", "ON").ok());
    ASSERT_TRUE(ini.writeValue("FieldOption", "FieldDelim", "-").ok());
    ASSERT_TRUE(ini.writeValue("FieldOption", "FieldNum", "2").ok());
    ASSERT_TRUE(ini.writeValue("StartSwitch", "Switch", "/p profile").ok());
    EXPECT_EQ(readDatabasePath(ini), "/data/Batch_Cad.dat");
    EXPECT_EQ(readScriptFolder(ini, "/prog"), "/scripts");
    EXPECT_TRUE(readSetupDone(ini));
    std::string delim, num;
    EXPECT_EQ(readFieldSortOption(ini, delim, num) + "|" + delim + "|" + num, "ON|-|2");
    EXPECT_EQ(readStartupSwitchText(ini), "/p profile");
    ASSERT_TRUE(ini.writeValue("Startup_Set", "Setup", "NO").ok());
    EXPECT_FALSE(readSetupDone(ini));
    // One entry per key whatever the case used by the writer.
    EXPECT_EQ(dir.read("Quorvel.ini").find("BatchAddress"), std::string::npos);
}

TEST(Settings, ValuesTravelAsWindows1252)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    const std::string path = "C:\\Programme\\Gro\xC3\x9F\\acad.exe";
    ASSERT_TRUE(ini.writeValue("Acad_Address", "AcadAddress", path).ok());
    EXPECT_EQ(dir.read("Quorvel.ini"), "[Acad_Address]\r\nAcadAddress=C:\\Programme\\Gro\xDF\\acad.exe\r\n");
    EXPECT_EQ(readCadExecutable(ini), path);
    const auto refused = ini.writeValue("Acad_Address", "AcadAddress", "\xE4\xB8\xAD");
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().description.find(ini.filePath()), std::string::npos);
    EXPECT_EQ(readCadExecutable(ini), path);
}

TEST(Settings, AFailedWriteIsReportedAndLeavesTheFileWhole)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue("S", "k", "kept").ok());
    const std::string before = dir.read("Quorvel.ini");
    std::filesystem::permissions(TempDir::toPath(ini.filePath()), std::filesystem::perms::owner_read);
    const auto readOnly = ini.writeValue("S", "k", "lost");
    ASSERT_FALSE(readOnly.ok());
    EXPECT_EQ(readOnly.error().number, ErrPermissionDenied);
    EXPECT_NE(readOnly.error().description.find("Quorvel.ini"), std::string::npos);
    EXPECT_EQ(dir.read("Quorvel.ini"), before);

    const SettingsFile missing(dir.file("no-such-folder"));
    const auto noFolder = missing.writeValue("S", "k", "v");
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.error().number, ErrPathNotFound);
    EXPECT_EQ(readCadExecutable(missing), "Unknown");

    // A folder in place of the file: reads see nothing, writes fail.
    std::filesystem::create_directories(dir.native("asdir/Quorvel.ini"));
    const SettingsFile folderIni(dir.file("asdir"));
    EXPECT_EQ(folderIni.readValue("S", "k"), "Unknown");
    EXPECT_FALSE(folderIni.writeValue("S", "k", "v").ok());
}

TEST(Settings, FieldNumberText)
{
    for (const char* text : {"Unknown", "", "0", "-1", "2a", "1234567890"})
        EXPECT_FALSE(parseFieldNumber(text).has_value()) << text;
    EXPECT_EQ(parseFieldNumber(" 3 "), 3);
    EXPECT_EQ(parseFieldNumber("10"), 10);
}

TEST(Settings, RedirectFileOrThePerUserFolderChoosesTheSettingsFolder)
{
    TempDir program;
    TempDir shared;
    EXPECT_EQ(locateSettingsFolder(program.path()), program.path());
    program.write("Quorvel.ini", "[Cad_Ver]\r\nCadVer=Cad14\r\n");
    program.write("QV_Locate.ini", "[QV_Address]\r\nQVAddress=" + toWindows1252(shared.path()) + "\r\n");
    shared.write("Quorvel.ini", "[Cad_Ver]\r\nCadVer=Cad2010\r\n");
    const std::string folder = locateSettingsFolder(program.path());
    EXPECT_EQ(folder, shared.path());
    EXPECT_EQ(readProductCode(SettingsFile(folder)), "Cad2010");

    // A read-only program folder falls back to the per-user folder, unless the redirect file names another.
    TempDir other;
    EXPECT_EQ(resolveSettingsFolder(other.path(), true, "/home/u/.config/Quorvel"), other.path());
    EXPECT_EQ(resolveSettingsFolder(other.path(), false, "/home/u/.config/Quorvel"), "/home/u/.config/Quorvel");
    EXPECT_EQ(resolveSettingsFolder(program.path(), false, "/home/u/.config/Quorvel"), shared.path());
}

TEST(CadProducts, GetAcadVerComparesInUpperCase)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    // stored, read
    const std::pair<const char*, const char*> cases[] = {
        {"cad2010", "cad2010"}, {"Cad2019", "Cad2005"}, {"BRICSCAD", "BRICSCAD"}, {"ZWCAD", "ZWCAD"},
        {"CadLT98", "CadLT98"}, {"False", "Cad2005"},   {"", "Cad2005"},          {"Cad2018", "Cad2018"},
    };
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", stored).ok());
        EXPECT_EQ(readProductCode(ini), expected) << stored;
    }
}

TEST(CadProducts, LookupIgnoresCaseButFamiliesAndLabelsDoNot)
{
    EXPECT_EQ(findProduct("cadlt2007")->defaultExecutable, "Acadlt.exe");
    EXPECT_EQ(findProduct("False"), nullptr);
    EXPECT_FALSE(isRelease2004OrLater("cad2010"));
    EXPECT_TRUE(isBricscad("bricscad") && isZwcad("zwcad"));
    EXPECT_EQ(panelLabel("Cad2010"), "Acad 2010/2011/2012");
    EXPECT_EQ(panelLabel("cad2010"), std::nullopt);
    EXPECT_EQ(panelLabel("Unknown"), std::nullopt);
    // The releases without a panel label of their own show their selection label.
    for (const auto& [code, label] : {std::pair{"Cad2013", "Acad 2013 - 2017"},
                                      {"CadLT2013", "Acad LT 2013 - 2017"},
                                      {"Cad2018", "Acad 2018 - 2025"},
                                      {"CadLT2018", "Acad LT 2018 - 2025"}})
        EXPECT_EQ(panelLabel(code), label) << code;
}

} // namespace
} // namespace qv
