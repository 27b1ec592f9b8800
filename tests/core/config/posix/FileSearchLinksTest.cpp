#include "config/FileSearch.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

TEST(FileSearchPosix, LinksToFoldersAreNotFollowedSoLoopsEnd)
{
    TempDir dir;
    fs::create_directories(dir.native("tree/a/b"));
    fs::create_directories(dir.native("elsewhere"));
    dir.write("elsewhere/Acad.exe", "");
    // A loop back to the top, a link to itself, and a way out of the tree.
    fs::create_directory_symlink(dir.native("tree"), dir.native("tree/a/b/up"));
    fs::create_directory_symlink(dir.native("tree/a/self"), dir.native("tree/a/self"));
    fs::create_directory_symlink(dir.native("elsewhere"), dir.native("tree/out"));

    std::multiset<std::string> entered;
    FileSearchOptions options;
    options.onFolder = [&](const std::string& folder) { entered.insert(folder); };
    EXPECT_EQ(findFileInTree(dir.file("tree"), "Acad.exe", options), "");
    EXPECT_EQ(entered, (std::multiset<std::string>{dir.file("tree"), dir.file("tree/a"), dir.file("tree/a/b")}));

    // A link to a file is the file; a start given as a link is followed.
    fs::create_symlink(dir.native("elsewhere/Acad.exe"), dir.native("tree/a/acad.exe"));
    EXPECT_EQ(findFileInTree(dir.file("tree"), "Acad.exe"), dir.file("tree/a/acad.exe"));
    EXPECT_EQ(findFileInTree(dir.file("tree/out"), "Acad.exe"), dir.file("tree/out/Acad.exe"));
}

TEST(FileSearchPosix, UnreadableFoldersAreSkipped)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    TempDir dir;
    fs::create_directories(dir.native("a/locked"));
    dir.write("a/locked/Acad.exe", "");
    fs::create_directories(dir.native("b"));
    dir.write("b/Acad.exe", "");
    fs::permissions(dir.native("a/locked"), fs::perms::none);
    EXPECT_EQ(findFileInTree(dir.path(), "Acad.exe"), dir.file("b/Acad.exe"));
    fs::permissions(dir.native("a/locked"), fs::perms::owner_all);
}

} // namespace
} // namespace qv
