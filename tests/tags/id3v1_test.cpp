#include "tags/id3v1.h"
#include "tests/tags/tagfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

QByteArray Field(const QByteArray& text, int width, char pad)
{
    return text + QByteArray(width - text.size(), pad);
}

TEST(Id3v1, TextFieldsLoseTheirPaddingButKeepSpacesBeforeANul)
{
    EXPECT_EQ(CleanTagText(Field("ABBA", 30, '\0')), "ABBA");
    EXPECT_EQ(CleanTagText(Field("ABBA", 30, ' ')), "ABBA");
    EXPECT_EQ(CleanTagText(Field("  ABBA", 30, ' ')), "  ABBA");
    // Trailing spaces go first, then the text ends at the first NUL.
    EXPECT_EQ(CleanTagText(QByteArray("AB  \0\0   ", 9)), "AB  ");
    EXPECT_EQ(CleanTagText(QByteArray("AB\0CD", 5)), "AB");
    EXPECT_EQ(CleanTagText(QByteArray(30, '\0')), "");
    EXPECT_EQ(CleanTagText(QByteArray(30, ' ')), "");
}

TEST(Id3v1, TextsAreWindows1252NotUtf8)
{
    EXPECT_EQ(CleanTagText("Caf\xE9"), QString::fromUtf8("Café"));
    EXPECT_EQ(CleanTagText("\x80 \x9F \x8A"), QString::fromUtf8("€ Ÿ Š"));
    // UTF-8 bytes are taken as two single-byte letters each.
    EXPECT_EQ(CleanTagText("\xC3\xA9"), QString::fromUtf8("Ã©"));
}

TEST(Id3v1, ReadsEveryFieldOfATaggedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("song.mp3");
    test::WriteTagged(path, "ABBA", "Waterloo", 13, "Waterloo (album)", "1974", "Eurovision");
    const Id3v1Read read = ReadId3v1(path);
    ASSERT_EQ(read.Status, TagStatus::Found);
    EXPECT_EQ(read.Tag.Artist, "ABBA");
    EXPECT_EQ(read.Tag.Title, "Waterloo");
    EXPECT_EQ(read.Tag.Album, "Waterloo (album)");
    EXPECT_EQ(read.Tag.Year, "1974");
    EXPECT_EQ(read.Tag.Comment, "Eurovision");
    EXPECT_EQ(read.Tag.Genre, 13);

    // Full-width fields use every byte and take nothing of their neighbour.
    const QByteArray full(30, 'x');
    test::WriteTagged(path, full, full, 255, full, "2024", full);
    const Id3v1Read wide = ReadId3v1(path);
    EXPECT_EQ(wide.Tag.Title, QString(full));
    EXPECT_EQ(wide.Tag.Year, "2024");
    EXPECT_EQ(wide.Tag.Comment, QString(full));
    EXPECT_EQ(wide.Tag.Genre, 255);
}

TEST(Id3v1, FilesWithoutATagAreToldApartFromFilesThatCannotBeRead)
{
    QTemporaryDir dir;
    test::WriteUntagged(dir.filePath("plain.mp3"));
    EXPECT_EQ(ReadId3v1(dir.filePath("plain.mp3")).Status, TagStatus::NoTag);

    // 127 bytes that even start with the marker: too short to hold a tag.
    fixtures::WriteBytes(dir.filePath("short.mp3"), "TAG" + QByteArray(124, 'a'));
    EXPECT_EQ(ReadId3v1(dir.filePath("short.mp3")).Status, TagStatus::NoTag);
    fixtures::WriteBytes(dir.filePath("empty.mp3"), {});
    EXPECT_EQ(ReadId3v1(dir.filePath("empty.mp3")).Status, TagStatus::NoTag);

    // A file that is nothing but a tag has one.
    fixtures::WriteBytes(dir.filePath("bare.mp3"), {});
    fixtures::AppendId3v1(dir.filePath("bare.mp3"), "T", "A", {}, {}, {}, 1);
    EXPECT_EQ(ReadId3v1(dir.filePath("bare.mp3")).Status, TagStatus::Found);

    // Erased flash memory: all 0xFF, no marker.
    fixtures::WriteBytes(dir.filePath("ff.mp3"), QByteArray(4096, '\xFF'));
    EXPECT_EQ(ReadId3v1(dir.filePath("ff.mp3")).Status, TagStatus::NoTag);

    EXPECT_EQ(ReadId3v1(dir.filePath("missing.mp3")).Status, TagStatus::Unreadable);
    EXPECT_EQ(ReadId3v1(QString()).Status, TagStatus::Unreadable);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    EXPECT_EQ(ReadId3v1(dir.filePath("folder.mp3")).Status, TagStatus::Unreadable);
}

TEST(Id3v1, NeverBlocksOnAFifoOrADevice)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Opening a FIFO for reading without a writer would wait for ever.
    EXPECT_EQ(ReadId3v1(fifo).Status, TagStatus::Unreadable);
    EXPECT_EQ(ReadId3v1("/dev/zero").Status, TagStatus::Unreadable);
}

TEST(Id3v1, APathWithANulNeverOpensTheShorterName)
{
    QTemporaryDir dir;
    const QString real = dir.filePath("x");
    test::WriteTagged(real, "Artist", "Title", 1);
    ASSERT_EQ(ReadId3v1(real).Status, TagStatus::Found);
    EXPECT_EQ(ReadId3v1(real + QChar(0) + ".mp3").Status, TagStatus::Unreadable);
}

TEST(Id3v1, AFileWithoutReadPermissionIsUnreadable)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    QTemporaryDir dir;
    const QString path = dir.filePath("locked.mp3");
    test::WriteTagged(path, "A", "T", 1);
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    EXPECT_EQ(ReadId3v1(path).Status, TagStatus::Unreadable);
}

} // namespace
} // namespace quillet
