// The platform's file services against real files in folders whose names hold letters outside ASCII (the
// temporary folder's own name does, and so do the names below).

#include "FileSystem.h"

#include "support/TempDir.h"
#include "text/Paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qv {
namespace {

namespace fs = std::filesystem;
using platform::AttrDirectory;
using platform::AttrReadOnly;

const std::string kFolder = "Pl\xC3\xA4ne \xE2\x82\xAC"; // "Pläne €"

void makeReadOnly(const TempDir& dir, const std::string& name)
{
    fs::permissions(dir.native(name), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(FileSystem, AttributesOfAccentedPaths)
{
    TempDir dir;
    fs::create_directory(dir.native(kFolder));
    dir.write(kFolder + "/Gar\xC3\xA7on.dwg", "DWG");
    dir.write(kFolder + "/Sch\xC3\xB6n.dwg", "DWG");
    makeReadOnly(dir, kFolder + "/Sch\xC3\xB6n.dwg");
    const std::string folder = joinPath(dir.path(), kFolder);

    // path, attribute bits that must be set, bits that must be clear, or the error number
    const std::tuple<std::string, unsigned, unsigned, int> cases[] = {
        {folder, AttrDirectory, 0, 0},
        {joinPath(folder, "Gar\xC3\xA7on.dwg"), 0, AttrDirectory | AttrReadOnly, 0},
        {joinPath(folder, "Sch\xC3\xB6n.dwg"), AttrReadOnly, AttrDirectory, 0},
        {joinPath(folder, "Fehlt \xC3\xBC.dwg"), 0, 0, ErrFileNotFound},
    };
    for (const auto& [path, set, clear, error] : cases) {
        SCOPED_TRACE(path);
        const Result<unsigned> attributes = platform::fileAttributes(path);
        ASSERT_EQ(attributes.ok(), error == 0);
        if (!attributes) {
            EXPECT_EQ(attributes.error().number, error);
            continue;
        }
        EXPECT_EQ(attributes.value() & set, set);
        EXPECT_EQ(attributes.value() & clear, 0u);
    }

    EXPECT_TRUE(platform::isFolderWritable(folder));
    EXPECT_FALSE(platform::isFolderWritable(joinPath(folder, "Fehlt")));
    EXPECT_FALSE(platform::isFolderWritable(joinPath(folder, "Gar\xC3\xA7on.dwg")));
    EXPECT_FALSE(fs::exists(dir.native(kFolder + "/quorvel.write-test")));
}

// The reader answers every path exactly as the whole-path query does, across more folders than it keeps
// open and past the point where it may give up on open folders, for files of the same name whose answers
// differ from folder to folder.
TEST(FileSystem, AttributeReaderAnswersAsTheWholePath)
{
    TempDir dir;
    constexpr int kFolders = 300;
    std::vector<std::string> paths;
    for (int i = 0; i < kFolders; ++i) {
        const std::string name = kFolder + " " + std::to_string(i);
        fs::create_directory(dir.native(name));
        if (i % 3 != 2)
            dir.write(name + "/Sheet.dwg", "DWG");
        if (i % 3 == 0)
            makeReadOnly(dir, name + "/Sheet.dwg");
        paths.push_back(joinPath(joinPath(dir.path(), name), "Sheet.dwg"));
    }
    const std::string folder = joinPath(dir.path(), kFolder + " 1");
    const std::string special[] = {folder,
                                   folder + pathSeparator(),
                                   joinPath(folder, "Fehlt.dwg"),
                                   joinPath(joinPath(dir.path(), "Fehlt"), "Sheet.dwg"),
                                   joinPath(joinPath(folder, "Sheet.dwg"), "x.dwg"),
                                   "Sheet.dwg",
                                   ""};

    const auto expectSame = [](platform::AttributeReader& reader, const std::string& path) {
        SCOPED_TRACE(path);
        const Result<unsigned> expected = platform::fileAttributes(path);
        const Result<unsigned> got = reader.query(path);
        ASSERT_EQ(got.ok(), expected.ok());
        if (expected) {
            EXPECT_EQ(got.value(), expected.value());
        } else {
            EXPECT_EQ(got.error().number, expected.error().number);
            EXPECT_EQ(got.error().description, expected.error().description);
        }
    };
    // Folder by folder, as lists usually run.
    platform::AttributeReader byFolder;
    for (const std::string& path : paths) {
        expectSame(byFolder, path);
        expectSame(byFolder, path);
    }
    for (const std::string& path : special)
        expectSame(byFolder, path);
    // Every row in another folder, long enough for the reader to fall back to whole paths.
    platform::AttributeReader scattered;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < kFolders; ++i)
            expectSame(scattered, paths[static_cast<std::size_t>((i * 7 + round) % kFolders)]);
    }
    for (const std::string& path : special)
        expectSame(scattered, path);
}

} // namespace
} // namespace qv
