#include "config/FileSearch.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

void touch(const TempDir& dir, const std::string& name)
{
    fs::create_directories(dir.native(name).parent_path());
    dir.write(name, "");
}

TEST(FileSearch, FirstHitInTheFolderThenDepthFirstByName)
{
    TempDir dir;
    touch(dir, "b/acad.exe");
    touch(dir, "a/deep/er/ACAD.EXE");
    touch(dir, "a/other.exe");
    // Depth first: everything below a/ comes before b/; the name is matched in any case, kept as found.
    EXPECT_EQ(findFileInTree(dir.path(), "Acad.exe"), dir.file("a/deep/er/ACAD.EXE"));
    // A hit in the folder itself wins over anything below it.
    touch(dir, "a/Acad.exe");
    EXPECT_EQ(findFileInTree(dir.path(), "Acad.exe"), dir.file("a/Acad.exe"));
    EXPECT_EQ(findFileInTree(dir.file("b"), "acad.exe"), dir.file("b/acad.exe"));
    // A folder of that name is no hit.
    fs::create_directories(dir.native("c/Plotters/PublishToWeb JPG.pc3"));
    EXPECT_EQ(findFileInTree(dir.file("c"), "PublishToWeb JPG.pc3"), "");
    EXPECT_EQ(findFileInTree(dir.path(), ""), "");

    // Hidden folders and files are searched.
    touch(dir, ".wine/drive_c/Program Files/Autodesk/.acad.exe");
    touch(dir, ".wine/drive_c/users/me/AppData/Plotters/PublishToWeb JPG.pc3");
    EXPECT_EQ(findFileInTree(dir.path(), "PublishToWeb JPG.pc3"),
              dir.file(".wine/drive_c/users/me/AppData/Plotters/PublishToWeb JPG.pc3"));
    EXPECT_EQ(findFileInTree(dir.path(), ".acad.exe"), dir.file(".wine/drive_c/Program Files/Autodesk/.acad.exe"));
}

TEST(FileSearch, AMissingStartHoldsNothingAndTheNextStartIsSearched)
{
    TempDir dir;
    touch(dir, "opt/cad/Acad.exe");
    EXPECT_EQ(findFileInTree(dir.file("no-such-folder"), "Acad.exe"), "");
    EXPECT_EQ(findFileInTree(dir.file("opt/cad/Acad.exe"), "Acad.exe"), ""); // a file is no folder to search
    EXPECT_EQ(findFileInTrees({dir.file("no-such-folder"), "", dir.file("opt")}, "Acad.exe"),
              dir.file("opt/cad/Acad.exe"));
}

TEST(FileSearch, FoldersNeverEnteredAndStartsAlreadySearchedAreSkipped)
{
    TempDir dir;
    touch(dir, "proc/1/Acad.exe");
    touch(dir, "home/.wine/drive_c/x/y/z");
    FileSearchOptions options;
    options.neverEnter = {dir.file("proc")};
    EXPECT_EQ(findFileInTree(dir.path(), "Acad.exe", options), "");

    // The Wine prefix is searched first; the home folder around it does not walk it again.
    std::vector<std::string> entered;
    options.onFolder = [&](const std::string& folder) { entered.push_back(folder); };
    EXPECT_EQ(findFileInTrees({dir.file("home/.wine/drive_c"), dir.file("home")}, "Acad.exe", options), "");
    EXPECT_EQ(std::count(entered.begin(), entered.end(), dir.file("home/.wine/drive_c/x/y")), 1);
    EXPECT_EQ(entered.size(), 3u + 2u); // drive_c, x, y (z is a file); then home, .wine
}

TEST(FileSearch, AStopEndsTheWalkBetweenFolders)
{
    TempDir dir;
    for (const char* name : {"a/1/x", "b/2/x", "c/3/x", "d/4/Acad.exe"})
        touch(dir, name);
    std::stop_source stop;
    FileSearchOptions options;
    options.stop = stop.get_token();
    int entered = 0;
    options.onFolder = [&](const std::string&) {
        if (++entered == 3)
            stop.request_stop();
    };
    EXPECT_EQ(findFileInTree(dir.path(), "Acad.exe", options), "");
    EXPECT_EQ(entered, 3);

    // Stopped before it starts: nothing is entered at all.
    entered = 0;
    EXPECT_EQ(findFileInTrees({dir.path(), dir.path()}, "Acad.exe", options), "");
    EXPECT_EQ(entered, 0);
    EXPECT_EQ(findFileInTree(dir.path(), "Acad.exe"), dir.file("d/4/Acad.exe"));
}

} // namespace
} // namespace qv
