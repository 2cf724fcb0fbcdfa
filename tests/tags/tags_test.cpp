#include "tags/displayname.h"
#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/paths.h"
#include "tags/songdetails.h"
#include "tests/tags/tagfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quillet {
namespace {

TEST(Genres, TheTableKeepsItsOwnSpellingsAndEndsAt147)
{
    FillGenreTable();
    ASSERT_EQ(GenreNames().size(), 148);
    // The first name of every ten: a missing or doubled name shifts one of these.
    const QStringList decades = {
        "Blues",    "New Age", "Alternative", "Fusion", "Alt. Rock",
        "Darkwave", "Top 40",  "Trailer",     "Folk",   "Avantegarde",
        "Humour",   "Satire",  "Duet",        "Terror", "Comteporary Christian"};
    for (int d = 0; d < decades.size(); ++d)
        EXPECT_EQ(GenreName(d * 10), decades[d]) << d * 10;
    const std::pair<int, QString> odd[] = {{13, "Pop"},         {62, "Pop/Punk"},
                                           {67, "Phychedelic"}, {117, "power Ballad"},
                                           {131, "indie"},      {144, "Trash Metal"},
                                           {147, "Synth Pop"},  {148, ""},
                                           {255, ""},           {-1, ""}};
    for (const auto& [g, name] : odd)
        EXPECT_EQ(GenreName(g), name) << g;
}

TEST(Id3v1, FieldsLosePaddingAndAreWindows1252)
{
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("ABBA") + QByteArray(26, '\0'), "ABBA"},
        {QByteArray("  ABBA") + QByteArray(24, ' '), "  ABBA"},
        // Trailing spaces go first, then the text ends at the first NUL.
        {QByteArray("AB  \0\0   ", 9), "AB  "},
        {QByteArray("AB\0CD", 5), "AB"},
        {QByteArray(30, ' '), ""},
        {"\x80 \x9F \x8A \xE9", QString::fromUtf8("€ Ÿ Š é")},
        {"\xC3\xA9", QString::fromUtf8("Ã©")}, // UTF-8 bytes stay two letters
    };
    for (const auto& [field, text] : cases)
        EXPECT_EQ(CleanTagText(field), text) << field.toHex().constData();
}

class DisplayName : public ::testing::Test {
protected:
    QString Tagged(const QByteArray& artist, const QByteArray& title, uint8_t genre,
                   const QString& name = "song.mp3")
    {
        test::WriteTagged(dir.filePath(name), artist, title, genre);
        return DisplayNameFor(dir.filePath(name), scratch);
    }

    QTemporaryDir dir;
    DisplayScratch scratch;
};

TEST_F(DisplayName, ComposesArtistTitleAndGenre)
{
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13), "ABBA - Waterloo [Pop]");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 147), "ABBA - Waterloo [Synth Pop]");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 148), "ABBA - Waterloo");
    EXPECT_EQ(Tagged("ABBA", "", 255), "ABBA");
    EXPECT_EQ(Tagged("ABBA", "", 13), "ABBA -  [Pop]"); // two spaces
    EXPECT_EQ(Tagged("", "Waterloo", 13), "song.mp3");
    EXPECT_EQ(Tagged(QByteArray(30, ' '), "Waterloo", 13), "song.mp3");
    EXPECT_EQ(Tagged("   ", "Waterloo", 13), "    - Waterloo [Pop]"); // spaces before NULs
    // Only names ending ".mp3", in any case, have their tag read.
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "x.Mp3"), "ABBA - Waterloo [Pop]");
    EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, "X.MP3"), "ABBA - Waterloo [Pop]");
    for (const char* name : {"x.mp2", "x.wav", "mp3"})
        EXPECT_EQ(Tagged("ABBA", "Waterloo", 13, name), name);
}

