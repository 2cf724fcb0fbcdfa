// The built program as a user meets it, on a real X display with the private sound server:
// started with a playlist file, a second copy that ends at once and hands its file over, its
// Play and Stop buttons clicked with the pointer at their places, what the sink plays
// captured, and a close request that writes the settings beside the binary.
#include "tests/app/heardtracks.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"
#include "tests/support/xwindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillet {
namespace {

const QString Title = QStringLiteral(" Quillet Jukebox");
constexpr int WindowTimeoutMs = 30000;

// Moves the pointer to (x, y) of the window's client area and clicks the left button.
void ClickAt(unsigned long window, int x, int y)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"mousemove", "--window", QString::number(window), QString::number(x),
                              QString::number(y), "click", "1"});
    ASSERT_TRUE(xdotool.waitForFinished(10000));
    ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
}

// What the sink plays over the next `ms`.
std::vector<test::HeardStretch> HeardWithin(test::SoundCapture& capture, int ms)
{
    capture.Clear();
    QTest::qWait(ms);
    return test::HeardStretches(capture.Samples());
}

TEST(WindowEndToEnd, ASecondCopyHandsItsFileOverPlayAndStopAreHeardAndCloseWritesTheSettings)
{
    test::XDisplay x;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !x.Open())
        GTEST_SKIP() << "needs an X display (the test command starts one)";
    test::SoundCapture capture;
    ASSERT_TRUE(capture.Running())
        << "needs the private sound server (the test command starts one)";

    // A program directory of its own (the binary, its skin, a settings file), a playlist of
    // one tone and a runtime directory of its own.
    QTemporaryDir world;
    const QDir program(world.filePath("program"));
    QDir().mkpath(program.filePath("Skins"));
    ASSERT_TRUE(QFile::copy(QUILLET_BINARY, program.filePath("quillet-jukebox")));
    ASSERT_TRUE(QFile::copy(QUILLET_SKIN, program.filePath("Skins/default.skn")));
    const QString ini = program.filePath("xquilletmp3.ini");
    test::WriteFile(ini, "[display]\ncontinuousPlay=now and then\n");
    const QString tone = world.filePath("tone.wav"), other = world.filePath("other.wav");
    fixtures::WriteWav(tone, fixtures::Tone(440, 20));
    fixtures::WriteWav(other, fixtures::Tone(880, 5));
    const QString list = world.filePath("one.qlt");
    test::WriteFile(list, (tone + "\r\n").toUtf8());
    QDir().mkpath(world.filePath("run"));
    QFile::setPermissions(world.filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    std::vector<std::unique_ptr<QProcess>> started; // killed, if still running, at the end
    const auto Start = [&](const QString& argument) {
        QProcess* process = started.emplace_back(std::make_unique<QProcess>()).get();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", world.filePath("run"));
        env.remove("QT_QPA_PLATFORM");
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program.filePath("quillet-jukebox"), {argument});
        EXPECT_TRUE(process->waitForStarted());
        return process;
    };

    QProcess* first = Start(list);
    const unsigned long window = x.WaitForWindow(Title, first->processId(), WindowTimeoutMs);
    ASSERT_NE(window, 0u) << "the window did not appear";

    // A second copy with a file to play: it ends without a window and without touching the
    // settings; the running copy adds the file and plays it.
    EXPECT_TRUE(HeardWithin(capture, 1000).empty()) << "sound before anything was played";
    QProcess* second = Start(other);
    const qint64 secondPid = second->processId();
    ASSERT_TRUE(second->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(x.WindowsTitled(Title, secondPid).isEmpty());
    std::vector<test::HeardStretch> heard = HeardWithin(capture, 1500);
    ASSERT_FALSE(heard.empty()) << "the handed-over file was not played";
    EXPECT_NEAR(heard.back().hz, 880, 5);
    EXPECT_EQ(test::ReadFile(ini), "[display]\ncontinuousPlay=now and then\n");

    ClickAt(window, 69 + 11, 88 + 9); // Stop
    QTest::qWait(400);
    EXPECT_TRUE(HeardWithin(capture, 1000).empty()) << "sound after Stop";

    ClickAt(window, 16 + 13, 88 + 9); // Play: the selected entry, the one handed over
    heard = HeardWithin(capture, 1500);
    ASSERT_FALSE(heard.empty()) << "Play was clicked, nothing was heard";
    EXPECT_NEAR(heard.back().hz, 880, 5);
    EXPECT_GT(heard.back().Ms(), 500);
    ClickAt(window, 69 + 11, 88 + 9);

    ASSERT_TRUE(x.RequestClose(window));
    ASSERT_TRUE(first->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(test::ReadFile(ini),
              "[display]\ncontinuousPlay=now and then\nsetTop=\nrandomOrder=\nvolume=\n"
              "balance=\n[equalizer]\nequalizerPreset=\ndb32=\ndb64=\ndb130=\n"
              "db260=\ndb500=\ndb1K=\ndb2K=\ndb4K=\ndb8K=\ndb16K=\n");
}

} // namespace
} // namespace quillet
