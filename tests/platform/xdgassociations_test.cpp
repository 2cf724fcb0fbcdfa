// The user's default applications and desktop entries on real files in private base
// directories: what a read takes from the list, where the base directories lie, and that
// what cannot or must not be written fails quietly.
#include "platform/xdgassociations.h"
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;

class XdgAssociations : public ::testing::Test {
protected:
    test::PrivateXdg m_xdg;
};

TEST_F(XdgAssociations, ReadsTheFirstIdOfTheDefaultsGroupOnly)
{
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "") << "no file";
    test::WriteFile(m_xdg.MimeApps(), "[Added Associations]\naudio/mp2=added.desktop;\n"
                                      "[Default Applications]\n"
                                      "audio/mpeg=;first.desktop;second.desktop;\n");
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "first.desktop");
    EXPECT_EQ(ReadDefaultApplication("audio/mp2"), "") << "only in another group";
}

TEST_F(XdgAssociations, FollowsTheBaseDirectoryRulesAndCreatesMissingFolders)
{
    // Unset, empty or relative: the defaults under the home folder.
    for (const char* value : {"", "relative/config"}) {
        test::PrivateXdg::Set("XDG_CONFIG_HOME", value);
        test::PrivateXdg::Set("XDG_DATA_HOME", value);
        EXPECT_EQ(UserConfigHome(), m_xdg.Path("home/.config"));
        EXPECT_EQ(UserDataHome(), m_xdg.Path("home/.local/share"));
    }
    qunsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(WriteDefaultApplication("audio/mpeg", "a.desktop"));
    EXPECT_EQ(ReadFile(m_xdg.Path("home/.config/mimeapps.list")),
              "[Default Applications]\naudio/mpeg=a.desktop\n");

    test::PrivateXdg::Set("XDG_DATA_HOME", m_xdg.Path("deep/er/data"));
    EXPECT_FALSE(HasUserDesktopEntry("a.desktop"));
    ASSERT_TRUE(WriteUserDesktopEntry("a.desktop", "[Desktop Entry]\n"));
    EXPECT_TRUE(HasUserDesktopEntry("a.desktop"));
    EXPECT_EQ(ReadFile(m_xdg.Path("deep/er/data/applications/a.desktop")), "[Desktop Entry]\n");
}

TEST_F(XdgAssociations, WhatCannotOrMustNotBeWrittenFailsQuietlyAndLeavesEverythingAsItWas)
{
    test::WriteFile(m_xdg.MimeApps(), "[Default Applications]\naudio/mpeg=old.desktop\n");
    EXPECT_FALSE(WriteDefaultApplication("audio/mpeg", "a.desktop;b.desktop"))
        << "one id, never a list";
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "old.desktop");
    // A folder in the list's place.
    QFile::remove(m_xdg.MimeApps());
    QDir().mkpath(m_xdg.MimeApps());
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "");
    EXPECT_FALSE(WriteDefaultApplication("audio/mpeg", "a.desktop"));
    EXPECT_TRUE(QFileInfo(m_xdg.MimeApps()).isDir());

    // A desktop id is a file name in the applications folder, never a path out of it.
    for (const char* id : {"", ".", "..", "../escape.desktop", "sub/a.desktop"})
        EXPECT_FALSE(WriteUserDesktopEntry(id, "[Desktop Entry]\n")) << id;
    EXPECT_FALSE(QFileInfo::exists(m_xdg.Path("data/escape.desktop")));
    EXPECT_FALSE(QFileInfo::exists(m_xdg.Path("data/applications/sub")));
}

// Bare where nothing needs quoting; a line break never breaks the entry's line. (The
// quoting of shell characters is proven by launching such a command in the start-up
// association tests.)
TEST(DesktopExecArgument, QuotesOnlyWhatNeedsQuotingAndEscapesForTheFile)
{
    const std::pair<QString, QString> cases[] = {
        {"/usr/lib/quillet-jukebox/quillet-jukebox", "/usr/lib/quillet-jukebox/quillet-jukebox"},
        {"/opt/100%/x", "/opt/100%%/x"},
        {"/line\nbreak", "\"/line\\nbreak\""},
        {"", "\"\""},
    };
    for (const auto& [argument, written] : cases)
        EXPECT_EQ(DesktopExecArgument(argument), written) << argument.toStdString();
}

} // namespace
} // namespace quillet
