#include "tags/displayname.h"
#include "tags/paths.h"
#include "tests/tags/tagfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet {
namespace {

class DisplayName : public ::testing::Test {
protected:
    QString Tagged(const QByteArray& artist, const QByteArray& title, uint8_t genre,
                   const QString& name = "song.mp3")
    {
        const QString path = dir.filePath(name);
        test::WriteTagged(path, artist, title, genre);
        return DisplayNameFor(path, scratch);
    }

    QTemporaryDir dir;
    DisplayScratch scratch;
};

TEST_F(DisplayName, ComposesArtistTitleAndGenre)
{
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13), "ABBA - Waterloo [Pop]");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 255), "ABBA - Waterloo");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 148), "ABBA - Waterloo");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 147), "ABBA - Waterloo [Synth Pop]");
    EXPECT_EQ(Tagged("ABBA", "", 255), "ABBA");
    // No title but a genre: the dash and the bracket stand two spaces apart.
    EXPECT_EQ(Tagged("ABBA", "", 13), "ABBA -  [Pop]");
    // Without an artist the file name shows, whatever else the tag holds.
    EXPECT_EQ(Tagged("", "Waterloo", 13), "song.mp3");
    EXPECT_EQ(Tagged(QByteArray(30, ' '), "Waterloo", 13), "song.mp3");
    // Spaces that stand before the NUL padding are part of the text.
    EXPECT_EQ(Tagged("   ", "Waterloo", 13), "    - Waterloo [Pop]");
}

TEST_F(DisplayName, LeavesTheLastTagsTextsInTheScratchFields)
{
    (void)Tagged("ABBA", "Waterloo", 13);
    (void)DisplayNameFor(dir.filePath("untagged.wav"), scratch);
    EXPECT_EQ(scratch.TextTempArtist, "ABBA");
    EXPECT_EQ(scratch.TextTempTitle, "Waterloo");
    EXPECT_EQ(scratch.TextTempGenre, "Pop");
    (void)Tagged("", "Only Title", 255);
    EXPECT_EQ(scratch.TextTempArtist, "");
    EXPECT_EQ(scratch.TextTempTitle, "Only Title");
    EXPECT_EQ(scratch.TextTempGenre, "");
}

TEST_F(DisplayName, OnlyMp3FilesInAnyLetterCaseAreExamined)
{
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "x.Mp3"), "ABBA - Waterloo [Pop]");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "X.MP3"), "ABBA - Waterloo [Pop]");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "x.mp2"), "x.mp2");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "x.wav"), "x.wav");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "mp3"), "mp3");
}

TEST_F(DisplayName, FilesWithoutAUsableTagShowTheirName)
{
    EXPECT_EQ(DisplayNameFor(dir.filePath("missing.mp3"), scratch), "missing.mp3");
    test::WriteUntagged(dir.filePath("tiny.mp3"), 100);
    EXPECT_EQ(DisplayNameFor(dir.filePath("tiny.mp3"), scratch), "tiny.mp3");
    fixtures::WriteBytes(dir.filePath("ff.mp3"), QByteArray(1024, '\xFF'));
    EXPECT_EQ(DisplayNameFor(dir.filePath("ff.mp3"), scratch), "ff.mp3");
    EXPECT_EQ(DisplayNameFor("Track 05", scratch), "Track 05");
}

TEST(Paths, TheFileNameIsThePartAfterTheLastSeparator)
{
    EXPECT_EQ(FileNameFromPath("/music/rock/song.mp3"), "song.mp3");
    EXPECT_EQ(FileNameFromPath("C:\\Music\\song.mp3"), "song.mp3");
    EXPECT_EQ(FileNameFromPath("song.mp3"), "song.mp3");
    EXPECT_EQ(FileNameFromPath("/music/"), "");
    // In a path with "/" separators a backslash belongs to the name.
    EXPECT_EQ(FileNameFromPath("/music/AC\\DC.mp3"), "AC\\DC.mp3");
    // Nothing after a NUL counts.
    EXPECT_EQ(FileNameFromPath(QString("/a/b.mp3") + QChar(0) + "/c.mp3"), "b.mp3");
}

TEST(Paths, NormalizeSlashesKeepsTheLengthAndBlanksFromTheFirstNul)
{
    QString windows = "C:\\Music\\a.mp3";
    EXPECT_EQ(NormalizeSlashes(windows), "C:/Music/a.mp3");
    EXPECT_EQ(windows, "C:/Music/a.mp3");

    QString withNul = QString("/a/b") + QChar(0) + "cd";
    const QString result = NormalizeSlashes(withNul);
    EXPECT_EQ(result.size(), 7);
    EXPECT_EQ(result, QString("/a/b") + QString(3, QChar(0)));
}

TEST(CdTrackNames, DecimalIndicesBecomeOneBasedTrackNumbersOfTwoDigitsOrMore)
{
    EXPECT_EQ(CdTrackDisplayName("0"), "Track 01");
    EXPECT_EQ(CdTrackDisplayName("4"), "Track 05");
    EXPECT_EQ(CdTrackDisplayName("11"), "Track 12");
    EXPECT_EQ(CdTrackDisplayName("99"), "Track 100");
    EXPECT_EQ(CdTrackDisplayName("  7 "), "Track 08");
    EXPECT_EQ(CdTrackDisplayName("0009"), "Track 10");
    EXPECT_EQ(CdTrackDisplayName("99999999999999999999"), "Track 100000000000000000000");
    for (const char* text : {"", "   ", "4a", "-1", "+1", "1.5", "\t4", "1 2", "\u0663"})
        EXPECT_FALSE(CdTrackDisplayName(text).has_value()) << text;
}

} // namespace
} // namespace quillet
