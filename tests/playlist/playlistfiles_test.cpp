#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "tests/playlist/playlisttesting.h"
#include "tests/support/fakedialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

using fixtures::ReadBytes;
using fixtures::WriteBytes;

class PlaylistFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir(dir.path()).mkdir("PlayLists")); }

    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList FolderEntries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void ExpectOneMessage(const QString& text)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].title, "Error");
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
        dialogs.messages.clear();
    }

    QTemporaryDir dir;
    Playlist list;
    test::FakeDialogs dialogs;
    PlaylistFiles files{list, dialogs, dir.path() + "/"};
};

TEST_F(PlaylistFilesTest, SavingAnEmptyPlaylistIsRefusedAndWritesNothing)
{
    EXPECT_FALSE(files.WriteList(Path("empty.qlt")));
    ExpectOneMessage("No files in list - cannot write to file!");
    EXPECT_EQ(dialogs.activations, 1);
    EXPECT_FALSE(QFileInfo::exists(Path("empty.qlt")));
}

TEST_F(PlaylistFilesTest, FilesAndCdTracksSurviveSavingAndLoading)
{
    const QString tagged = Path("Ünïcödé, folder/  leading/song.mp3");
    QDir().mkpath(QFileInfo(tagged).path());
    test::WriteTagged(tagged, "ABBA", "Waterloo", 13);
    const QStringList sources{Path("a.wav"), tagged, "C:\\Music\\b.mp2", "4"};
    {
        Playlist::Batch batch(list);
        for (const QString& source : sources)
            ASSERT_TRUE(list.Append(source, "any", true));
    }
    ASSERT_TRUE(files.WriteList(Path("list.qlt")));
    EXPECT_EQ(ReadBytes(Path("list.qlt")), sources.join("\r\n").toUtf8() + "\r\n");

    test::Fill(list, {"replaced"});
    files.LoadPlaylistFile(Path("list.qlt"));
    EXPECT_EQ(list.Sources(), sources);
    EXPECT_EQ(list.Names(), (QStringList{"a.wav", "ABBA - Waterloo [Pop]", "b.mp2", "Track 05"}));
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(list.TextPosition(), "Pos: 1");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 4");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(PlaylistFilesTest, LineEndsOfEveryKindAndEmptyLines)
{
    WriteBytes(Path("mixed.qlt"), "a.mp3\rb.mp3\nc.mp3\r\n\r\n\n d.mp3 \r\n 7 \n\re.mp3");
    files.LoadPlaylistFile(Path("mixed.qlt"));
    EXPECT_EQ(list.Sources(), (QStringList{"a.mp3", "b.mp3", "c.mp3", " d.mp3 ", " 7 ", "e.mp3"}));
    EXPECT_EQ(list.Names()[4], "Track 08");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 6");

    // A file that yields no entries leaves an empty, consistent playlist.
    WriteBytes(Path("blank.qlt"), "\r\n\r\n");
    files.LoadPlaylistFile(Path("blank.qlt"));
    WriteBytes(Path("empty.qlt"), "");
    files.LoadPlaylistFile(Path("empty.qlt"));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.TextTotalFiles(), "");
    EXPECT_EQ(list.TextPosition(), "");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(PlaylistFilesTest, FilesThatCannotBeReadGiveTheReadListMessage)
{
    test::Fill(list, {"old"});
    files.LoadPlaylistFile(Path("missing.qlt"));
    ExpectOneMessage("Error in ReadList\r\r2 - No such file or directory");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.TextTotalFiles(), "");
    EXPECT_EQ(list.TextPosition(), "");

    files.LoadPlaylistFile(Path("PlayLists"));
    ExpectOneMessage("Error in ReadList\r\r21 - Is a directory");

    // Reading a FIFO would wait for a writer for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.qlt")).constData(), 0600), 0);
    files.LoadPlaylistFile(Path("pipe.qlt"));
    ExpectOneMessage("Error in ReadList\r\r22 - Invalid argument");

    WriteBytes(Path("locked.qlt"), "a.mp3\r\n");
    ASSERT_TRUE(QFile::setPermissions(Path("locked.qlt"), {}));
    files.LoadPlaylistFile(Path("locked.qlt"));
    if (::geteuid() == 0) { // the superuser reads it all the same
        EXPECT_EQ(list.Sources(), QStringList{"a.mp3"});
    } else {
        ExpectOneMessage("Error in ReadList\r\r13 - Permission denied");
        EXPECT_EQ(list.Count(), 0);
    }
}

TEST_F(PlaylistFilesTest, OddContentNeverCrashesAndKeepsWhatWasRead)
{
    // Binary garbage, NULs included: whatever lines it holds become entries.
    fixtures::WriteRandomBytes(Path("garbage.qlt"), 1 << 20);
    files.LoadPlaylistFile(Path("garbage.qlt"));
    EXPECT_GT(list.Count(), 0);
    EXPECT_EQ(list.Names().size(), list.Count());
    dialogs.messages.clear();

    // A NUL inside a line stays in the entry (and is written back unchanged).
    const QByteArray withNul("a\0b.mp3\r\n", 9);
    WriteBytes(Path("nul.qlt"), withNul);
    files.LoadPlaylistFile(Path("nul.qlt"));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Sources()[0], QString::fromUtf8(withNul.chopped(2)));
    EXPECT_EQ(list.Names()[0], "a");
    ASSERT_TRUE(files.WriteList(Path("nul-again.qlt")));
    EXPECT_EQ(ReadBytes(Path("nul-again.qlt")), withNul);

    // A 50 MB line cannot be a path: reading stops there, the entries before it stay.
    QByteArray huge = "first.mp3\r\n";
    huge += QByteArray(50 << 20, 'x') + "\r\nlast.mp3\r\n";
    WriteBytes(Path("huge.qlt"), huge);
    files.LoadPlaylistFile(Path("huge.qlt"));
    ExpectOneMessage("Error in ReadList\r\r36 - File name too long");
    EXPECT_EQ(list.Sources(), QStringList{"first.mp3"});
    EXPECT_EQ(list.TextTotalFiles(), "Total: 1");
}

