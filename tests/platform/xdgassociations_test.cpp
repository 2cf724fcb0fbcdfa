// The user's default applications and desktop entries on real files in a private home (the
// only test of its process, so the environment it sets needs no restoring): where the base
// directories lie, and that a desktop id never names a path.
#include "platform/xdgassociations.h"
#include "tests/support/testsupport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;

TEST(XdgAssociations, FollowsTheBaseDirectoryRulesAndCreatesMissingFolders)
{
    QTemporaryDir dir;
    qputenv("HOME", QFile::encodeName(dir.filePath("home")));
    // Unset, empty or relative: the defaults under the home folder.
    for (const char* value : {"", "relative/config"}) {
        qputenv("XDG_CONFIG_HOME", value);
        qputenv("XDG_DATA_HOME", value);
        EXPECT_EQ(UserConfigHome(), dir.filePath("home/.config"));
        EXPECT_EQ(UserDataHome(), dir.filePath("home/.local/share"));
    }
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(WriteDefaultApplication("audio/mpeg", "a.desktop"));
    EXPECT_EQ(ReadFile(dir.filePath("home/.config/mimeapps.list")),
              "[Default Applications]\naudio/mpeg=a.desktop\n");

    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("deep/er/data")));
    EXPECT_FALSE(HasUserDesktopEntry("a.desktop"));
    ASSERT_TRUE(WriteUserDesktopEntry("a.desktop", "[Desktop Entry]\n"));
    EXPECT_TRUE(HasUserDesktopEntry("a.desktop"));
    EXPECT_EQ(ReadFile(dir.filePath("deep/er/data/applications/a.desktop")), "[Desktop Entry]\n");
    // A desktop id is a file name in the applications folder, never a path out of it.
    for (const char* id : {"", "..", "../escape.desktop", "sub/a.desktop"})
        EXPECT_FALSE(WriteUserDesktopEntry(id, "[Desktop Entry]\n")) << id;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("deep/er/data/escape.desktop")));
}

} // namespace
} // namespace quillet
