// The settings-file reader and writer on real files: what it reads from awkward files, and
// what it refuses to write (the atomic replacement itself is the file writer's, tested with
// it).
#include "platform/profile.h"
#include "tests/support/testsupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;
using test::WriteFile;

QByteArray Garbage()
{
    QByteArray bytes(70000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7919 + (i >> 3)) & 0xFF);
    return bytes;
}

class Profile : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath("settings.ini"); }
    QString Read(const QString& section, const QString& key, int size = 255) const
    {
        return ReadProfileString(section, key, "<default>", size, Path());
    }
    bool Write(const QString& section, const QString& key, const QString& value) const
    {
        return WriteProfileString(section, key, value, Path());
    }
    QTemporaryDir m_dir;
};

TEST_F(Profile, ReadsAwkwardFiles)
{
    for (const QByteArray& file : {QByteArray("<none>"), QByteArray(""), Garbage()}) {
        if (file != "<none>")
            WriteFile(Path(), file);
        EXPECT_EQ(Read("display", "volume"), "<default>");
    }
    // A file far too big to be settings is unreadable: read as missing, never replaced.
    WriteFile(Path(), "[display]\nvolume=1\n" + QByteArray(MaxProfileBytes, ';'));
    EXPECT_EQ(Read("display", "volume"), "<default>");
    EXPECT_FALSE(Write("display", "volume", "2"));
    EXPECT_EQ(test::FileKind(Path()), QString("file of %1 bytes").arg(MaxProfileBytes + 19));
    WriteFile(Path(), Garbage() + "\n  [ Display ]  \r\n\tVOLUME  =  12000 \t\r\nvolume=2\n"
                                  "name=\"a b \"\nodd=\"x'\nbare=\n[display]\nbalance=4\n"
                                  "[zzz]\r\nx=y");
    const struct { // balance is only in the second copy of [display]
        const char *section, *key, *expected;
    } rows[] = {{"DISPLAY", "Volume", "12000"},      {"display", "name", "a b "},
                {"display", "odd", "\"x'"},          {"display", "bare", ""},
                {"display", "balance", "<default>"}, {"zzz", "x", "y"}};
    for (const auto& row : rows)
        EXPECT_EQ(Read(row.section, row.key), row.expected) << row.section << "/" << row.key;

    const QString longValue(10000, 'v');
    ASSERT_TRUE(Write("display", "volume", longValue));
    EXPECT_EQ(Read("display", "volume"), QString(254, 'v'));
    EXPECT_EQ(Read("display", "volume", 10001), longValue);
}

// A write changes one line and keeps every other byte: comments, garbage, other sections,
// spacing, line ends, a byte-order mark; a value that is not UTF-8 is written as it was read.
TEST_F(Profile, AWriteChangesOneLineAndKeepsEverythingElseByteForByte)
{
    const QByteArray kept = Garbage() + "\n; c \xFF\n[Other]\n  Weird Key = sp  \nno equals\n";
    const struct {
        QByteArray before;
        const char *section, *key, *value;
        QByteArray after;
    } rows[] = {
        {kept + "[display]\nvolume = 100   \nbad=\xC3\x28\n", "Display", "VOLUME", "200",
         kept + "[display]\nvolume=200\nbad=\xC3\x28\n"},
        {"; kept\r\n[display]\r\nvolume=10\r\n\r\n[z]\r\nx=y", "display", "balance", "-3",
         "; kept\r\n[display]\r\nvolume=10\r\nbalance=-3\r\n\r\n[z]\r\nx=y"},
        {"[a]\r\nx=y", "equalizer", "db32", "", "[a]\r\nx=y\r\n[equalizer]\r\ndb32=\r\n"},
        {"\xEF\xBB\xBF[display]\r\nvolume=1\r\n", "display", "volume", "2",
         "\xEF\xBB\xBF[display]\r\nvolume=2\r\n"},
    };
    for (const auto& row : rows) {
        WriteFile(Path(), row.before);
        ASSERT_TRUE(Write(row.section, row.key, row.value)) << row.key;
        EXPECT_EQ(ReadFile(Path()), row.after) << row.key;
    }
    WriteFile(Path(), "[display]\nvolume= '\xe9t\xe9' \n");
    const QString latin1 = Read("display", "volume");
    QFile::remove(Path());
    ASSERT_TRUE(Write("display", "volume", latin1));
    EXPECT_EQ(ReadFile(Path()), "[display]\nvolume=\xe9t\xe9\n");
}

TEST_F(Profile, AWriteThatCannotHappenLeavesTheFileAsItWas)
{
    const QByteArray before = "[display]\nvolume=1\n";
    WriteFile(Path(), before);
    const struct {
        const char *section, *key, *value;
    } refused[] = {{"display", "volume", "1\n[x]"},
                   {"display", "a=b", "1"},
                   {"disp]lay", "volume", "1"},
                   {"", "volume", "1"}};
    for (const auto& row : refused)
        EXPECT_FALSE(Write(row.section, row.key, row.value)) << row.section << row.key;

    const QString underAFile = Path() + "/inner.ini";
    EXPECT_FALSE(WriteProfileString("display", "volume", "2", underAFile));
    EXPECT_EQ(ReadFile(Path()), before);
}

} // namespace
} // namespace quillet
