// Files as the system names them (bytes that need not be UTF-8), the one way the program
// opens what it reads (regular files only, never blocking, never a name cut short, capped),
// the one way it replaces a file, and the one-copy lock of a copy that died.
#include "platform/atomicwrite.h"
#include "platform/bytetext.h"
#include "platform/readfile.h"
#include "platform/singleinstance.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace quillet {
namespace {

TEST(KeptBytes, AnyBytesComeBackAsTheyWereAndShowAsTheirLetters)
{
    const std::pair<QByteArray, const char*> rows[] = {
        // the bytes, shown as UTF-8
        {"\xc3\xa9t\xc3\xa9 \xf0\x90\x82\x80", "\xc3\xa9t\xc3\xa9 \xf0\x90\x82\x80"},
        // Both ends of E0…EF beside a byte that is no UTF-8.
        {"\xe0\xa4\x85\xef\xbf\xbd\xff", "\xe0\xa4\x85\xef\xbf\xbd\xc3\xbf"},
        {"\x80\x9f\xe9", "\xe2\x82\xac\xc5\xb8\xc3\xa9"},
        {"cut \xe2\x82", "cut \xc3\xa2\xe2\x80\x9a"},
        {"\xc0\x80 \xed\xa0\x80 \xf4\x90\x80\x80", // overlong, a surrogate, beyond U+10FFFF
         "\xc3\x80\xe2\x82\xac \xc3\xad\xc2\xa0\xe2\x82\xac "
         "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac"},
    };
    for (const auto& [bytes, shown] : rows) {
        const QString text = TextFromBytes(bytes);
        EXPECT_EQ(BytesFromText(text), bytes) << bytes.toHex().constData();
        EXPECT_EQ(ShownText(text), QString::fromUtf8(shown)) << bytes.toHex().constData();
    }
    // A dropped or bus-opened file: URL keeps the name's bytes too.
    EXPECT_EQ(BytesFromText(PathFromFileUrl(QUrl::fromEncoded("file:///music/latin1-%E9.mp3"))),
              "/music/latin1-\xe9.mp3");
}

// Settings, playlists and desktop entries are written this way (their own tests see a failed
// write keep the old file); everything the program reads is opened the other way (FIFOs and
// NUL names are refused where tags, skins and media are read: their tests).
TEST(AtomicWrite, TheNewFileKeepsLinkAndModeAndIsReadBackWithinItsSizeByAnyName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f"), link = dir.filePath("link");
    test::WriteFile(path, "old");
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(WriteFileAtomically(link, "new"), 0); // the link keeps pointing at the file
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFile::permissions(path) & QFile::Permissions(0x7077),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_EQ(WriteFileAtomically(dir.filePath("none/f"), "x"), ENOENT);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"f", "link"})); // no temporary file left behind

    // Read through a name that is no UTF-8, and found again from the name Qt's own file
    // functions spoil.
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/\xe9";
    ASSERT_EQ(::rename(QFile::encodeName(path).constData(), latin1), 0);
    const QString named = TextFromBytes(latin1);
    QByteArray bytes;
    EXPECT_EQ(ReadRegularFile(named, 3, bytes), 0);
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(ReadRegularFile(named, 2, bytes), EFBIG);
    EXPECT_EQ(ReadRegularFile(dir.path(), NoSizeLimit, bytes), EISDIR);
    EXPECT_EQ(NameOnDisk(QFile::decodeName(latin1)), named);
}

// The lock of a copy that died (the process is gone, its lock file is not) is taken over, else
// the program would never start again; the new holder then refuses others. (A later copy
// handing over to the running one is the end-to-end test's; a lock let go is removed by
// QLockFile itself.)
TEST(SingleInstance, TakenOverFromACopyThatDiedAndThenRefused)
{
    QTemporaryDir dir;
    QProcess gone;
    gone.start("true", {});
    const qint64 deadPid = gone.processId(); // read while it runs: 0 once it has ended
    ASSERT_TRUE(gone.waitForFinished());
    test::WriteFile(SingleInstance(dir.path()).LockPath(),
                    QByteArray::number(deadPid) + "\nquillet-jukebox\n" +
                        QSysInfo::machineHostName().toUtf8() + "\n");
    SingleInstance next(dir.path());
    EXPECT_TRUE(next.TryBecomeFirst());
    EXPECT_FALSE(SingleInstance(dir.path()).TryBecomeFirst());
}

} // namespace
} // namespace quillet
