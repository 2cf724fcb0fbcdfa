// Adding media files through the open dialog, and playlist files: saved and loaded through
// their dialogs, read whatever their content, and what a refused write tells.
#include "playlist/mediafiles.h"
#include "playlist/playlistfiles.h"
#include "playlist/textfile.h"
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
    dialogs.filesToOpen = {{Path("b.wav"), dir.path() + "//tagged.mp3", Path("notes.txt")}};
    media.AddFilesDialog();
    media.AddFilesDialog(); // cancelled
    EXPECT_EQ(list.Names(),
              (QStringList{"opened.wav", "b.wav", "ABBA - Waterloo [Pop]", "notes.txt"}));
    EXPECT_EQ(list.Sources()[2], dir.path() + "//tagged.mp3");
    ExpectTexts(list, "Total: 4", "Pos: 4");
    ASSERT_EQ(dialogs.fileDialogs.size(), 2);
    EXPECT_EQ(dialogs.fileDialogs[0].kind + "|" + dialogs.fileDialogs[0].startDir, "open files|");

    const QStringList chosen{Path("TRACK01.CDA"), Path("a.mp3"), Path("Track02.cda"),
                             Path("bad.cda"), Path("c.mp3")};
    dialogs.filesToOpen = {chosen, chosen};
    list.ClearPlaylist();
    media.AddFilesDialog();
    EXPECT_EQ(list.Sources(), (QStringList{Path("a.mp3"), Path("c.mp3")}));
    EXPECT_TRUE(cdTracks.isEmpty());
    cdReady = true;
    media.AddFilesDialog(); // a failing track ends the dialog; what came before stays
    EXPECT_EQ(cdTracks, (QStringList{Path("TRACK01.CDA"), Path("Track02.cda")}));
    EXPECT_EQ(list.Sources(), (QStringList{Path("a.mp3"), Path("c.mp3"), Path("a.mp3")}));
    ExpectTexts(list, "Total: 3", "Pos: 3");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(FilesTest, FilesAndCdTracksSurviveSavingAndLoadingThroughTheDialogs)
{
    const QString saved = Path("PlayLists/list");
    dialogs.fileToSave = {saved, saved};
    files.SaveListDialog();
    ExpectOneMessage("No files in list - cannot write to file!");
    EXPECT_EQ(dialogs.activations, 1);
    EXPECT_FALSE(QFileInfo::exists(saved));

    const QString tagged = Path("Ünïcödé, folder/  leading/song.mp3");
    test::WriteTagged(tagged, "ABBA", "Waterloo", 13);
    const QStringList sources{Path("a.wav"), tagged, "C:\\Music\\b.mp2", "4"};
    test::Fill(list, sources);
    WriteBytes(saved, QByteArray(10000, 'o')); // a longer file is replaced whole
    files.SaveListDialog();
    files.SaveListDialog(); // cancelled
    EXPECT_EQ(ReadBytes(saved), sources.join("\r\n").toUtf8() + "\r\n");

    test::Fill(list, {"replaced"});
    dialogs.fileToOpen = {saved};
    files.OpenListDialog();
    files.OpenListDialog(); // cancelled
    EXPECT_EQ(list.Sources(), sources);
    EXPECT_EQ(list.Names(), (QStringList{"a.wav", "ABBA - Waterloo [Pop]", "b.mp2", "Track 05"}));
    ExpectTexts(list, "Total: 4", "Pos: 1");
    EXPECT_TRUE(dialogs.messages.isEmpty());

    ASSERT_EQ(dialogs.fileDialogs.size(), 5);
    for (const test::RecordedFileDialog& shown : dialogs.fileDialogs)
        EXPECT_EQ(shown.startDir, dir.path() + "/PlayLists");
}

TEST_F(FilesTest, ReadingTakesEveryLineEndKeepsWhatWasReadAndNeverWaitsOrRunsAway)
{
    Load("mixed.qlt", "a.mp3\rb.mp3\nc.mp3\r\n\r\n\n d.mp3 \r\n 7 \n\re.mp3");
    EXPECT_EQ(list.Sources(), (QStringList{"a.mp3", "b.mp3", "c.mp3", " d.mp3 ", " 7 ", "e.mp3"}));
    EXPECT_EQ(list.Names()[4], "Track 08");
    ExpectTexts(list, "Total: 6", "Pos: 1");

    Load("blank.qlt", "\r\n\r\n"); // no entries: an empty, consistent playlist
    EXPECT_EQ(list.Count(), 0);
    ExpectTexts(list, "", "");
    EXPECT_TRUE(dialogs.messages.isEmpty());

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

TEST_F(FilesTest, AListTheDiskRefusesTellsTheSystemsReasonAndTheOldFileStays)
{
    WriteBytes(Path("keep.qlt"), "old.mp3\r\n");
    test::Fill(list, QStringList(2000, "/music/a long folder name/track.mp3"));
    EXPECT_FALSE(
        test::WithFileSizeLimit(16 * 1024, [&] { return files.WriteList(Path("keep.qlt")); }));
    ExpectOneMessage("Error in WriteList\r\r27 - File too large");
    EXPECT_EQ(ReadBytes(Path("keep.qlt")), "old.mp3\r\n");
}

TEST(TextFile, LinesCrossingTheReadPiecesArriveWholeAndOnce)
{
    // Reads go in 256 KiB pieces: put a CR LF, a lone CR and a long line across the boundaries.
    QTemporaryDir dir;
    const qsizetype first = 256 * 1024 - 1;
    for (const QByteArray& ending : {QByteArray("\r\n"), QByteArray("\r")}) {
        WriteBytes(dir.filePath("t"),
                   QByteArray(first, 'a') + ending + "b\n" + QByteArray(600 * 1024, 'z') + "\r\nc");
        QList<qsizetype> sizes;
        const int error = ReadLines(dir.filePath("t"), 1 << 20, [&](QByteArrayView line) {
            sizes << line.size();
            return 0;
        });
        EXPECT_EQ(error, 0);
        EXPECT_EQ(sizes, (QList<qsizetype>{first, 1, 600 * 1024, 1})) << ending.size();
    }
}

} // namespace
} // namespace quillet
