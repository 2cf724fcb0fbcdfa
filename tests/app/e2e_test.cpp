// The built program as a process on a real X display: it opens its window, a close request
// writes the settings beside the binary, and a second copy ends at once without touching the
// first. Each test runs its own copy of the program directory and its own runtime directory.
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"
#include "tests/support/xwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace quillet {
namespace {

const QString Title = QStringLiteral(" Quillet Jukebox");
constexpr int WindowTimeoutMs = 30000;

constexpr char AllKeysOrder[] = "[display]\ncontinuousPlay=%1\nsetTop=\nrandomOrder=\nvolume=\n"
                                "balance=\n[equalizer]\nequalizerPreset=\ndb32=\ndb64=\ndb130=\n"
                                "db260=\ndb500=\ndb1K=\ndb2K=\ndb4K=\ndb8K=\ndb16K=\n";

class Process : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || !m_x.Open())
            GTEST_SKIP() << "needs an X display (the test command starts one)";
        // A private program directory: the binary and what lives beside it.
        const QString source = QFileInfo(QStringLiteral(QUILLET_BINARY)).absolutePath();
        m_programDir = m_world.filePath("program");
        QDir().mkpath(m_programDir + "/PlayLists");
        QDir().mkpath(m_programDir + "/Skins");
        ASSERT_TRUE(QFile::copy(QUILLET_BINARY, Binary()));
        QFile::copy(source + "/help.htm", m_programDir + "/help.htm");
        QDir().mkpath(m_world.filePath("run"));
        QFile::setPermissions(m_world.filePath("run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override
    {
        for (QProcess* p : m_started)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        qDeleteAll(m_started);
    }
    QString Binary() const { return m_programDir + "/quillet-jukebox"; }
    QString IniPath() const { return m_programDir + "/xquilletmp3.ini"; }

    QProcess* Start(const QStringList& arguments)
    {
        auto* process = new QProcess;
        m_started.append(process);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_world.filePath("run"));
        env.remove("QT_QPA_PLATFORM");
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(Binary(), arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }
    QString TaggedMp3()
    {
        const QString wav = m_world.filePath("tone.wav");
        const QString mp3 = m_world.filePath("tagged song.mp3");
        fixtures::WriteWav(wav, fixtures::Tone(440, 0.5));
        fixtures::EncodeMp3(wav, mp3);
        fixtures::AppendId3v1(mp3, "Title", "Artist", "Album", "1999", "", 17);
        return mp3;
    }
    // The window's pixels once it has stopped changing (the first paint may still be on its
    // way when the window becomes viewable).
    QByteArray SettledPixels(unsigned long window)
    {
        QByteArray last = m_x.Pixels(window);
        for (int i = 0; i < 50; ++i) {
            QThread::msleep(100);
            const QByteArray now = m_x.Pixels(window);
            if (now == last)
                return now;
            last = now;
        }
        return last;
    }

    QTemporaryDir m_world;
    QString m_programDir;
    test::XDisplay m_x;
    QList<QProcess*> m_started;
};

TEST_F(Process, ACloseRequestWritesTheSixteenSettingsBesideTheBinary)
{
    test::WriteFile(IniPath(), "[display]\ncontinuousPlay=now and then\n");
    QProcess* player = Start({TaggedMp3()});
    const qint64 pid = player->processId();
    const unsigned long window = m_x.WaitForWindow(Title, pid, WindowTimeoutMs);
    ASSERT_NE(window, 0u) << "the window did not appear";

    ASSERT_TRUE(m_x.RequestClose(window));
    ASSERT_TRUE(player->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(player->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player->exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(test::ReadFile(IniPath())),
              QString(AllKeysOrder).arg("now and then"));
    EXPECT_TRUE(m_x.WindowsTitled(Title, pid).isEmpty());
}

TEST_F(Process, ASecondCopyEndsAtOnceAndLeavesTheFirstAsItWas)
{
    QProcess* first = Start({});
    const qint64 firstPid = first->processId();
    const unsigned long window = m_x.WaitForWindow(Title, firstPid, WindowTimeoutMs);
    ASSERT_NE(window, 0u) << "the window did not appear";
    const QByteArray before = SettledPixels(window);
    ASSERT_FALSE(before.isEmpty());

    QProcess* second = Start({TaggedMp3()});
    const qint64 secondPid = second->processId();
    ASSERT_TRUE(second->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(m_x.WindowsTitled(Title, secondPid).isEmpty());
    EXPECT_EQ(m_x.WindowsTitled(Title, firstPid), QList<unsigned long>{window});
    EXPECT_FALSE(QFile::exists(IniPath())); // the second copy wrote nothing

    // Had the file reached the first copy, its list would show an entry now.
    EXPECT_EQ(SettledPixels(window), before);

    ASSERT_TRUE(m_x.RequestClose(window));
    ASSERT_TRUE(first->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(test::ReadFile(IniPath())), QString(AllKeysOrder).arg(""));

    // With the first copy gone, the next one starts normally.
    QProcess* third = Start({});
    const unsigned long again = m_x.WaitForWindow(Title, third->processId(), WindowTimeoutMs);
    ASSERT_NE(again, 0u);
    m_x.RequestClose(again);
    ASSERT_TRUE(third->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(third->exitCode(), 0);
}

} // namespace
} // namespace quillet