TEST_F(PlaylistFilesTest, MoreLinesThanAPlaylistHoldsStopAtTheLimit)
{
    QByteArray lines;
    for (int i = 0; i < Playlist::MaxEntries + 10; ++i)
        lines += QByteArray::number(i) + "\r\n";
    WriteBytes(Path("long.qlt"), lines);
    files.LoadPlaylistFile(Path("long.qlt"));
    ExpectOneMessage("Error in ReadList\r\r27 - File too large");
    EXPECT_EQ(list.Count(), Playlist::MaxEntries);
    EXPECT_EQ(list.Names().back(), "Track 32767");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 32767");
    EXPECT_EQ(list.TextPosition(), "Pos: 1");
}

TEST_F(PlaylistFilesTest, AFullDiskKeepsTheOldFileWhole)
{
    const QByteArray old = "old.mp3\r\n";
    WriteBytes(Path("keep.qlt"), old);
    QStringList sources;
    for (int i = 0; i < 2000; ++i)
        sources << QString("/music/a long folder name/track %1.mp3").arg(i);
    test::Fill(list, sources);
    const QStringList before = FolderEntries();

    // The system refuses to let this process write files beyond 16 KiB.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = files.WriteList(Path("keep.qlt"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    ExpectOneMessage("Error in WriteList\r\r27 - File too large");
    EXPECT_EQ(ReadBytes(Path("keep.qlt")), old);
    EXPECT_EQ(FolderEntries(), before); // no temporary file left behind
    EXPECT_EQ(list.Count(), 2000);
}

TEST_F(PlaylistFilesTest, WritingFailuresNameTheSystemError)
{
    test::Fill(list, {"a.mp3"});
    EXPECT_FALSE(files.WriteList(Path("no folder/list.qlt")));
    ExpectOneMessage("Error in WriteList\r\r2 - No such file or directory");
    EXPECT_FALSE(files.WriteList(Path("PlayLists")));
    ExpectOneMessage("Error in WriteList\r\r21 - Is a directory");
    EXPECT_TRUE(QDir(Path("PlayLists")).exists());

    if (::geteuid() != 0) {  // permissions do not stop the superuser
        WriteBytes(Path("protected.qlt"), "old\r\n");
        ASSERT_TRUE(QFile::setPermissions(Path("protected.qlt"), QFile::ReadOwner));
        EXPECT_FALSE(files.WriteList(Path("protected.qlt")));
        ExpectOneMessage("Error in WriteList\r\r13 - Permission denied");
        EXPECT_EQ(ReadBytes(Path("protected.qlt")), "old\r\n");

        ASSERT_TRUE(QFile::setPermissions(Path("PlayLists"), QFile::ReadOwner | QFile::ExeOwner));
        EXPECT_FALSE(files.WriteList(Path("PlayLists/list.qlt")));
        ExpectOneMessage("Error in WriteList\r\r13 - Permission denied");
        ASSERT_TRUE(QFile::setPermissions(Path("PlayLists"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
}

TEST_F(PlaylistFilesTest, ReplacingAFileKeepsItsLinkAndPermissions)
{
    WriteBytes(Path("real.qlt"), "old\r\n");
    ASSERT_TRUE(QFile::setPermissions(Path("real.qlt"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    ASSERT_TRUE(QFile::link(Path("real.qlt"), Path("link.qlt")));
    test::Fill(list, {"new.mp3"});
    ASSERT_TRUE(files.WriteList(Path("link.qlt")));
    EXPECT_TRUE(QFileInfo(Path("link.qlt")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("real.qlt")), "new.mp3\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("real.qlt")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
}

TEST_F(PlaylistFilesTest, DialogsUseThePlaylistFolderAndCancelChangesNothing)
{
    test::Fill(list, {"a.mp3", "b.mp3"});
    dialogs.fileToSave = {Path("PlayLists/noextension")};
    files.SaveListDialog();
    EXPECT_EQ(ReadBytes(Path("PlayLists/noextension")), "a.mp3\r\nb.mp3\r\n");
    // Cancelled dialogs right after a save and a load.
    files.SaveListDialog();
    test::Fill(list, {"c.mp3"});
    dialogs.fileToSave = {Path("PlayLists/noextension")};
    files.SaveListDialog(); // replaced without a question
    EXPECT_EQ(ReadBytes(Path("PlayLists/noextension")), "a.mp3\r\nb.mp3\r\nc.mp3\r\n");

    dialogs.fileToOpen = {Path("PlayLists/noextension")};
    files.OpenListDialog();
    EXPECT_EQ(list.Count(), 3);
    files.OpenListDialog();
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.TextTotalFiles(), "Total: 3");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    ASSERT_EQ(dialogs.fileDialogs.size(), 5);
    for (const test::RecordedFileDialog& shown : dialogs.fileDialogs) {
        EXPECT_EQ(shown.startDir, dir.path() + "/PlayLists");
        ASSERT_EQ(shown.filters.size(), 1);
        EXPECT_EQ(shown.filters[0].description, "Quillet Playlist(*.qlt)");
        EXPECT_EQ(shown.filters[0].patterns, QStringList{"*.qlt"});
    }
    EXPECT_EQ(dialogs.fileDialogs[0].kind, "save file");
    EXPECT_EQ(dialogs.fileDialogs[3].kind, "open file");
}

} // namespace
} // namespace quillet
