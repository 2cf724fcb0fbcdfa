// Adding media files through the open dialog, and playlist files: saved and loaded through
// their dialogs, read whatever their content, and what a refused write tells.
#include "playlist/mediafiles.h"
#include "playlist/playlistfiles.h"
#include "tests/playlist/playlisttesting.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/fullfilesystem.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

using fixtures::ReadBytes;
using fixtures::WriteBytes;
using test::ExpectTexts;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir(dir.path()).mkdir("PlayLists")); }

    QString Path(const QString& name) const { return dir.filePath(name); }
    void Load(const QString& name, const QByteArray& bytes)
    {
        WriteBytes(Path(name), bytes);
        files.LoadPlaylistFile(Path(name));
    }
    void ExpectOneMessage(const QString& text)
    {
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text + "|" + dialogs.messages[0].title, text + "|Error");
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
        dialogs.messages.clear();
    }

    QTemporaryDir dir;
    Playlist list;
    test::FakeDialogs dialogs;
    bool cdReady = false;
    QStringList cdTracks;
    MediaFiles media{list, dialogs, [this] { return cdReady; },
                     [this](const QString& path) {
                         if (path.contains("bad"))
                             throw std::runtime_error("no such track");
                         cdTracks << path;
                     }};
    PlaylistFiles files{list, dialogs, dir.path() + "/"};
};

TEST_F(FilesTest, ChosenFilesFollowAnOpenedListAndCdTracksGoToTheReaderOnlyWhileItIsReady)
{
    Load("list.qlt", "opened.wav\r\n");
    test::WriteTagged(Path("tagged.mp3"), "ABBA", "Waterloo", 13);
    const QStringList chosen{Path("tagged.mp3"), Path("Track01.CDA"), Path("bad.cda"),
                             Path("c.mp3")};
    dialogs.filesToOpen = {chosen, chosen};
    media.AddFilesDialog();
    EXPECT_EQ(list.Names(), (QStringList{"opened.wav", "ABBA - Waterloo [Pop]", "c.mp3"}));
    ExpectTexts(list, "Total: 3", "Pos: 3");
    cdReady = true;
    media.AddFilesDialog(); // a failing track ends the dialog; what came before stays
    EXPECT_EQ(cdTracks, QStringList{Path("Track01.CDA")});
    EXPECT_EQ(list.Count(), 4);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FilesTest, FilesAndCdTracksSurviveSavingAndLoadingThroughTheDialogs)
{
    const QString saved = Path("PlayLists/list");
    const QString tagged = Path("Ünïcödé, folder/  leading/song.mp3");
    test::WriteTagged(tagged, "ABBA", "Waterloo", 13);
    const QStringList sources{Path("a.wav"), tagged, "C:\\Music\\b.mp2", "4"};
    test::Fill(list, sources);
    WriteBytes(saved, QByteArray(10000, 'o')); // a longer file is replaced whole
    dialogs.fileToSave = {saved};
    files.SaveListDialog();
    EXPECT_EQ(ReadBytes(saved), sources.join("\r\n").toUtf8() + "\r\n");

    test::Fill(list, {"replaced"});
    dialogs.fileToOpen = {saved};
    files.OpenListDialog();
    EXPECT_EQ(list.Sources(), sources);
    EXPECT_EQ(list.Names(), (QStringList{"a.wav", "ABBA - Waterloo [Pop]", "b.mp2", "Track 05"}));
    ExpectTexts(list, "Total: 4", "Pos: 1");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.fileDialogFolders.back(), dir.path() + "/PlayLists");
}

TEST_F(FilesTest, ReadingTakesEveryLineEndKeepsWhatWasReadAndNeverWaitsOrRunsAway)
{
    Load("mixed.qlt", "a.mp3\rb.mp3\nc.mp3\r\n\r\n\n d.mp3 \r\n 7 \n\re.mp3");
    EXPECT_EQ(list.Sources(), (QStringList{"a.mp3", "b.mp3", "c.mp3", " d.mp3 ", " 7 ", "e.mp3"}));
    EXPECT_EQ(list.Names()[4], "Track 08");
    ExpectTexts(list, "Total: 6", "Pos: 1");

    test::Fill(list, {"old"});
    files.LoadPlaylistFile(Path("missing.qlt"));
    ExpectOneMessage("Error in ReadList\r\r2 - No such file or directory");
    EXPECT_EQ(list.Count(), 0);
    ExpectTexts(list, "", "");

    // A NUL inside a line, and names that are not UTF-8, stay in the entry as they were and
    // are written back unchanged; the names show as well as they can.
    const QByteArray kept("a\0b.mp3\r\nlatin1-\xe9.mp3\r\n\xff\xc3.wav\r\n", 31);
    Load("kept.qlt", kept);
    EXPECT_EQ(list.Names(), (QStringList{"a", "latin1-\u00e9.mp3", "\u00ff\u00c3.wav"}));
    ASSERT_TRUE(files.WriteList(Path("kept-again.qlt")));
    EXPECT_EQ(ReadBytes(Path("kept-again.qlt")), kept);
    // A write the disk refuses tells the system's reason; the old file stays (the writer's).
    EXPECT_FALSE(test::WithFileSizeLimit(16, [&] { return files.WriteList(Path("kept.qlt")); }));
    ExpectOneMessage("Error in WriteList\r\r27 - File too large");

    // A 50 MB line cannot be a path: reading stops there, the entries before it stay.
    Load("huge.qlt", "first.mp3\r\n" + QByteArray(50 << 20, 'x') + "\r\nlast.mp3\r\n");
    ExpectOneMessage("Error in ReadList\r\r36 - File name too long");
    EXPECT_EQ(list.Sources(), QStringList{"first.mp3"});
    ExpectTexts(list, "Total: 1", "Pos: 1");

    QByteArray lines;
    for (int i = 0; i < Playlist::MaxEntries + 10; ++i)
        lines += QByteArray::number(i) + "\r\n";
    Load("long.qlt", lines);
    ExpectOneMessage("Error in ReadList\r\r27 - File too large");
    EXPECT_EQ(list.Count(), Playlist::MaxEntries);
    EXPECT_EQ(list.Names().back(), "Track 32767");
    ExpectTexts(list, "Total: 32767", "Pos: 1");
}

} // namespace
} // namespace quillet
