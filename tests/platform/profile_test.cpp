// The settings-file reader and writer on real files: what it reads from awkward files, and
// that a write changes exactly one line and nothing else, atomically.
#include "platform/profile.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace quillet {
namespace {

using test::ReadFile;
using test::WriteFile;

class Profile : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath("settings.ini"); }
    QString Read(const QString& section, const QString& key, int size = 255) const
    {
        return ReadProfileString(section, key, QStringLiteral("<default>"), size, Path());
    }
    QStringList FolderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    QTemporaryDir m_dir;
};

TEST_F(Profile, MissingOrEmptyFileGivesTheDefault)
{
    EXPECT_EQ(Read("display", "volume"), "<default>");
    WriteFile(Path(), "");
    EXPECT_EQ(Read("display", "volume"), "<default>");
    WriteFile(Path(), "[display]\nother=1\n");
    EXPECT_EQ(Read("display", "volume"), "<default>");
    EXPECT_EQ(Read("nosuch", "other"), "<default>");
}

TEST_F(Profile, NamesMatchInAnyCaseAndBlanksAndQuotesAreNotPartOfValues)
{
    WriteFile(Path(), "  [ Display ]  \n\tVOLUME  =  12000 \t\nname=\"a b \"\nbare=\n"
                      "q='x'\nodd=\"x'\n[equalizer]\nvolume=7\n");
    EXPECT_EQ(Read("display", "volume"), "12000");
    EXPECT_EQ(Read("DISPLAY", "Volume"), "12000");
    EXPECT_EQ(Read("display", "name"), "a b ");
    EXPECT_EQ(Read("display", "bare"), "");
    EXPECT_EQ(Read("display", "q"), "x");
    EXPECT_EQ(Read("display", "odd"), "\"x'");
    EXPECT_EQ(Read("equalizer", "volume"), "7");
}

TEST_F(Profile, FirstOfDuplicatedSectionsAndKeysIsReadAndRewritten)
{
    const QByteArray before = "[display]\nvolume=1\nvolume=2\n[display]\nvolume=3\nbalance=4\n";
    WriteFile(Path(), before);
    EXPECT_EQ(Read("display", "volume"), "1");
    EXPECT_EQ(Read("display", "balance"), "<default>"); // only in the second copy

    ASSERT_TRUE(WriteProfileString("display", "volume", "9", Path()));
    EXPECT_EQ(ReadFile(Path()), "[display]\nvolume=9\nvolume=2\n[display]\nvolume=3\nbalance=4\n");
    ASSERT_TRUE(WriteProfileString("display", "balance", "5", Path()));
    EXPECT_EQ(ReadFile(Path()),
              "[display]\nvolume=9\nvolume=2\nbalance=5\n[display]\nvolume=3\nbalance=4\n");
}

TEST_F(Profile, ReadsCrlfFilesAndKeepsEachFilesLineEnds)
{
    WriteFile(Path(), "; kept\r\n[display]\r\nvolume=10\r\n\r\n[zzz]\r\nx=y");
    EXPECT_EQ(Read("display", "volume"), "10");
    EXPECT_EQ(Read("zzz", "x"), "y");

    ASSERT_TRUE(WriteProfileString("display", "balance", "-3", Path()));
    ASSERT_TRUE(WriteProfileString("equalizer", "db32", "", Path()));
    EXPECT_EQ(ReadFile(Path()), "; kept\r\n[display]\r\nvolume=10\r\nbalance=-3\r\n\r\n[zzz]\r\n"
                                "x=y\r\n[equalizer]\r\ndb32=\r\n");

    WriteFile(Path(), "[display]\nvolume=10");
    ASSERT_TRUE(WriteProfileString("display", "setTop", "1", Path()));
    EXPECT_EQ(ReadFile(Path()), "[display]\nvolume=10\nsetTop=1\n");
}

TEST_F(Profile, FirstWriteCreatesTheFile)
{
    ASSERT_TRUE(WriteProfileString("display", "continuousPlay", "1", Path()));
    ASSERT_TRUE(WriteProfileString("display", "setTop", "", Path()));
    ASSERT_TRUE(WriteProfileString("equalizer", "equalizerPreset", "3", Path()));
    EXPECT_EQ(ReadFile(Path()),
              "[display]\ncontinuousPlay=1\nsetTop=\n[equalizer]\nequalizerPreset=3\n");
    EXPECT_EQ(FolderEntries(), QStringList{"settings.ini"}); // no temporary left over
}

