#include "platform/bytetext.h"
#include "tags/displayname.h"
#include "tags/paths.h"
#include "tags/songdetails.h"
#include "tests/tags/tagfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace quillet {
namespace {

TEST(DisplayName, ComposesArtistTitleAndGenreOfMp3Files)
{
    QTemporaryDir dir;
    DisplayScratch scratch;
    const auto shown = [&](const QByteArray& artist, const QByteArray& title, uint8_t genre,
                           const QString& name = "song.mp3") {
        test::WriteTagged(dir.filePath(name), artist, title, genre);
        return DisplayNameFor(dir.filePath(name), scratch);
    };
    EXPECT_EQ(shown("ABBA", "Waterloo", 13), "ABBA - Waterloo [Pop]");
    EXPECT_EQ(shown("ABBA", "Waterloo", 148), "ABBA - Waterloo");
    EXPECT_EQ(shown("ABBA", "", 255), "ABBA");
    EXPECT_EQ(shown("\x80 \x8A \xE9", "Waterloo", 255), QString::fromUtf8("€ Š é - Waterloo"));
    EXPECT_EQ(shown("", "Waterloo", 13), "song.mp3");
    // Trailing spaces go first, then the text ends at its first NUL: these spaces stay.
    EXPECT_EQ(shown("   ", "Waterloo", 13), "    - Waterloo [Pop]");
    // A name that is not UTF-8: its tag is read through the name's bytes, and without an
    // artist the name shows its Windows-1252 letters.
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/latin1-\xe9.mp3";
    for (const QByteArray artist : {"ABBA", ""}) {
        (void)shown(artist, "Waterloo", 13, "x.mp3");
        ASSERT_EQ(::rename(QFile::encodeName(dir.filePath("x.mp3")).constData(), latin1), 0);
        EXPECT_EQ(DisplayNameFor(TextFromBytes(latin1), scratch),
                  artist.isEmpty() ? QString("latin1-\u00e9.mp3") : "ABBA - Waterloo [Pop]");
    }
}

TEST(Paths, TheFileNameFollowsTheLastSeparator)
{
    const std::pair<QString, QString> cases[] = {
        {"C:\\Music\\song.mp3", "song.mp3"},
        {"/music/AC\\DC.mp3", "AC\\DC.mp3"}, // with "/" separators "\" is a letter
        {QString("/a/b.mp3") + QChar(0) + "/c.mp3", "b.mp3"}};
    for (const auto& [path, name] : cases)
        EXPECT_EQ(FileNameFromPath(path), name) << path.toStdString();
}

QStringList Values(const SongDetails& d)
{
    return {d.SongTitle(), d.SongArtist(),   d.SongAlbum(),
            d.SongYear(),  d.SongComments(), d.SongGenre()};
}

TEST(SongDetails, EachKindOfFileFillsValuesScrollTextAndDisplayName)
{
    QTemporaryDir dir;
    const QString spaces(50, u' ');
    // Nothing but a tag, laid out byte by byte; a full-width field takes nothing of the next.
    const auto field = [](const char* text) { return QByteArray(text).leftJustified(30, '\0'); };
    const QString tagged = dir.filePath("song.MP3");
    fixtures::WriteBytes(tagged, "TAG" + field("Waterloo") + field("Abba") + QByteArray(30, 'x') +
                                     "1974" + field("Comment  ") + char(13));
    SongDetails details;
    details.ReadSongDetails(tagged);
    EXPECT_EQ(Values(details),
              QStringList({"Waterloo", "Abba", QString(30, 'x'), "1974", "Comment  ", "Pop"}));
    EXPECT_EQ(details.ScrollTitle(), spaces + "-- ABBA - WATERLOO --");
    EXPECT_EQ(details.TextDisplay(), spaces);

    // After a tagged file each other kind clears what that one left. An MP3 without a usable
    // tag still scrolls; one that cannot be read (never opened: a FIFO must not wait for a
    // writer, a NUL would open "x") and other files do not.
    fixtures::WriteBytes(dir.filePath("plain.mp3"), test::Untagged);
    fixtures::WriteBytes(dir.filePath("short.mp3"), "TAG" + QByteArray(124, 'a'));
    test::WriteTagged(dir.filePath("tagged.wav"), "Abba", "Waterloo", 13);
    test::WriteTagged(dir.filePath("x"), "A", "T", 1);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.mp3")).constData(), 0600), 0);
    const std::tuple<QString, bool, QString> cases[] = {
        {dir.filePath("plain.mp3"), true, "plain.mp3"},
        {dir.filePath("short.mp3"), true, "short.mp3"},
        {dir.filePath("tagged.wav"), false, "tagged.wav"}, // ID3v1 is read from MP3 only
        {dir.filePath("missing.mp3"), false, "missing.mp3"},
        {dir.filePath("pipe.mp3"), false, "pipe.mp3"},
        {dir.filePath("x") + QChar(0) + ".mp3", false, "x"}};
    for (const auto& [path, scrolls, name] : cases) {
        SCOPED_TRACE(name.toStdString());
        details.ReadSongDetails(tagged);
        details.ReadSongDetails(path);
        EXPECT_EQ(Values(details), QStringList(6, QString()));
        EXPECT_EQ(details.ScrollTitle(), scrolls ? spaces + "--  -  --" : "");
        EXPECT_EQ(details.TextDisplay(), scrolls ? spaces : "");
        DisplayScratch scratch;
        EXPECT_EQ(DisplayNameFor(path, scratch), name);
    }
}

// FLAC, Ogg Vorbis and Opus files give the display name, the six values and the scroll text
// from their comments: keys in any case, the first of a key counts, DESCRIPTION stands in for
// COMMENT, the genre is text, and a 100 KB picture before them (over several Ogg pages) is
// passed over.
TEST(SongDetails, FlacOggAndOpusCommentsFillTheSameValues)
{
    QTemporaryDir dir;
    fixtures::WriteWav(dir.filePath("t.wav"), fixtures::Tone(440, 0.2));
    const QStringList comments{"METADATA_BLOCK_PICTURE=" + QString(100000, u'A'),
                               "artist=Abba",
                               "ARTIST=Other",
                               "TITLE=Waterloo",
                               "Album=Waterloo",
                               "DATE=1974-04-06",
                               "GENRE=Pop",
                               "DESCRIPTION=Eurovision"};
    using fixtures::Codec;
    for (const auto& [codec, name] :
         {std::pair{Codec::Flac, "a.flac"}, std::pair{Codec::Vorbis, "a.OGG"},
          std::pair{Codec::Opus, "a.opus"}}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(name);
        fixtures::EncodeXiph(dir.filePath("t.wav"), path, codec, comments);
        DisplayScratch scratch;
        EXPECT_EQ(DisplayNameFor(path, scratch), "Abba - Waterloo [Pop]");
        SongDetails details;
        details.ReadSongDetails(path);
        EXPECT_EQ(Values(details),
                  QStringList({"Waterloo", "Abba", "Waterloo", "1974-04-06", "Eurovision", "Pop"}));
        EXPECT_EQ(details.ScrollTitle(), QString(50, u' ') + "-- ABBA - WATERLOO --");
    }
}

} // namespace
} // namespace quillet
