// Files as the system names them (bytes that need not be UTF-8), the one way the program
// opens what it reads (regular files only, never blocking, never a name cut short, capped)
// and the one way it replaces a file (whole or not at all).
#include "platform/atomicwrite.h"
#include "platform/bytetext.h"
#include "platform/readfile.h"
#include "tests/support/fullfilesystem.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace quillet {
namespace {

TEST(KeptBytes, AnyBytesComeBackAsTheyWereAndShowAsTheirLetters)
{
    const struct {
        QByteArray bytes;
        const char* shown; // UTF-8
    } rows[] = {
        {"plain/ascii.mp3", "plain/ascii.mp3"},
        {"\xc3\xa9t\xc3\xa9 \xf0\x90\x82\x80", "\xc3\xa9t\xc3\xa9 \xf0\x90\x82\x80"}, // UTF-8
        {"\xe0\xa4\x85 \xef\xbf\xbd", "\xe0\xa4\x85 \xef\xbf\xbd"}, // both ends of E0…EF
        {"latin1-\xe9.mp3", "latin1-\xc3\xa9.mp3"},
        {"\x80\x9f\xff", "\xe2\x82\xac\xc5\xb8\xc3\xbf"},
        {"cut \xe2\x82", "cut \xc3\xa2\xe2\x80\x9a"},
        {"\xc0\x80 \xed\xa0\x80 \xf4\x90\x80\x80", // overlong, a surrogate, beyond U+10FFFF
         "\xc3\x80\xe2\x82\xac \xc3\xad\xc2\xa0\xe2\x82\xac "
         "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac"},
    };
    for (const auto& row : rows) {
        const QString text = TextFromBytes(row.bytes);
        EXPECT_EQ(BytesFromText(text), row.bytes) << row.bytes.toHex().constData();
        EXPECT_EQ(ShownText(text), QString::fromUtf8(row.shown)) << row.bytes.toHex().constData();
    }
    // A dropped or bus-opened file: URL keeps the name's bytes too.
    EXPECT_EQ(BytesFromText(PathFromFileUrl(QUrl::fromEncoded("file:///music/latin1-%E9.mp3"))),
              "/music/latin1-\xe9.mp3");
    EXPECT_TRUE(PathFromFileUrl(QUrl("https://example.org/a.mp3")).isEmpty());
    // Text from elsewhere (typed, or from Qt) goes out as UTF-8 as ever.
    const QString typed = QString::fromUtf8("\xc3\xa9\xf0\x9f\x8e\xb5");
    EXPECT_EQ(BytesFromText(typed), typed.toUtf8());
}

TEST(RegularFiles, OnlyRegularFilesAreOpenedNeverBlockingAndWithinTheirSize)
{
    QTemporaryDir dir;
    test::WriteFile(dir.filePath("small"), "1234");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero")));
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/\xe9";
    ASSERT_EQ(::rename(QFile::encodeName(dir.filePath("small")).constData(), latin1), 0);
    const QString small = TextFromBytes(latin1);
    const struct {
        QString path;
        qint64 maxBytes;
        int error;
    } rows[] = {
        {small, 4, 0},
        {small, 3, EFBIG},
        {small + QChar(0) + ".mp3", NoSizeLimit, EINVAL}, // never opened as its prefix
        {dir.filePath("fifo"), NoSizeLimit, EINVAL},
        {dir.filePath("zero"), NoSizeLimit, EINVAL},
        {dir.path(), NoSizeLimit, EISDIR},
        {dir.filePath("missing"), NoSizeLimit, ENOENT},
        {"", NoSizeLimit, ENOENT},
    };
    for (const auto& row : rows) {
        QByteArray bytes = "untouched";
        EXPECT_EQ(ReadRegularFile(row.path, row.maxBytes, bytes), row.error)
            << BytesFromText(row.path).constData();
        EXPECT_EQ(bytes, row.error == 0 ? "1234" : "untouched");
    }
    // A name Qt's own file functions spoiled finds its file again.
    EXPECT_EQ(NameOnDisk(QFile::decodeName(latin1)), small);
    EXPECT_EQ(NameOnDisk(dir.path() + QString::fromUtf8("/\xef\xbf\xbd-none")),
              dir.path() + QString::fromUtf8("/\xef\xbf\xbd-none"));
}

// Settings, playlists and desktop entries are all written this way; their own tests only
// look at what they make of a failure.
TEST(AtomicWrite, TheNewFileReplacesTheOldWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f"), link = dir.filePath("link");
    test::WriteFile(path, "old");
    QFile reader(path); // opened before the write: reads the old file to its end
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(WriteFileAtomically(link, "new"), 0); // the link keeps pointing at the file
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(reader.readAll(), "old");
    EXPECT_EQ(test::ReadFile(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(WriteFileAtomically(dir.filePath("created"), "c"), 0);
    EXPECT_EQ(test::ReadFile(dir.filePath("created")), "c");

    // Each failure leaves the old file as it was and no temporary file behind.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    const QByteArray big(64 * 1024, 'b');
    const auto writeHere = [&](const QString& target) {
        return QString::number(WriteFileAtomically(target, big));
    };
    const auto limited = [&] {
        return test::WithFileSizeLimit(16 * 1024, [&] { return writeHere(path); });
    };
    // Without the right to write: into the folder, or over a write-protected file in a folder
    // that would let it be replaced.
    QFile::setPermissions(path, QFileDevice::Permissions(0x6666));
    const QString protectedFile = dir.filePath("open/protected");
    test::WriteFile(protectedFile, "old");
    QFile::setPermissions(dir.filePath("open"), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(protectedFile, QFileDevice::Permissions(0x4444));
    QString skipReason;
    const std::optional<QString> withoutRight = test::WithoutWriteRight(
        dir.path(), [&] { return writeHere(path) + " " + writeHere(protectedFile); }, skipReason);
    const struct {
        const char* name;
        QString outcome, expected;
    } rows[] = {
        {"file size limit", limited(), "27"},
        {"a folder", writeHere(dir.path()), "21"},
        {"a FIFO", writeHere(dir.filePath("fifo")), "22"},
        {"a NUL in the name", writeHere(path + QChar(0) + "x"), "22"},
        {"no name", writeHere(""), "2"},
        {"no folder", writeHere(dir.filePath("none/f")), "2"},
        {"no right to write", withoutRight.value_or("13 13"), "13 13"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.outcome, row.expected) << row.name;
    EXPECT_EQ(test::ReadFile(path), "new");
    EXPECT_EQ(test::ReadFile(protectedFile), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"created", "f", "fifo", "link"}));
    EXPECT_EQ(QDir(dir.filePath("open")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"protected"});
    EXPECT_EQ(SystemErrorText(EACCES), "13 - Permission denied");
    if (!withoutRight)
        GTEST_SKIP() << skipReason.toStdString();
}

} // namespace
} // namespace quillet
