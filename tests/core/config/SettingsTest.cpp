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
    const clsIniControl ini(dir.path());
    EXPECT_EQ(GetAcadAddress(ini), "Unknown");
    EXPECT_EQ(GetDataBaseAddress(ini), "Unknown");
    EXPECT_EQ(GetBatchAddress(ini, "/prog"), "/prog");
    EXPECT_EQ(GetAcadVer(ini), "Cad2005");
    EXPECT_EQ(GetStartOption(ini), "Unknown");
    EXPECT_EQ(GetWindowState(ini), "Unknown");
    EXPECT_EQ(GetStartupSwitchOption(ini), "Unknown");
    EXPECT_EQ(GetStartupSwitch_Text(ini), "");
    std::string delim, num;
    EXPECT_EQ(GetFieldDelimOption(ini, delim, num) + "|" + delim + "|" + num, "Unknown|Unknown|Unknown");
    EXPECT_FALSE(IsStartupSet(ini));
    EXPECT_EQ(GetPc3Location(ini), "Unknown");
}

TEST(Settings, ReadersSeeWhatWritersWroteInAnyLetterCase)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    ASSERT_TRUE(ini.WriteValue("db_Address", "dbAddress", "/data/Batch_Cad.dat").ok());
    ASSERT_TRUE(ini.WriteValue("batch_Address", "batchAddress", "/scripts").ok());
    ASSERT_TRUE(ini.WriteValue("Startup_Set", "Setup", "yes").ok());
    ASSERT_TRUE(ini.WriteValue("FieldOption", "SortOnOff", "ON").ok());
    ASSERT_TRUE(ini.WriteValue("FieldOption", "FieldDelim", "-").ok());
    ASSERT_TRUE(ini.WriteValue("FieldOption", "FieldNum", "2").ok());
    ASSERT_TRUE(ini.WriteValue("StartSwitch", "Switch", "/p profile").ok());
    EXPECT_EQ(GetDataBaseAddress(ini), "/data/Batch_Cad.dat");
    EXPECT_EQ(GetBatchAddress(ini, "/prog"), "/scripts");
    EXPECT_TRUE(IsStartupSet(ini));
    std::string delim, num;
    EXPECT_EQ(GetFieldDelimOption(ini, delim, num) + "|" + delim + "|" + num, "ON|-|2");
    EXPECT_EQ(GetStartupSwitch_Text(ini), "/p profile");
    ASSERT_TRUE(ini.WriteValue("Startup_Set", "Setup", "NO").ok());
    EXPECT_FALSE(IsStartupSet(ini));
    // One entry per key whatever the case used by the writer.
    EXPECT_EQ(dir.read("Quorvel.ini").find("BatchAddress"), std::string::npos);
}

TEST(Settings, ValuesTravelAsWindows1252)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    ASSERT_TRUE(ini.WriteValue("Acad_Address", "AcadAddress", "C:\\Programme\\Stra\xC3\x9F" "e\\acad.exe").ok());
    EXPECT_EQ(dir.read("Quorvel.ini"), "[Acad_Address]\r\nAcadAddress=C:\\Programme\\Stra\xDF" "e\\acad.exe\r\n");
    EXPECT_EQ(GetAcadAddress(ini), "C:\\Programme\\Stra\xC3\x9F" "e\\acad.exe");
    const auto refused = ini.WriteValue("Acad_Address", "AcadAddress", "\xE4\xB8\xAD");
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().description.find(ini.IniPath()), std::string::npos);
    EXPECT_EQ(GetAcadAddress(ini), "C:\\Programme\\Stra\xC3\x9F" "e\\acad.exe");
}

