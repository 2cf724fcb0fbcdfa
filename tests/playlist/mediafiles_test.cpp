#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "tests/playlist/playlisttesting.h"
#include "tests/support/fakedialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace quillet {
namespace {

class MediaFilesTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    Playlist list;
    test::FakeDialogs dialogs;
    bool cdReady = false;
    QStringList cdTracks;
    MediaFiles files{list, dialogs, [this] { return cdReady; },
                     [this](const QString& path) {
                         if (path.contains("bad"))
                             throw std::runtime_error("no such track");
                         cdTracks << path;
                     }};
};

TEST_F(MediaFilesTest, AddingAFileKeepsItsPathAndSelectsIt)
{
    const QString tagged = Path("tagged.mp3");
    test::WriteTagged(tagged, "ABBA", "Waterloo", 13);
    files.AddMediaFile(Path("first.wav"));
    files.AddMediaFile(dir.path() + "//tagged.mp3");
    EXPECT_EQ(list.Sources(), (QStringList{Path("first.wav"), dir.path() + "//tagged.mp3"}));
    EXPECT_EQ(list.Names(), (QStringList{"first.wav", "ABBA - Waterloo [Pop]"}));
    EXPECT_EQ(list.SelectedIndex(), 1);
    EXPECT_EQ(list.TextPosition(), "Pos: 2");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 2");
}

TEST_F(MediaFilesTest, TheDialogAddsEveryChosenFileInItsOrder)
{
    dialogs.filesToOpen = {{Path("a.mp3"), Path("b.wav"), Path("c.mp2")},
                           {Path("d.mp1"), Path("notes.txt")}};
    files.AddFilesDialog();
    EXPECT_EQ(list.Names(), (QStringList{"a.mp3", "b.wav", "c.mp2"}));
    EXPECT_EQ(list.SelectedSource(), Path("c.mp2"));
    EXPECT_EQ(list.TextTotalFiles(), "Total: 3");
    // The second press appends: nothing is cleared, and any name counts as a media file.
    files.AddFilesDialog();
    EXPECT_EQ(list.Names(), (QStringList{"a.mp3", "b.wav", "c.mp2", "d.mp1", "notes.txt"}));
    EXPECT_EQ(list.TextPosition(), "Pos: 5");
    EXPECT_EQ(list.TextTotalFiles(), "Total: 5");

    ASSERT_EQ(dialogs.fileDialogs.size(), 2);
    const test::RecordedFileDialog& shown = dialogs.fileDialogs[0];
    EXPECT_EQ(shown.kind, "open files");
    EXPECT_EQ(shown.startDir, "");
    ASSERT_EQ(shown.filters.size(), 4);
    EXPECT_EQ(shown.filters[0].description, "Media files (all types)");
    EXPECT_EQ(shown.filters[0].patterns,
              (QStringList{"*.mp1", "*.mp2", "*.mp3", "*.wav", "*.cda"}));
    EXPECT_EQ(shown.filters[1].description, "MPEG Audio Files (*.mp1;*.mp2;*.mp3)");
    EXPECT_EQ(shown.filters[1].patterns, (QStringList{"*.mp1", "*.mp2", "*.mp3"}));
    EXPECT_EQ(shown.filters[2].description, "Microsoft Waveform Audio File (*.wav)");
    EXPECT_EQ(shown.filters[2].patterns, QStringList{"*.wav"});
    EXPECT_EQ(shown.filters[3].description, "CD DA Audio Tracks (*.cda)");
    EXPECT_EQ(shown.filters[3].patterns, QStringList{"*.cda"});
}

TEST_F(MediaFilesTest, CancelChangesNothing)
{
    test::Fill(list, {"a"});
    files.AddFilesDialog();
    EXPECT_EQ(list.Sources(), QStringList{"a"});
    EXPECT_EQ(list.TextTotalFiles(), "Total: 1");
    EXPECT_EQ(list.TextPosition(), "Pos: 1");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MediaFilesTest, CdTrackFilesGoToTheCdReaderOnlyWhileItIsReady)
{
    const QStringList chosen{Path("TRACK01.CDA"), Path("a.mp3"), Path("Track02.cda")};
    dialogs.filesToOpen = {chosen, chosen};
    files.AddFilesDialog();
    EXPECT_EQ(list.Sources(), QStringList{Path("a.mp3")});
    EXPECT_TRUE(cdTracks.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    cdReady = true;
    files.AddFilesDialog();
    EXPECT_EQ(cdTracks, (QStringList{Path("TRACK01.CDA"), Path("Track02.cda")}));
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(MediaFilesTest, AFailingCdTrackEndsTheDialogAndKeepsWhatWasAdded)
{
    cdReady = true;
    dialogs.filesToOpen = {{Path("a.mp3"), Path("bad.cda"), Path("c.mp3")}};
    files.AddFilesDialog();
    EXPECT_EQ(list.Sources(), QStringList{Path("a.mp3")});
    EXPECT_EQ(list.TextTotalFiles(), "Total: 1");
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MediaFilesTest, AFullPlaylistTakesNoMore)
{
    {
        Playlist::Batch batch(list);
        for (int i = 0; i < Playlist::MaxEntries; ++i)
            ASSERT_TRUE(list.Append(QString::number(i), QString(), false));
    }
    list.Select(5);
    files.AddMediaFile(Path("extra.mp3"));
    EXPECT_EQ(list.Count(), Playlist::MaxEntries);
    EXPECT_EQ(list.SelectedIndex(), 5);
}

} // namespace
} // namespace quillet
