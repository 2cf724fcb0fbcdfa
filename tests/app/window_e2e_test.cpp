// The built program as a user meets it: started with a playlist file on a real X display and
// the private sound server, its Play and Stop buttons clicked with the pointer at their
// places, what the sink plays captured, and the window closed.
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

namespace quillet {
namespace {

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

TEST(WindowEndToEnd, PlayAndStopClickedAtTheirPlacesAreHeardAndCloseWritesTheSettings)
{
    test::XDisplay x;
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !x.Open())
        GTEST_SKIP() << "needs an X display (the test command starts one)";
    test::SoundCapture capture;
    ASSERT_TRUE(capture.Running())
        << "needs the private sound server (the test command starts one)";

    // A program directory of its own: the binary, its skin and a playlist of one tone.
    QTemporaryDir world;
    const QDir program(world.filePath("program"));
    QDir().mkpath(program.filePath("Skins"));
    ASSERT_TRUE(QFile::copy(QUILLET_BINARY, program.filePath("quillet-jukebox")));
    ASSERT_TRUE(QFile::copy(QUILLET_SKIN, program.filePath("Skins/default.skn")));
    const QString tone = world.filePath("tone.wav");
    fixtures::WriteWav(tone, fixtures::Tone(440, 20));
    const QString list = world.filePath("one.qlt");
    test::WriteFile(list, (tone + "\r\n").toUtf8());
    QDir().mkpath(world.filePath("run"));
    QFile::setPermissions(world.filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", world.filePath("run"));
    env.insert("XDG_CONFIG_HOME", world.filePath("config"));
    env.insert("XDG_DATA_HOME", world.filePath("data"));
    env.remove("QT_QPA_PLATFORM");
    player.setProcessEnvironment(env);
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player.start(program.filePath("quillet-jukebox"), {list});
    ASSERT_TRUE(player.waitForStarted());
    const unsigned long window =
        x.WaitForWindow(" Quillet Jukebox", player.processId(), WindowTimeoutMs);
    ASSERT_NE(window, 0u) << "the window did not appear";
    QTest::qWait(500); // loaded, not playing: nothing sounds
    capture.Clear();

    ClickAt(window, 16 + 13, 88 + 9); // Play
    QTest::qWait(1500);
    const std::vector<test::HeardStretch> heard = test::HeardStretches(capture.Samples());
    ASSERT_FALSE(heard.empty()) << "Play was clicked, nothing was heard";
    EXPECT_NEAR(heard.back().hz, 440, 5);
    EXPECT_GT(heard.back().Ms(), 500);

    ClickAt(window, 69 + 11, 88 + 9); // Stop
    QTest::qWait(400);
    capture.Clear();
    QTest::qWait(1000);
    EXPECT_TRUE(test::HeardStretches(capture.Samples()).empty()) << "sound after Stop";

    ASSERT_TRUE(x.RequestClose(window));
    ASSERT_TRUE(player.waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(player.exitCode(), 0);
    const QString settings = QString::fromUtf8(test::ReadFile(program.filePath("xquilletmp3.ini")));
    EXPECT_TRUE(settings.startsWith("[display]\ncontinuousPlay=")) << settings.toStdString();
    EXPECT_TRUE(settings.contains("\nequalizerPreset=")) << settings.toStdString();
}

} // namespace
} // namespace quillet