TEST(Settings, AFailedWriteIsReportedAndLeavesTheFileWhole)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    ASSERT_TRUE(ini.WriteValue("S", "k", "kept").ok());
    const std::string before = dir.read("Quorvel.ini");
    std::filesystem::permissions(TempDir::toPath(ini.IniPath()), std::filesystem::perms::owner_read);
    const auto readOnly = ini.WriteValue("S", "k", "lost");
    ASSERT_FALSE(readOnly.ok());
    EXPECT_EQ(readOnly.error().number, ErrPermissionDenied);
    EXPECT_NE(readOnly.error().description.find("Quorvel.ini"), std::string::npos);
    EXPECT_EQ(dir.read("Quorvel.ini"), before);

    const clsIniControl missing(dir.file("no-such-folder"));
    const auto noFolder = missing.WriteValue("S", "k", "v");
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.error().number, ErrPathNotFound);
    EXPECT_EQ(GetAcadAddress(missing), "Unknown");

    // A folder in place of the file: reads see nothing, writes fail.
    std::filesystem::create_directories(dir.native("asdir/Quorvel.ini"));
    const clsIniControl folderIni(dir.file("asdir"));
    EXPECT_EQ(folderIni.ReadValue("S", "k"), "Unknown");
    EXPECT_FALSE(folderIni.WriteValue("S", "k", "v").ok());
}

TEST(Settings, RedirectFileChoosesTheSettingsFolder)
{
    TempDir program;
    TempDir shared;
    EXPECT_EQ(GetQVLocation(program.path()), program.path());
    program.write("Quorvel.ini", "[Cad_Ver]\r\nCadVer=Cad14\r\n");
    program.write("QV_Locate.ini", "[QV_Address]\r\nQVAddress=" + ToWindows1252(shared.path()) + "\r\n");
    shared.write("Quorvel.ini", "[Cad_Ver]\r\nCadVer=Cad2010\r\n");
    const std::string folder = GetQVLocation(program.path());
    EXPECT_EQ(folder, shared.path());
    EXPECT_EQ(GetAcadVer(clsIniControl(folder)), "Cad2010");
}

TEST(Settings, ReadOnlyProgramFolderFallsBackToThePerUserFolder)
{
    TempDir program;
    EXPECT_EQ(ResolveSettingsFolder(program.path(), true, "/home/u/.config/Quorvel"), program.path());
    EXPECT_EQ(ResolveSettingsFolder(program.path(), false, "/home/u/.config/Quorvel"), "/home/u/.config/Quorvel");
    program.write("QV_Locate.ini", "[QV_Address]\r\nQVAddress=/net/share\r\n");
    EXPECT_EQ(ResolveSettingsFolder(program.path(), false, "/home/u/.config/Quorvel"), "/net/share");
}

TEST(CadProducts, GetAcadVerComparesInUpperCase)
{
    TempDir dir;
    const clsIniControl ini(dir.path());
    const struct
    {
        const char* stored;
        const char* expected;
    } cases[] = {
        {"cad2010", "cad2010"}, {"Cad2019", "Cad2005"}, {"BRICSCAD", "BRICSCAD"}, {"ZWCAD", "ZWCAD"},
        {"CadLT98", "CadLT98"}, {"False", "Cad2005"},   {"", "Cad2005"},          {"Cad2018", "Cad2018"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ini.WriteValue("Cad_Ver", "CadVer", c.stored).ok());
        EXPECT_EQ(GetAcadVer(ini), c.expected) << c.stored;
    }
}

TEST(CadProducts, LookupIgnoresCaseButFamiliesAndLabelsDoNot)
{
    EXPECT_EQ(FindProduct("cadlt2007")->defaultExecutable, "Acadlt.exe");
    EXPECT_EQ(FindProduct("False"), nullptr);
    EXPECT_FALSE(IsRelease2004OrLater("cad2010"));
    EXPECT_TRUE(IsBricscad("bricscad") && IsZwcad("zwcad"));
    EXPECT_EQ(PanelLabel("Cad2010"), "Acad 2010/2011/2012");
    EXPECT_EQ(PanelLabel("cad2010"), std::nullopt);
    EXPECT_EQ(PanelLabel("Unknown"), std::nullopt);
    // The releases without a panel label of their own show their selection label.
    for (const auto& [code, label] : {std::pair{"Cad2013", "Acad 2013 - 2017"},
                                      {"CadLT2013", "Acad LT 2013 - 2017"},
                                      {"Cad2018", "Acad 2018 - 2025"},
                                      {"CadLT2018", "Acad LT 2018 - 2025"}})
        EXPECT_EQ(PanelLabel(code), label) << code;
}

} // namespace
} // namespace qv
