#include "tags/songdetails.h"
#include "tests/tags/tagfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet {
namespace {

const QString Spaces(50, u' ');

void ExpectNoValues(const SongDetails& details)
{
    EXPECT_EQ(details.SongTitle(), "");
    EXPECT_EQ(details.SongArtist(), "");
    EXPECT_EQ(details.SongAlbum(), "");
    EXPECT_EQ(details.SongYear(), "");
    EXPECT_EQ(details.SongComments(), "");
    EXPECT_EQ(details.SongGenre(), "");
}

TEST(SongDetails, ATaggedFileFillsEveryValueAndTheScrollText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("song.MP3");
    test::WriteTagged(path, "Abba", "Waterloo", 13, "Album", "1974", "Comment  ");
    SongDetails details;
    QSignalSpy changed(&details, &SongDetails::changed);
    details.ReadSongDetails(path);
    EXPECT_EQ(details.SongTitle(), "Waterloo");
    EXPECT_EQ(details.SongArtist(), "Abba");
    EXPECT_EQ(details.SongAlbum(), "Album");
    EXPECT_EQ(details.SongYear(), "1974");
    EXPECT_EQ(details.SongComments(), "Comment  "); // spaces before the NUL padding stay
    EXPECT_EQ(details.SongGenre(), "Pop");
    EXPECT_EQ(details.ScrollTitle(), Spaces + "-- ABBA - WATERLOO --");
    EXPECT_EQ(details.TextDisplay(), Spaces);
    EXPECT_GE(changed.count(), 1);

    test::WriteTagged(path, "Abba", "Waterloo", 148);
    details.ReadSongDetails(path);
    EXPECT_EQ(details.SongGenre(), "");
    EXPECT_EQ(details.SongArtist(), "Abba");
}

TEST(SongDetails, AnUntaggedMp3GetsTheBareScrollTextAndNoValues)
{
    QTemporaryDir dir;
    const QString tagged = dir.filePath("tagged.mp3");
    test::WriteTagged(tagged, "Abba", "Waterloo", 13, "Album", "1974", "Comment");
    const QString plain = dir.filePath("plain.mp3");
    test::WriteUntagged(plain);
    SongDetails details;
    details.ReadSongDetails(tagged);
    details.ReadSongDetails(plain);
    ExpectNoValues(details);
    EXPECT_EQ(details.ScrollTitle(), Spaces + "--  -  --");
    EXPECT_EQ(details.TextDisplay(), Spaces);
}

TEST(SongDetails, OtherFilesAndUnreadableOnesLeaveEverythingEmpty)
{
    QTemporaryDir dir;
    const QString tagged = dir.filePath("tagged.mp3");
    test::WriteTagged(tagged, "Abba", "Waterloo", 13);
    const QString wav = dir.filePath("tagged.wav");
    test::WriteTagged(wav, "Abba", "Waterloo", 13);
    SongDetails details;
    for (const QString& path : {wav, dir.filePath("missing.mp3"), dir.path() + "/"}) {
        details.ReadSongDetails(tagged);
        details.ReadSongDetails(path);
        ExpectNoValues(details);
        EXPECT_EQ(details.ScrollTitle(), "") << path.toStdString();
        EXPECT_EQ(details.TextDisplay(), "");
    }
}

} // namespace
} // namespace quillet