TEST_F(Profile, UnknownContentSurvivesAWriteByteForByte)
{
    const QByteArray head = "\xEF\xBB\xBF; comment \xFF\xFE odd bytes\n\n[Other Section]\n"
                            "  Weird Key = spaced value  \nno equals sign here\n\n[display]\n"
                            "# hash comment\nvolume = 100   \nunknown=\xC3\x28\n";
    const QByteArray tail = "\n\n[tail]\nz=1\n";
    WriteFile(Path(), head + tail);

    ASSERT_TRUE(WriteProfileString("Display", "VOLUME", "200", Path()));
    QByteArray expected = head + tail;
    expected.replace("volume = 100   ", "volume=200");
    EXPECT_EQ(ReadFile(Path()), expected);

    // The same value again leaves the file as it is.
    ASSERT_TRUE(WriteProfileString("display", "volume", "200", Path()));
    EXPECT_EQ(ReadFile(Path()), expected);
}

TEST_F(Profile, LongValuesComeBackCutToTheBuffer)
{
    const QString longValue(10000, QLatin1Char('v'));
    ASSERT_TRUE(WriteProfileString("display", "volume", longValue, Path()));
    EXPECT_EQ(Read("display", "volume"), QString(254, QLatin1Char('v')));
    EXPECT_EQ(Read("display", "volume", 10000 + 1), longValue);
    EXPECT_EQ(Read("display", "volume", 1), "");
    EXPECT_EQ(Read("display", "volume", 0), "");
}

TEST_F(Profile, BinaryGarbageNeverBreaksReadingOrWriting)
{
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i)
        garbage.append(char((i * 7919 + (i >> 3)) & 0xFF));
    garbage.append("\n[display]\nvolume=5\n");
    WriteFile(Path(), garbage);
    EXPECT_EQ(Read("display", "volume"), "5");
    EXPECT_EQ(Read("equalizer", "db32"), "<default>");

    ASSERT_TRUE(WriteProfileString("display", "volume", "6", Path()));
    QByteArray expected = garbage;
    expected.replace("volume=5", "volume=6");
    EXPECT_EQ(ReadFile(Path()), expected);
}

TEST_F(Profile, TextThatWouldBreakTheFormatIsRefused)
{
    const QByteArray before = "[display]\nvolume=1\n";
    WriteFile(Path(), before);
    EXPECT_FALSE(WriteProfileString("display", "volume", "1\n[evil]\nx=1", Path()));
    EXPECT_FALSE(WriteProfileString("display", "volume", "1\r", Path()));
    EXPECT_FALSE(WriteProfileString("display", "a=b", "1", Path()));
    EXPECT_FALSE(WriteProfileString("disp]lay", "volume", "1", Path()));
    EXPECT_FALSE(WriteProfileString("", "volume", "1", Path()));
    EXPECT_FALSE(WriteProfileString("display", " ", "1", Path()));
    EXPECT_EQ(ReadFile(Path()), before);
}

// Runs write in a process that may not write into the folder: as an unprivileged user when
// the tests run as root (root may write anywhere), else in this process after a chmod.
bool WriteWithoutPermission(const QString& folder, const std::function<bool()>& write)
{
    if (geteuid() != 0) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const bool result = write();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return result;
    }
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(write() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        ADD_FAILURE() << "could not run the write without permission";
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST_F(Profile, AWriteThatCannotHappenLeavesTheFileAsItWas)
{
    const QByteArray before = "[display]\nvolume=1\n";
    WriteFile(Path(), before);
    QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(Path(), QFileDevice::Permissions(0x6644));

    EXPECT_FALSE(WriteWithoutPermission(
        m_dir.path(), [this] { return WriteProfileString("display", "volume", "2", Path()); }));
    EXPECT_EQ(ReadFile(Path()), before);
    EXPECT_EQ(FolderEntries(), QStringList{"settings.ini"});

    // A folder that does not exist (its "parent" is a file): nothing is created anywhere.
    const QString underAFile = Path() + "/inner.ini";
    EXPECT_FALSE(WriteProfileString("display", "volume", "2", underAFile));
    EXPECT_EQ(ReadFile(Path()), before);
    EXPECT_EQ(ReadProfileString("display", "volume", "d", 255, underAFile), "d");
}

} // namespace
} // namespace quillet
