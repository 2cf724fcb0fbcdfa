// The built program as a process on a real X display: a second copy ends at once without
// touching the first, and a close request writes the settings beside the binary. The test
// runs its own copy of the program directory and its own runtime directory.
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"
#include "tests/support/xwindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillet {
namespace {

const QString Title = QStringLiteral(" Quillet Jukebox");
constexpr int WindowTimeoutMs = 30000;

// The window's pixels once they stop changing (the first paint may still be coming).
QByteArray SettledPixels(test::XDisplay& x, unsigned long window)
{
    QByteArray last = x.Pixels(window);
    for (int i = 0; i < 50; ++i) {
        QThread::msleep(100);
        const QByteArray now = x.Pixels(window);
        if (now == last)
            return now;
        last = now;
    }
    return last;
}

TEST(Process, ASecondCopyEndsAtOnceAndACloseRequestWritesTheSixteenSettings)
{
    test::XDisplay x;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !x.Open())
        GTEST_SKIP() << "needs an X display (the test command starts one)";
    // A private program directory (the binary alone) and runtime directory.
    QTemporaryDir world;
    const QString binary = world.filePath("program/quillet-jukebox");
    const QString iniPath = world.filePath("program/xquilletmp3.ini");
    QDir().mkpath(world.filePath("program"));
    ASSERT_TRUE(QFile::copy(QUILLET_BINARY, binary));
    QDir().mkpath(world.filePath("run"));
    QFile::setPermissions(world.filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    std::vector<std::unique_ptr<QProcess>> started; // killed, if still running, at the end
    auto Start = [&](const QStringList& arguments) {
        QProcess* process = started.emplace_back(std::make_unique<QProcess>()).get();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", world.filePath("run"));
        env.remove("QT_QPA_PLATFORM");
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(binary, arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    };

    test::WriteFile(iniPath, "[display]\ncontinuousPlay=now and then\n");
    QProcess* first = Start({});
    const qint64 firstPid = first->processId();
    const unsigned long window = x.WaitForWindow(Title, firstPid, WindowTimeoutMs);
    ASSERT_NE(window, 0u) << "the window did not appear";
    const QByteArray before = SettledPixels(x, window);
    ASSERT_FALSE(before.isEmpty());

    const QString song = world.filePath("song.wav");
    fixtures::WriteWav(song, fixtures::Tone(440, 0.5));
    QProcess* second = Start({song});
    const qint64 secondPid = second->processId();
    ASSERT_TRUE(second->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(x.WindowsTitled(Title, secondPid).isEmpty());
    EXPECT_EQ(x.WindowsTitled(Title, firstPid), QList<unsigned long>{window});
    EXPECT_EQ(test::ReadFile(iniPath), "[display]\ncontinuousPlay=now and then\n");
    EXPECT_EQ(SettledPixels(x, window), before); // the file never reached the first copy's list

    ASSERT_TRUE(x.RequestClose(window));
    ASSERT_TRUE(first->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(test::ReadFile(iniPath),
              "[display]\ncontinuousPlay=now and then\nsetTop=\nrandomOrder=\nvolume=\n"
              "balance=\n[equalizer]\nequalizerPreset=\ndb32=\ndb64=\ndb130=\n"
              "db260=\ndb500=\ndb1K=\ndb2K=\ndb4K=\ndb8K=\ndb16K=\n");
    EXPECT_TRUE(x.WindowsTitled(Title, firstPid).isEmpty());
}

} // namespace
} // namespace quillet
