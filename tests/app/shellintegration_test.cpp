// The start-up association on the user's real files in private base directories: what a
// clean start writes, which entries are left alone or written again, what happens where
// nothing can be written, and that the audio-CD command really runs the program.
#include "app/shellintegration.h"
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::ReadFile;
using test::WriteFile;

QByteArray AudioCdEntry(const QByteArray& exec)
{
    return "[Desktop Entry]\nType=Application\nName=Quillet Jukebox\nIcon=quillet-jukebox\n"
           "Exec=" +
           exec + "\nMimeType=x-content/audio-cdda;\nNoDisplay=true\nTerminal=false\n";
}

const QByteArray DocumentLines = "audio/mpeg=QuilletJukebox.Document.desktop\n"
                                 "audio/mp2=QuilletJukebox.Document.desktop\n"
                                 "audio/x-mp1=QuilletJukebox.Document.desktop\n"
                                 "application/x-cda=QuilletJukebox.Document.desktop\n"
                                 "audio/x-wav=QuilletJukebox.Document.desktop\n";

class ShellIntegration : public ::testing::Test {
protected:
    QString AudioCdEntryPath() const { return m_xdg.Applications() + "/" + AudioCdDesktopId; }
    test::PrivateXdg m_xdg;
};

TEST_F(ShellIntegration,
       ACleanStartWritesAllSixALostCommandIsWrittenAgainAndWhatCannotBeWrittenIsLeft)
{
    StartupAssociation("/opt/Quillet Jukebox/");
    const QByteArray all = "[Default Applications]\n"
                           "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n" +
                           DocumentLines;
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()), all);
    EXPECT_EQ(ReadFile(AudioCdEntryPath()),
              AudioCdEntry("\"/opt/Quillet Jukebox/quillet-jukebox\" LCDA"));
    const QString document = m_xdg.Applications() + "/" + DocumentDesktopId;
    EXPECT_EQ(ReadFile(document), DocumentDesktopEntry("/opt/Quillet Jukebox/"));
    EXPECT_TRUE(ReadFile(document).contains("Exec=\"/opt/Quillet Jukebox/quillet-jukebox\" %F\n"));

    // Ours, but its command is gone: only the command is written, from this start.
    QFile::remove(AudioCdEntryPath());
    StartupAssociation("/home/ann/Moved/");
    EXPECT_EQ(ReadFile(AudioCdEntryPath()), AudioCdEntry("/home/ann/Moved/quillet-jukebox LCDA"));
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()), all);

    // The command cannot be written: the audio CDs stay with their program, the rest go on.
    WriteFile(m_xdg.Path("file"), "x");
    test::PrivateXdg::Set("XDG_DATA_HOME", m_xdg.Path("file/data"));
    WriteFile(m_xdg.MimeApps(), "[Default Applications]\nx-content/audio-cdda=cd.desktop\n");
    StartupAssociation("/opt/quillet/");
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()),
              "[Default Applications]\nx-content/audio-cdda=cd.desktop\n" + DocumentLines);
    // Nothing can be written: left quietly.
    test::PrivateXdg::Set("XDG_CONFIG_HOME", m_xdg.Path("file/config"));
    StartupAssociation("/opt/quillet/");
    EXPECT_EQ(ReadFile(m_xdg.Path("file")), "x");
}

TEST_F(ShellIntegration, EntriesNamingUsAreLeftAloneOthersTakenBackTheRestKeptByteForByte)
{
    const QByteArray oldEntry = AudioCdEntry("/usr/lib/quillet-jukebox/quillet-jukebox LCDA");
    WriteFile(AudioCdEntryPath(), oldEntry);
    // Ours in any case and with fallbacks after it: kept; others, fallbacks after them and
    // empty values: taken back.
    const QByteArray kept = "# my associations\n"
                            "[Added Associations]\n"
                            "audio/x-wav=other-player.desktop;\n"
                            "\n"
                            "[Default Applications]\n"
                            "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n"
                            "audio/mpeg=quilletjukebox.document.desktop\n"
                            "audio/mp2=QuilletJukebox.Document.desktop;other-player.desktop;\n";
    const QByteArray keptAfter = "text/html=browser.desktop\n"
                                 "\n"
                                 "[Removed Associations]\n"
                                 "audio/mpeg=another.desktop\n";
    WriteFile(m_xdg.MimeApps(),
              kept +
                  "audio/x-mp1=other-player.desktop;QuilletJukebox.Document.desktop;\n"
                  "application/x-cda=\n"
                  "audio/x-wav=other-player.desktop\n" +
                  keptAfter);

    StartupAssociation("/home/ann/Moved/");

    EXPECT_EQ(ReadFile(m_xdg.MimeApps()), kept +
                                              "audio/x-mp1=QuilletJukebox.Document.desktop\n"
                                              "application/x-cda=QuilletJukebox.Document.desktop\n"
                                              "audio/x-wav=QuilletJukebox.Document.desktop\n" +
                                              keptAfter);
    EXPECT_EQ(ReadFile(AudioCdEntryPath()), oldEntry) << "keeps its first directory";

    // Another program took the audio CDs: taken back with the directory of this start.
    WriteFile(m_xdg.MimeApps(), "[Default Applications]\nx-content/audio-cdda=cd-ripper.desktop\n");
    StartupAssociation("/home/ann/Moved/");
    EXPECT_EQ(ReadFile(AudioCdEntryPath()), AudioCdEntry("/home/ann/Moved/quillet-jukebox LCDA"));
    EXPECT_TRUE(ReadFile(m_xdg.MimeApps())
                    .startsWith("[Default Applications]\n"
                                "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n"));
}

// The commands as a desktop launcher really run them: the program in an awkward directory
// is started with the verb, and opening MP3 files through the desktop starts it with them.
TEST_F(ShellIntegration, TheAudioCdCommandStartsTheProgramWithTheVerbAndTheFilesOpenWithIt)
{
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty())
        GTEST_SKIP() << "needs gio to launch desktop entries";
    const QString programDir = m_xdg.Path("Music $HOME 'n \"quotes\" \\ (1)/");
    const QString record = m_xdg.Path("arguments.txt");
    const QString program = programDir + "quillet-jukebox";
    WriteFile(program, "#!/bin/sh\nprintf '%s|' \"$@\" > '" + record.toUtf8() + "'\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    StartupAssociation(programDir);
    // What the program was started with, once the desktop has started it.
    const auto startedWith = [&](const QStringList& gioArguments) {
        QFile::remove(record);
        QProcess gioRun;
        gioRun.start(gio, gioArguments);
        EXPECT_TRUE(gioRun.waitForFinished(10000));
        QDeadlineTimer deadline(8000);
        while (ReadFile(record).isEmpty() && !deadline.hasExpired())
            QThread::msleep(50);
        return ReadFile(record) + gioRun.readAllStandardError();
    };
    EXPECT_EQ(startedWith({"launch", AudioCdEntryPath()}), "LCDA|");
    const QString song = m_xdg.Path("a 'song'.mp3");
    WriteFile(song, QByteArray(4096, '\0'));
    EXPECT_EQ(startedWith({"open", song}), song.toUtf8() + "|");
}

} // namespace
} // namespace quillet
