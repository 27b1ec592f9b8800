#include "config/InstallLayout.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using namespace qv;

namespace {

// Puts empty files at the given paths (relative to the root), with their folders.
void Populate(const TempDir& root, const std::vector<std::string>& files)
{
    for (const auto& name : files) {
        const std::filesystem::path path = std::filesystem::path(root.path()) / name;
        std::filesystem::create_directories(path.parent_path());
        root.write(name, "");
    }
}

} // namespace

TEST(InstallLayout, FindsTheShippedFilesBesideTheProgramOrInTheInstalledTree)
{
    const struct
    {
        const char* name;
        std::vector<std::string> files;
        const char* expectedFolder; // relative to the root
        bool installed;
    } cases[] = {
        {"build or portable folder",
         {"bin/quorvel", "bin/defaults/Batch_Cad.dat", "bin/help/Quorvel.html"},
         "bin",
         false},
        {"installed tree", {"bin/quorvel", "share/quorvel/defaults/Batch_Cad.dat"}, "share/quorvel", true},
        {"installed tree with only the help page",
         {"bin/quorvel", "share/quorvel/help/Quorvel.html"},
         "share/quorvel",
         true},
        // A portable copy unpacked inside an installed tree keeps to its own files.
        {"both", {"bin/defaults/Batch_Cad.dat", "share/quorvel/defaults/Batch_Cad.dat"}, "bin", false},
        {"neither", {"bin/quorvel", "share/other/defaults/Batch_Cad.dat"}, "bin", false},
    };
    for (const auto& c : cases) {
        const TempDir root;
        Populate(root, c.files);
        const InstallLayout layout = FindInstallLayout(root.file("bin"));
        EXPECT_EQ(layout.shippedFolder, root.file(c.expectedFolder)) << c.name;
        EXPECT_EQ(layout.installed, c.installed) << c.name;
    }
}

TEST(InstallLayout, TheInstalledTreeIsFoundFromAProgramFolderWithATrailingSeparator)
{
    const TempDir root;
    Populate(root, {"bin/quorvel", "share/quorvel/defaults/Batch_Cad.dat"});
    const InstallLayout layout = FindInstallLayout(root.file("bin") + "/");
    EXPECT_EQ(layout.shippedFolder, root.file("share/quorvel"));
    EXPECT_TRUE(layout.installed);
}
