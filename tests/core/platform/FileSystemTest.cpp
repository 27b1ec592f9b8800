// The platform's file services against real files in folders whose names hold letters outside ASCII (the
// temporary folder's own name does, and so do the names below).

#include "FileSystem.h"

#include "ScriptLock.h"
#include "batch/ReadOnlyCheck.h"
#include "batch/ScriptWriter.h"
#include "support/TempDir.h"
#include "text/CodePage.h"
#include "text/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace fs = std::filesystem;
using platform::AttrDirectory;
using platform::AttrReadOnly;

const std::string kFolder = "Pl\xC3\xA4ne \xE2\x82\xAC"; // "Pläne €"

void MakeReadOnly(const TempDir& dir, const std::string& name)
{
    fs::permissions(dir.native(name), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(FileSystem, AttributesOfAccentedPaths)
{
    TempDir dir;
    fs::create_directory(dir.native(kFolder));
    dir.write(kFolder + "/Fa\xC3\xA7"
                        "ade.dwg",
              "DWG");
    dir.write(kFolder + "/Sch\xC3\xB6n.dwg", "DWG");
    MakeReadOnly(dir, kFolder + "/Sch\xC3\xB6n.dwg");
    const std::string folder = JoinPath(dir.path(), kFolder);

    // path, attribute bits that must be set, bits that must be clear, or the error number
    const std::tuple<std::string, unsigned, unsigned, int> cases[] = {
        {folder, AttrDirectory, 0, 0},
        {JoinPath(folder, "Fa\xC3\xA7"
                          "ade.dwg"),
         0, AttrDirectory | AttrReadOnly, 0},
        {JoinPath(folder, "Sch\xC3\xB6n.dwg"), AttrReadOnly, AttrDirectory, 0},
        {JoinPath(folder, "Fehlt \xC3\xBC.dwg"), 0, 0, ErrFileNotFound},
    };
    for (const auto& [path, set, clear, error] : cases) {
        SCOPED_TRACE(path);
        const Result<unsigned> attributes = platform::GetFileAttributes(path);
        ASSERT_EQ(attributes.ok(), error == 0);
        if (!attributes) {
            EXPECT_EQ(attributes.error().number, error);
            continue;
        }
        EXPECT_EQ(attributes.value() & set, set);
        EXPECT_EQ(attributes.value() & clear, 0u);
    }

    EXPECT_TRUE(platform::IsFolderWritable(folder));
    EXPECT_FALSE(platform::IsFolderWritable(JoinPath(folder, "Fehlt")));
    EXPECT_FALSE(platform::IsFolderWritable(JoinPath(folder, "Fa\xC3\xA7"
                                                             "ade.dwg")));
    EXPECT_FALSE(fs::exists(dir.native(kFolder + "/quorvel.write-test")));
}

TEST(FileSystem, ReadOnlyCheckAndScriptWithAccentedDrawingPaths)
{
    TempDir dir;
    fs::create_directory(dir.native(kFolder));
    dir.write(kFolder + "/Caf\xC3\xA9.dwg", "DWG");
    dir.write(kFolder + "/\xC3\x9C"
                        "bersicht.dwg",
              "DWG");
    MakeReadOnly(dir, kFolder + "/\xC3\x9C"
                                "bersicht.dwg");
    const std::string folder = JoinPath(dir.path(), kFolder);

    const DrawingRows rows = {{"Caf\xC3\xA9.dwg", folder, "Purge", ""},
                              {"\xC3\x9C"
                               "bersicht.dwg",
                               folder + PathSeparator(), "Purge", ""}};
    const ReadOnlyScan scan = FindReadOnlyDrawings(rows, platform::GetFileAttributes);
    ASSERT_FALSE(scan.error.has_value()) << scan.error->text;
    EXPECT_EQ(scan.readOnly, (std::vector<ReadOnlyDrawing>{{"\xC3\x9C"
                                                            "bersicht.dwg",
                                                            folder + PathSeparator()}}));
    EXPECT_EQ(scan.rowIsReadOnly, (std::vector<bool>{false, true}));

    // The script lands in the accented folder and names the drawings in Windows-1252.
    ScriptInputs in;
    in.rows = rows;
    in.scriptFolder = folder;
    in.openCommand = "Unknown";
    in.sequenceText = "1";
    in.routineText = [](const std::string&) { return std::string("_purge"); };
    in.readOnlyRows = scan.rowIsReadOnly;
    const ScriptResult result = LoopThroughList(in, platform::FileIsOpen, [](const UserMessage& m) {
        ADD_FAILURE() << "no question expected: " << m.text;
        return MessageAnswer::Cancel;
    });
    ASSERT_TRUE(result.launch);
    EXPECT_EQ(result.path, JoinPath(folder, "Batch.scr"));
    const std::string script = dir.read(kFolder + "/Batch.scr");
    EXPECT_EQ(script, BuildScript(in, ScriptWriterKind::General).value().bytes);
    const std::string cafe = Utf8ToCp1252(JoinPath(folder, "Caf\xC3\xA9.dwg")).value();
    EXPECT_NE(script.find(cafe), std::string::npos) << script;
    EXPECT_EQ(script.find("Caf\xC3\xA9"), std::string::npos) << "UTF-8 in the script";
}

} // namespace
} // namespace qv
