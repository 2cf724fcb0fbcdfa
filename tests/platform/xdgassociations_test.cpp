// The user's default applications and desktop entries on real files in private base
// directories: what a read finds in awkward files, that a write changes one line and keeps
// the rest byte for byte, and that folders that cannot be written fail quietly.
#include "platform/xdgassociations.h"
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;
using test::WriteFile;

class XdgAssociations : public ::testing::Test {
protected:
    test::PrivateXdg m_xdg;
};

TEST_F(XdgAssociations, ReadsTheFirstIdOfTheDefaultsGroupOnly)
{
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "") << "no file";
    WriteFile(m_xdg.MimeApps(), "# mine\n"
                                "[Added Associations]\n"
                                "audio/mpeg=added.desktop;\n"
                                "audio/mp2=added.desktop;\n"
                                "[Default Applications]\n"
                                "audio/mpeg=;first.desktop;second.desktop;\n"
                                "audio/x-wav = spaced.desktop\n"
                                "text/html=\n"
                                "[Removed Associations]\n"
                                "audio/x-mp1=removed.desktop\n");
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "first.desktop");
    EXPECT_EQ(ReadDefaultApplication("audio/x-wav"), "spaced.desktop");
    EXPECT_EQ(ReadDefaultApplication("text/html"), "");
    EXPECT_EQ(ReadDefaultApplication("audio/mp2"), "") << "only in another group";
    EXPECT_EQ(ReadDefaultApplication("audio/x-mp1"), "") << "only in another group";

    QFile::remove(m_xdg.MimeApps());
    QDir().mkpath(m_xdg.MimeApps());
    EXPECT_EQ(ReadDefaultApplication("audio/mpeg"), "") << "a folder in the file's place";
}

TEST_F(XdgAssociations, AWriteChangesOneLineAndKeepsEveryOtherByte)
{
    const QByteArray head = "# kept as it is\r\n"
                            "[Added Associations]\r\n"
                            "audio/mpeg=other.desktop;\r\n"
                            "\r\n"
                            "[Default Applications]\r\n"
                            "text/html=browser.desktop\r\n";
    const QByteArray tail = "  ; a comment with = in it\r\n"
                            "\r\n"
                            "[Removed Associations]\r\n"
                            "image/png=viewer.desktop\r\n";
    WriteFile(m_xdg.MimeApps(), head + "audio/mpeg=old.desktop;fallback.desktop;\r\n" + tail);

    ASSERT_TRUE(WriteDefaultApplication("audio/mpeg", "new.desktop"));
    ASSERT_TRUE(WriteDefaultApplication("x-content/audio-cdda", "cd.desktop"));
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()),
              head + "audio/mpeg=new.desktop\r\n  ; a comment with = in it\r\n"
                     "x-content/audio-cdda=cd.desktop\r\n\r\n"
                     "[Removed Associations]\r\nimage/png=viewer.desktop\r\n");
    EXPECT_EQ(ReadDefaultApplication("x-content/audio-cdda"), "cd.desktop");
    EXPECT_EQ(QDir(m_xdg.Config()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"mimeapps.list"})
        << "no temporary left behind";

    // A file without the group gets it at its end.
    WriteFile(m_xdg.MimeApps(), "[Added Associations]\naudio/mpeg=other.desktop;");
    ASSERT_TRUE(WriteDefaultApplication("audio/mpeg", "new.desktop"));
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()), "[Added Associations]\naudio/mpeg=other.desktop;\n"
                                          "[Default Applications]\naudio/mpeg=new.desktop\n");
    EXPECT_FALSE(WriteDefaultApplication("audio/mpeg", "a.desktop;b.desktop"))
        << "one id, never a list";
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

TEST_F(XdgAssociations, WhatCannotBeWrittenFailsQuietlyAndLeavesEverythingAsItWas)
{
    // A folder in the list's place.
    QDir().mkpath(m_xdg.MimeApps());
    EXPECT_FALSE(WriteDefaultApplication("audio/mpeg", "a.desktop"));
    EXPECT_TRUE(QFileInfo(m_xdg.MimeApps()).isDir());

    // A desktop id is a file name in the applications folder, never a path out of it.
    for (const char* id : {"", ".", "..", "../escape.desktop", "sub/a.desktop"})
        EXPECT_FALSE(WriteUserDesktopEntry(id, "[Desktop Entry]\n")) << id;
    EXPECT_FALSE(QFileInfo::exists(m_xdg.Path("data/escape.desktop")));
    EXPECT_FALSE(QFileInfo::exists(m_xdg.Path("data/applications/sub")));
}

TEST(DesktopExecArgument, QuotesOnlyWhatNeedsQuotingAndEscapesForTheFile)
{
    const std::pair<QString, QString> cases[] = {
        {"/usr/lib/quillet-jukebox/quillet-jukebox", "/usr/lib/quillet-jukebox/quillet-jukebox"},
        {"/home/Ann/Quillet/quillet-jukebox", "/home/Ann/Quillet/quillet-jukebox"},
        {"/opt/My Music/quillet-jukebox", "\"/opt/My Music/quillet-jukebox\""},
        {"/opt/100%/x", "/opt/100%%/x"},
        {"/a\"b/$HOME/`c`/d\\e", "\"/a\\\\\"b/\\\\$HOME/\\\\`c\\\\`/d\\\\\\\\e\""},
        {"/it's;(x)", "\"/it's;(x)\""},
        {"/line\nbreak", "\"/line\\nbreak\""},
        {"", "\"\""},
    };
    for (const auto& [argument, written] : cases)
        EXPECT_EQ(DesktopExecArgument(argument), written) << argument.toStdString();
}

} // namespace
} // namespace quillet
