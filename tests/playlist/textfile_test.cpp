#include "playlist/textfile.h"
#include "tests/fixtures/fileio.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace quillet {
namespace {

QList<QByteArray> LinesOf(const QString& path, int* error = nullptr)
{
    QList<QByteArray> lines;
    const int result = ReadLines(path, 1 << 20, [&](QByteArrayView line) {
        lines << line.toByteArray();
        return 0;
    });
    if (error)
        *error = result;
    return lines;
}

TEST(TextFile, LineEndsSplitAcrossReadsCountOnce)
{
    // Reads go in 256 KiB pieces: put a CR LF and a lone CR on the boundary.
    QTemporaryDir dir;
    for (const QByteArray& ending : {QByteArray("\r\n"), QByteArray("\r")}) {
        const qsizetype first = 256 * 1024 - 1;
        QByteArray bytes(first, 'a');
        bytes += ending + "b\nc";
        fixtures::WriteBytes(dir.filePath("t"), bytes);
        int error = -1;
        const QList<QByteArray> lines = LinesOf(dir.filePath("t"), &error);
        EXPECT_EQ(error, 0);
        ASSERT_EQ(lines.size(), 3) << ending.size();
        EXPECT_EQ(lines[0].size(), first);
        EXPECT_EQ(lines[1], "b");
        EXPECT_EQ(lines[2], "c");
    }
    // A line that goes on over several reads arrives whole.
    fixtures::WriteBytes(dir.filePath("t"), QByteArray(600 * 1024, 'z') + "\r\nend");
    const QList<QByteArray> lines = LinesOf(dir.filePath("t"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), 600 * 1024);
}

TEST(TextFile, TheCallerCanStopTheReading)
{
    QTemporaryDir dir;
    fixtures::WriteBytes(dir.filePath("t"), "1\n2\n3\n");
    int seen = 0;
    const int error =
        ReadLines(dir.filePath("t"), 100, [&](QByteArrayView) { return ++seen == 2 ? EFBIG : 0; });
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(seen, 2);
}

TEST(TextFile, WritingReplacesTheWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t");
    fixtures::WriteBytes(path, QByteArray(10000, 'o'));
    ASSERT_EQ(WriteFileAtomically(path, "short"), 0);
    EXPECT_EQ(fixtures::ReadBytes(path), "short");
    EXPECT_EQ(WriteFileAtomically(QString("a") + QChar(0) + "b", "x"), ENOENT);
    EXPECT_EQ(SystemErrorText(ENOENT), "2 - No such file or directory");
}

} // namespace
} // namespace quillet
