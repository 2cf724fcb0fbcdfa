// How settings texts become switches and numbers, and the settings file.
#include "app/settings.h"
#include "platform/bytetext.h"
#include "tests/support/fullfilesystem.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>

namespace quillet {
namespace {

TEST(Settings, SwitchesAndWholeNumbers)
{
    EXPECT_TRUE(IsOn("1"));
    for (const char* text : {"", "0", " 1", "1 ", "01", "true", "-1", "yes please"})
        EXPECT_FALSE(IsOn(text)) << text;

    const struct {
        const char* text;
        int number;
    } numbers[] = {{" -8000 ", -8000}, {"+7", 7},         {"2.5", 2}, {"3.5", 4},
                   {"-2.5", -2},       {"2.51", 3},       {".5", 0},  {"1e3", 1000},
                   {"32767", 32767},   {"-32768", -32768}};
    for (const auto& row : numbers)
        EXPECT_EQ(ToWholeNumber(row.text), row.number) << row.text;
    for (const char* text : {"", " ", "abc", "12abc", "1 2", "--1", "0x10", "inf", "nan", "1e",
                             "\xD9\xA1", ".", "1e400"})
        EXPECT_THROW((void)ToWholeNumber(QString::fromUtf8(text)), std::invalid_argument) << text;
    EXPECT_THROW((void)ToWholeNumber("32768"), std::out_of_range);
    EXPECT_THROW((void)ToWholeNumber("-40000"), std::out_of_range);
}

// Reads every key from the file a start reads, as the load sequence does.
Settings ReadAll(const QString& path)
{
    Settings settings;
    for (int key = 0; key < SettingCount; ++key)
        settings.Read(SettingKey(key), path);
    return settings;
}

// The equalizer section as a close adds it to a file without one.
const QByteArray EqualizerLines = "[equalizer]\nequalizerPreset=\ndb32=\ndb64=\ndb130=\ndb260=\n"
                                  "db500=\ndb1K=\ndb2K=\ndb4K=\ndb8K=\ndb16K=\n";

// The close writes every key in one rewrite, keeping every other byte (a byte-order mark, a
// value that is not UTF-8); a write the disk refuses leaves the file byte for byte; a file that
// would block is never read nor replaced. (Every way a read or a write can fail is the file
// functions' own test; here only what the settings make of it.)
TEST(SettingsFile, OneRewriteAtCloseOrNoneAtAll)
{
    QTemporaryDir dir;
    const SettingsFiles files = SettingsFilesFor(dir.path() + "/");
    ASSERT_EQ(files.read, dir.path() + "/xquilletmp3.ini");
    ASSERT_EQ(files.write, files.read);
    const QByteArray stored = "\xEF\xBB\xBF[display]\ncontinuousPlay=\xE9t\xE9\nvolume=9000\n";
    const auto closeOnce = [&] {
        Settings settings = ReadAll(files.read);
        const QString read = settings[SettingKey::volume] + "|" +
                             BytesFromText(settings[SettingKey::continuousPlay]).toHex();
        settings[SettingKey::setTop] = "1";
        const int error = settings.WriteAll(files);
        const QStringList temporaries =
            QDir(dir.path()).entryList({".*"}, QDir::Files | QDir::Hidden);
        return QString("read %1, error %2, temporaries [%3], file: ")
                   .arg(read)
                   .arg(error)
                   .arg(temporaries.join(',')) +
               QString::fromLatin1(test::ReadFile(files.read));
    };
    const QString read = "read 9000|e974e9, ";
    test::WriteFile(files.read, stored);
    EXPECT_EQ(test::WithFileSizeLimit(60, closeOnce),
              read + "error 27, temporaries [], file: " + QString::fromLatin1(stored));
    EXPECT_EQ(closeOnce(), read + "error 0, temporaries [], file: " +
                               QString::fromLatin1(stored + "setTop=1\nrandomOrder=\nbalance=\n" +
                                                   EqualizerLines));

    QFile::remove(files.read);
    ::mkfifo(QFile::encodeName(files.read).constData(), 0600);
    Settings settings = ReadAll(files.read);
    EXPECT_EQ(settings[SettingKey::volume], "");
    settings[SettingKey::setTop] = "1";
    EXPECT_NE(settings.WriteAll(files), 0);
    EXPECT_EQ(test::FileKind(files.read), "no file"); // still the pipe
}

// A program directory the user cannot write: the file beside the binary is read; the run's
// settings, every value carried over, go to the user's configuration folder; each start reads
// the newer of the two.
TEST(SettingsFile, AReadOnlyProgramDirectoryKeepsEveryValueInTheUsersFolder)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("program") + "/", config = dir.filePath("config");
    ASSERT_TRUE(QDir().mkpath(program) && QDir().mkpath(config + "/quillet-jukebox"));
    for (const QString& folder : {dir.path(), config, config + "/quillet-jukebox"})
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    const QByteArray installed = "; installed\n[display]\nvolume=9000\ncontinuousPlay=\xE9\n"
                                 "[extra]\nkeep=me\n";
    test::WriteFile(program + "xquilletmp3.ini", installed);
    const QString own = config + "/quillet-jukebox/xquilletmp3.ini";
    test::WriteFile(own, "[display]\nvolume=1\n"); // older than the installed file
    QFile::setPermissions(own, QFileDevice::Permissions(0x6666));
    const timespec longAgo[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(own).constData(), longAgo, 0), 0);

    QString skipReason;
    const std::optional<QString> report = test::WithoutWriteRight(
        program,
        [&] {
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
            QString seen;
            for (int start = 1; start <= 2; ++start) {
                const SettingsFiles files = SettingsFilesFor(program);
                Settings settings = ReadAll(files.read);
                seen += QString("start %1 reads %2, writes %3, volume %4, setTop %5; ")
                            .arg(start)
                            .arg(QFileInfo(files.read).dir().dirName(),
                                 QFileInfo(files.write).dir().dirName(),
                                 settings[SettingKey::volume], settings[SettingKey::setTop]);
                settings[SettingKey::setTop] = "1";
                seen += QString("error %1; ").arg(settings.WriteAll(files));
            }
            return seen;
        },
        skipReason);
    if (!report)
        GTEST_SKIP() << skipReason.toStdString();
    EXPECT_EQ(*report, "start 1 reads program, writes quillet-jukebox, volume 9000, setTop ; "
                       "error 0; start 2 reads quillet-jukebox, writes quillet-jukebox, "
                       "volume 9000, setTop 1; error 0; ");
    EXPECT_EQ(test::ReadFile(program + "xquilletmp3.ini"), installed);
    EXPECT_EQ(test::ReadFile(own),
              "; installed\n[display]\nvolume=9000\ncontinuousPlay=\xE9\nsetTop=1\nrandomOrder=\n"
              "balance=\n[extra]\nkeep=me\n" +
                  EqualizerLines);
}

} // namespace
} // namespace quillet
