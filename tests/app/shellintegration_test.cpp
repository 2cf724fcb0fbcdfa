// The start-up association on the user's real files in private base directories: what a
// clean start writes, which entries are left alone, that the audio-CD command really runs
// the program, and the read-everything-first order against a recording store.
#include "app/shellintegration.h"
#include "tests/platform/privatexdg.h"
#include "tests/support/testsupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <unistd.h>

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

class ShellIntegration : public ::testing::Test {
protected:
    QString AudioCdEntryPath() const { return m_xdg.Applications() + "/" + AudioCdDesktopId; }
    test::PrivateXdg m_xdg;
};

TEST_F(ShellIntegration, ACleanStartWritesAllSixAndTheAudioCdCommand)
{
    StartupAssociation("/opt/Quillet Jukebox/");
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()), "[Default Applications]\n"
                                          "x-content/audio-cdda=QuilletJukebox.AudioCD.desktop\n"
                                          "audio/mpeg=QuilletJukebox.Document.desktop\n"
                                          "audio/mp2=QuilletJukebox.Document.desktop\n"
                                          "audio/x-mp1=QuilletJukebox.Document.desktop\n"
                                          "application/x-cda=QuilletJukebox.Document.desktop\n"
                                          "audio/x-wav=QuilletJukebox.Document.desktop\n");
    EXPECT_EQ(ReadFile(AudioCdEntryPath()),
              AudioCdEntry("\"/opt/Quillet Jukebox/quillet-jukebox\" LCDA"));
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

TEST_F(ShellIntegration, NothingWritableMeansNothingWrittenAndNoComplaint)
{
    WriteFile(m_xdg.Path("file"), "x");
    test::PrivateXdg::Set("XDG_CONFIG_HOME", m_xdg.Path("file/config"));
    test::PrivateXdg::Set("XDG_DATA_HOME", m_xdg.Path("file/data"));
    StartupAssociation("/opt/quillet/");
    EXPECT_EQ(ReadFile(m_xdg.Path("file")), "x");

    if (geteuid() == 0)
        return; // permissions do not bind the superuser
    test::PrivateXdg::Set("XDG_CONFIG_HOME", m_xdg.Config());
    test::PrivateXdg::Set("XDG_DATA_HOME", m_xdg.Data());
    const QByteArray list = "[Default Applications]\naudio/mpeg=other.desktop\n";
    WriteFile(m_xdg.MimeApps(), list);
    QDir().mkpath(m_xdg.Applications());
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
    QFile::setPermissions(m_xdg.Config(), readOnly);
    QFile::setPermissions(m_xdg.Applications(), readOnly);
    StartupAssociation("/opt/quillet/");
    QFile::setPermissions(m_xdg.Config(), readOnly | QFile::WriteOwner);
    QFile::setPermissions(m_xdg.Applications(), readOnly | QFile::WriteOwner);
    EXPECT_EQ(ReadFile(m_xdg.MimeApps()), list);
    EXPECT_EQ(QDir(m_xdg.Config()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"mimeapps.list"});
    EXPECT_FALSE(QFileInfo::exists(AudioCdEntryPath()));
}

// The command as a desktop launcher really runs it: the program in an awkward directory is
// started with the verb.
TEST_F(ShellIntegration, TheAudioCdCommandStartsTheProgramWithTheVerb)
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
    QProcess launch;
    launch.start(gio, {"launch", AudioCdEntryPath()});
    ASSERT_TRUE(launch.waitForFinished(10000));
    QDeadlineTimer deadline(8000);
    while (ReadFile(record).isEmpty() && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_EQ(ReadFile(record), "LCDA|") << launch.readAllStandardError().toStdString();
}

// Records every call in order; Read answers from a table.
class RecordingStore : public AssociationStore {
public:
    QString Read(const QString& mimeType) override
    {
        calls << "read " + mimeType;
        return values.value(mimeType);
    }
    bool Write(const QString& mimeType, const QString& desktopId) override
    {
        calls << "write " + mimeType + "=" + desktopId;
        return true;
    }
    bool HasEntry(const QString& desktopId) override
    {
        calls << "has " + desktopId;
        return entryPresent;
    }
    bool WriteEntry(const QString& desktopId, const QByteArray& content) override
    {
        calls << "entry " + desktopId;
        return entryWritable;
    }
    QMap<QString, QString> values;
    bool entryPresent = false;
    bool entryWritable = true;
    QStringList calls;
};

TEST(StartupAssociation, ReadsAllFirstThenWritesInOrderTheAudioCdEntryBeforeItsAssociation)
{
    const QStringList reads{"read x-content/audio-cdda",
                            "read audio/mpeg",
                            "read audio/mp2",
                            "read audio/x-mp1",
                            "read application/x-cda",
                            "read audio/x-wav",
                            "has QuilletJukebox.AudioCD.desktop"};
    const QStringList documentWrites{"write audio/mpeg=QuilletJukebox.Document.desktop",
                                     "write audio/mp2=QuilletJukebox.Document.desktop",
                                     "write audio/x-mp1=QuilletJukebox.Document.desktop",
                                     "write application/x-cda=QuilletJukebox.Document.desktop",
                                     "write audio/x-wav=QuilletJukebox.Document.desktop"};
    const QString entry = "entry QuilletJukebox.AudioCD.desktop";

    RecordingStore clean;
    StartupAssociation(clean, "/opt/q/");
    const QStringList audioCdWrites{entry,
                                    "write x-content/audio-cdda=QuilletJukebox.AudioCD.desktop"};
    EXPECT_EQ(clean.calls, reads + audioCdWrites + documentWrites);

    // The command cannot be written: its association stays as it was, the rest go on.
    RecordingStore unwritable;
    unwritable.entryWritable = false;
    StartupAssociation(unwritable, "/opt/q/");
    EXPECT_EQ(unwritable.calls, reads + QStringList{entry} + documentWrites);

    // Ours, but its command is gone: only the command is written again.
    RecordingStore lost;
    lost.values["x-content/audio-cdda"] = "QuilletJukebox.AudioCD.desktop";
    StartupAssociation(lost, "/opt/q/");
    EXPECT_EQ(lost.calls, reads + QStringList{entry} + documentWrites);
}

} // namespace
} // namespace quillet
