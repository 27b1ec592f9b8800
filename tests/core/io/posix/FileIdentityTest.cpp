// A saved settings file stays the same file: links, owner, group and mode survive, and a file that may be
// written in a folder that may not is still saved.
#include "SafeWrite.h"
#include "config/SettingsFile.h"
#include "io/WriteAhead.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534; // nobody
constexpr gid_t kOtherGroup = 65534;

struct stat infoOf(const std::string& path)
{
    struct stat info{};
    ::stat(path.c_str(), &info);
    return info;
}

void own(const std::string& path, uid_t user, gid_t group, mode_t mode)
{
    ASSERT_EQ(::chown(path.c_str(), user, group), 0);
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

// Runs the save as another user when this process may become one (the superuser), so that permissions
// bind; otherwise as this user. True when the save succeeded.
bool saveAsOtherUser(const std::function<bool()>& save)
{
    if (::geteuid() != 0)
        return save();
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {kOtherGroup};
        if (::setgroups(1, groups) != 0 || ::setgid(kOtherGroup) != 0 || ::setuid(kOtherUser) != 0)
            ::_exit(2);
        ::_exit(save() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class FileIdentity : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::installSafeWrites();
        fs::create_directories(m_dir.native("private"));
        setenv("XDG_CONFIG_HOME", m_dir.file("private").c_str(), 1);
    }
    bool save(const std::string& name) const { return writeIniValue(m_dir.file(name), "S", "k", "new").ok(); }
    std::string value(const std::string& name) const { return readIniValue(m_dir.file(name), "S", "k"); }

    TempDir m_dir;
};

TEST_F(FileIdentity, LinksAreWrittenThrough)
{
    fs::create_directories(m_dir.native("real"));
    m_dir.write("real/Shared.ini", "[S]\r\nk=old\r\n");
    fs::create_symlink("real/Shared.ini", m_dir.native("Quorvel.ini"));
    fs::create_symlink("real/Missing.ini", m_dir.native("Dangling.ini"));
    m_dir.write("a.ini", "[S]\r\nk=old\r\n");
    fs::create_hard_link(m_dir.native("a.ini"), m_dir.native("real/b.ini"));

    for (const char* name : {"Quorvel.ini", "Dangling.ini", "a.ini"})
        ASSERT_TRUE(save(name)) << name;
    EXPECT_TRUE(fs::is_symlink(m_dir.native("Quorvel.ini")));
    EXPECT_EQ(value("real/Shared.ini"), "new");
    EXPECT_TRUE(fs::is_symlink(m_dir.native("Dangling.ini")));
    EXPECT_EQ(value("real/Missing.ini"), "new");
    EXPECT_EQ(fs::hard_link_count(m_dir.native("a.ini")), 2u);
    EXPECT_EQ(value("real/b.ini"), "new");
    EXPECT_EQ(infoOf(m_dir.file("a.ini")).st_ino, infoOf(m_dir.file("real/b.ini")).st_ino);
    // Nothing but the files themselves is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.native("real")), {}), 3);
}

TEST_F(FileIdentity, ModeOwnerAndGroupSurvive)
{
    m_dir.write("Private.ini", "[S]\r\nk=old\r\n");
    ::chmod(m_dir.file("Private.ini").c_str(), 0640);
    ASSERT_TRUE(save("Private.ini"));
    EXPECT_EQ(infoOf(m_dir.file("Private.ini")).st_mode & 07777, 0640u);

    if (::geteuid() != 0)
        GTEST_SKIP() << "a file of another owner needs the superuser to set up";
    // A group-shared file of another user, in a folder the group may write: a new file would be ours.
    fs::create_directories(m_dir.native("shared"));
    m_dir.write("shared/Quorvel.ini", "[S]\r\nk=old\r\n");
    own(m_dir.file("shared"), 0, kOtherGroup, 0775);
    own(m_dir.file("shared/Quorvel.ini"), 0, kOtherGroup, 0664);
    own(m_dir.file("private"), kOtherUser, kOtherGroup, 0755);
    const ino_t inode = infoOf(m_dir.file("shared/Quorvel.ini")).st_ino;

    ASSERT_TRUE(saveAsOtherUser([&] { return save("shared/Quorvel.ini"); }));
    const struct stat after = infoOf(m_dir.file("shared/Quorvel.ini"));
    EXPECT_EQ(value("shared/Quorvel.ini"), "new");
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_gid, kOtherGroup);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(after.st_ino, inode);
}

TEST_F(FileIdentity, AWritableFileInAReadOnlyFolderIsSaved)
{
    fs::create_directories(m_dir.native("locked"));
    m_dir.write("locked/Quorvel.ini", "[S]\r\nk=old\r\n");
    const uid_t user = ::geteuid() == 0 ? kOtherUser : ::geteuid();
    const gid_t group = ::geteuid() == 0 ? kOtherGroup : ::getegid();
    own(m_dir.file("locked/Quorvel.ini"), user, group, 0644);
    own(m_dir.file("private"), user, group, 0755);
    own(m_dir.file("locked"), user, group, 0555);

    EXPECT_TRUE(saveAsOtherUser([&] { return save("locked/Quorvel.ini"); }));
    EXPECT_EQ(value("locked/Quorvel.ini"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.native("locked")), {}), 1);
    // The write-ahead copy went to the private folder and is gone again.
    EXPECT_EQ(std::count_if(fs::recursive_directory_iterator(m_dir.native("private")), {},
                            [](const fs::directory_entry& entry) { return entry.is_regular_file(); }),
              0);
}

} // namespace
} // namespace qv
