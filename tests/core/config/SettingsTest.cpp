#include "config/CadProducts.h"
#include "config/Settings.h"
#include "config/SettingsKeys.h"
#include "support/TempDir.h"
#include "support/Windows1252.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

// What each reader gives without a settings file, then with every key stored in the spelling its writer uses.
TEST(Settings, EveryReaderReadsItsKeyOrAppliesItsMissingRule)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    const auto readAll = [&ini] {
        std::string delim, num;
        const std::string sort = readFieldSortOption(ini, delim, num);
        return std::vector<std::string>{readCadExecutable(ini),         readDatabasePath(ini),
                                        readScriptFolder(ini, "/prog"), readProductCode(ini),
                                        readOpenCommand(ini),           readHostWindowState(ini),
                                        readStartupSwitchOption(ini),   readStartupSwitchText(ini),
                                        sort + "|" + delim + "|" + num, readSetupDone(ini) ? "done" : "not done",
                                        readPlotterConfigFolder(ini),   readPlotStyleFolder(ini)};
    };
    EXPECT_EQ(readAll(),
              (std::vector<std::string>{"Unknown", "Unknown", "/prog", "Cad2005", "Unknown", "Unknown", "Unknown", "",
                                        "Unknown|Unknown|Unknown", "not done", "Unknown", "Unknown"}));
    dir.write("Quorvel.ini",
              "[Acad_Address]\r\nAcadAddress=/cad/acad.exe\r\n[db_Address]\r\ndbAddress=/data/B.dat\r\n"
              "[batch_Address]\r\nbatchAddress=/scripts\r\n[Cad_Ver]\r\nCadVer=Cad2018\r\n"
              "[Acad_StartEnd]\r\nAcadStart=_Recover\r\nAcadWindow=Maximised\r\n"
              "[StartSwitch]\r\nStartOption=YesSwitch\r\nSwitch=/p profile\r\n"
              "[FieldOption]\r\nSortOnOff=ON\r\nFieldDelim=-\r\nFieldNum=2\r\n[Startup_Set]\r\nSetup=yes\r\n"
              "[PlotWizard_Set]\r\nPC3_Loc=/plot/\r\nStyle_Loc=/styles/\r\n");
    EXPECT_EQ(readAll(),
              (std::vector<std::string>{"/cad/acad.exe", "/data/B.dat", "/scripts", "Cad2018", "_Recover", "Maximised",
                                        "YesSwitch", "/p profile", "ON|-|2", "done", "/plot/", "/styles/"}));
}

TEST(Settings, AFailedWriteIsReportedAndLeavesTheFileWhole)
{
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue("S", "k", "kept").ok());
    const std::string before = dir.read("Quorvel.ini");
    // A value outside Windows-1252 is refused, naming the file.
    const auto refused = ini.writeValue("S", "k", "\xE4\xB8\xAD");
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().description.find(ini.filePath()), std::string::npos);
    EXPECT_EQ(dir.read("Quorvel.ini"), before);
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

    // A folder in place of the file: reads see nothing (a write to it fails in OptionsSettingsTest).
    std::filesystem::create_directories(dir.native("asdir/Quorvel.ini"));
    EXPECT_EQ(SettingsFile(dir.file("asdir")).readValue("S", "k"), "Unknown");
}

TEST(Settings, FieldNumberText)
{
    for (const char* text : {"Unknown", "", "0", "-1", "2a", "2.5", "1234567890"})
        EXPECT_FALSE(parseFieldNumber(text).has_value()) << text;
    EXPECT_EQ(parseFieldNumber(" 3 "), 3);
    EXPECT_EQ(parseFieldNumber("10"), 10);
}

TEST(Settings, RedirectFileOrThePerUserFolderChoosesTheSettingsFolder)
{
    TempDir program;
    TempDir shared;
    EXPECT_EQ(locateSettingsFolder(program.path()), program.path());
    program.write("QV_Locate.ini", "[QV_Address]\r\nQVAddress=" + toWindows1252(shared.path()) + "\r\n");
    EXPECT_EQ(locateSettingsFolder(program.path()), shared.path());

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
    // stored, read (every code of the version buttons is known: OptionsSettings.EveryVersionButtonStoresAKnownCode)
    const std::pair<const char*, const char*> cases[] = {
        {"cad2010", "cad2010"}, {"BRICSCAD", "BRICSCAD"}, {"Cad2019", "Cad2005"}, {"False", "Cad2005"}, {"", "Cad2005"},
    };
    for (const auto& [stored, expected] : cases) {
        ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", stored).ok());
        EXPECT_EQ(readProductCode(ini), expected) << stored;
    }
}

TEST(CadProducts, LookupIgnoresCaseButFamiliesAndLabelsDoNot)
{
    EXPECT_EQ(findProduct("cadlt2007")->defaultExecutable, "Acadlt.exe");
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
