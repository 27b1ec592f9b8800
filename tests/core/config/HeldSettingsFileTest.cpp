// Several installations may share one settings file, so another program may have it open while Quorvel
// writes. Windows refuses to replace a file held open that way; the write must still go through, whole.

#include "SafeWrite.h"
#include "config/Settings.h"
#include "config/SettingsFile.h"
#include "io/FileIo.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace qv {
namespace {

TEST(HeldSettingsFile, WritesGoThroughWhileAnotherHandleHoldsTheFile)
{
    platform::installSafeWrites(); // as the program runs
    TempDir dir;
    const SettingsFile ini(dir.path());
    ASSERT_TRUE(ini.writeValue("Acad_Address", "AcadAddress", "C:\\CAD\\acad.exe").ok());
    ASSERT_TRUE(ini.writeValue("Cad_Ver", "CadVer", "Cad2018").ok());
    dir.write("Quorvel.ini.tmp004711", "what a killed save left");

    // Open for reading and writing, as another installation or an editor holds it.
    std::fstream other(dir.native("Quorvel.ini"), std::ios::in | std::ios::out | std::ios::binary);
    ASSERT_TRUE(other.is_open());

    // value written, then the whole file expected: the file grows, shrinks and grows again while held.
    const std::pair<std::string, std::string> steps[] = {
        {"C:\\Program Files\\Autodesk\\AutoCAD 2024 caf\xC3\xA9\\acad.exe",
         "[Acad_Address]\r\nAcadAddress=C:\\Program Files\\Autodesk\\AutoCAD 2024 caf\xE9\\acad.exe\r\n"
         "[Cad_Ver]\r\nCadVer=Cad2018\r\n"},
        {"a", "[Acad_Address]\r\nAcadAddress=a\r\n[Cad_Ver]\r\nCadVer=Cad2018\r\n"},
        {"C:\\b.exe", "[Acad_Address]\r\nAcadAddress=C:\\b.exe\r\n[Cad_Ver]\r\nCadVer=Cad2018\r\n"},
    };
    for (const auto& [value, file] : steps) {
        SCOPED_TRACE(value);
        const Status written = ini.writeValue("Acad_Address", "AcadAddress", value);
        ASSERT_TRUE(written.ok()) << written.error().number << " " << written.error().description;
        EXPECT_EQ(dir.read("Quorvel.ini"), file);
        EXPECT_EQ(readCadExecutable(ini), value);
    }
    other.close();
    // No temporary file is left beside the settings, not even the killed save's.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.native("")), {}), 1);
}

} // namespace
} // namespace qv
