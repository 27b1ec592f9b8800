#include "config/InstallLayout.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

using namespace qv;

TEST(InstallLayout, FindsTheShippedFilesBesideTheProgramOrInTheInstalledTree)
{
    // name, files relative to the root (the program folder is bin/), the folder found, whether installed
    const std::tuple<const char*, std::vector<std::string>, const char*, bool> cases[] = {
        {"build or portable folder", {"bin/defaults/Batch_Cad.dat", "bin/help/Quorvel.html"}, "bin", false},
        {"installed tree", {"share/quorvel/defaults/Batch_Cad.dat"}, "share/quorvel", true},
        {"installed tree with only the help page", {"share/quorvel/help/Quorvel.html"}, "share/quorvel", true},
        // A portable copy unpacked inside an installed tree keeps to its own files.
        {"both", {"bin/defaults/Batch_Cad.dat", "share/quorvel/defaults/Batch_Cad.dat"}, "bin", false},
        {"neither", {"share/other/defaults/Batch_Cad.dat"}, "bin", false},
    };
    for (const auto& [name, files, expectedFolder, installed] : cases) {
        const TempDir root;
        std::filesystem::create_directories(root.native("bin"));
        for (const auto& file : files) {
            std::filesystem::create_directories(root.native(file).parent_path());
            root.write(file, "");
        }
        for (const std::string& program : {root.file("bin"), root.file("bin") + "/"}) {
            const InstallLayout layout = findInstallLayout(program);
            EXPECT_EQ(layout.shippedFolder, root.file(expectedFolder)) << name << " from " << program;
            EXPECT_EQ(layout.installed, installed) << name << " from " << program;
        }
    }
}