TEST_F(DisplayName, FilesWithoutAUsableTagShowTheirNameAtOnce)
{
    const std::pair<const char*, QByteArray> untagged[] = {
        {"plain.mp3", test::Untagged},
        {"short.mp3", "TAG" + QByteArray(124, 'a')},
        {"empty.mp3", {}},
        {"ff.mp3", QByteArray(4096, '\xFF')}};
    for (const auto& [name, bytes] : untagged) {
        fixtures::WriteBytes(dir.filePath(name), bytes);
        EXPECT_EQ(ReadId3v1(dir.filePath(name)).Status, TagStatus::NoTag) << name;
        EXPECT_EQ(DisplayNameFor(dir.filePath(name), scratch), name);
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    test::WriteTagged(dir.filePath("x"), "A", "T", 1);
    const std::pair<QString, QString> unreadable[] = {
        {dir.filePath("pipe.mp3"), "pipe.mp3"}, // must not wait for a writer
        {dir.filePath("folder.mp3"), "folder.mp3"},
        {dir.filePath("missing.mp3"), "missing.mp3"},
        {"/dev/zero", "zero"},
        {dir.filePath("x") + QChar(0) + ".mp3", "x"}}; // never opens "x"
    for (const auto& [path, name] : unreadable) {
        EXPECT_EQ(ReadId3v1(path).Status, TagStatus::Unreadable) << name.toStdString();
        EXPECT_EQ(DisplayNameFor(path, scratch), name);
    }
}

TEST(Paths, TheFileNameFollowsTheLastSeparator)
{
    const std::pair<QString, QString> cases[] = {
        {"/music/rock/song.mp3", "song.mp3"},
        {"C:\\Music\\song.mp3", "song.mp3"},
        {"/music/", ""},
        {"/music/AC\\DC.mp3", "AC\\DC.mp3"}, // with "/" separators "\" is a letter
        {QString("/a/b.mp3") + QChar(0) + "/c.mp3", "b.mp3"}};
    for (const auto& [path, name] : cases)
        EXPECT_EQ(FileNameFromPath(path), name) << path.toStdString();
}

TEST(CdTrackNames, DecimalIndicesBecomeOneBasedNumbersOfTwoDigitsOrMore)
{
    EXPECT_EQ(CdTrackDisplayName("0"), "Track 01");
    EXPECT_EQ(CdTrackDisplayName("0099"), "Track 100");
    EXPECT_EQ(CdTrackDisplayName("99999999999999999999"), "Track 100000000000000000000");
    for (const char* text : {"", "   ", "4a", "-1", "+1", "1.5", "\t4", "1 2", "\u0663"})
        EXPECT_FALSE(CdTrackDisplayName(text).has_value()) << text;
}

QStringList Values(const SongDetails& d)
{
    return {d.SongTitle(), d.SongArtist(),   d.SongAlbum(),
            d.SongYear(),  d.SongComments(), d.SongGenre()};
}

TEST(SongDetails, EachKindOfFileFillsValuesAndScrollText)
{
    QTemporaryDir dir;
    const QString spaces(50, u' ');
    const QByteArray full(30, 'x'); // a full-width field takes nothing of its neighbour
    const QString tagged = dir.filePath("song.MP3");
    fixtures::WriteBytes(tagged, {}); // nothing but a tag
    fixtures::AppendId3v1(tagged, "Waterloo", "Abba", full, "1974", "Comment  ", 13);
    SongDetails details;
    details.ReadSongDetails(tagged);
    EXPECT_EQ(Values(details), QStringList({"Waterloo", "Abba", full, "1974", "Comment  ", "Pop"}));
    EXPECT_EQ(details.ScrollTitle(), spaces + "-- ABBA - WATERLOO --");
    EXPECT_EQ(details.TextDisplay(), spaces);

    // After a tagged file each other kind clears what that one left.
    fixtures::WriteBytes(dir.filePath("plain.mp3"), test::Untagged);
    test::WriteTagged(dir.filePath("tagged.wav"), "Abba", "Waterloo", 13);
    const std::tuple<QString, QString, QString> cases[] = {
        {dir.filePath("plain.mp3"), spaces + "--  -  --", spaces},
        {dir.filePath("tagged.wav"), "", ""},
        {dir.filePath("missing.mp3"), "", ""},
        {dir.path() + "/", "", ""}};
    for (const auto& [path, scroll, display] : cases) {
        details.ReadSongDetails(tagged);
        details.ReadSongDetails(path);
        EXPECT_EQ(Values(details), QStringList(6, QString())) << path.toStdString();
        EXPECT_EQ(details.ScrollTitle(), scroll);
        EXPECT_EQ(details.TextDisplay(), display);
    }
}

} // namespace
} // namespace quillet
