// The program as a user meets it, installed into an awkward prefix and started through its
// launcher link, on a real X display, the private session bus and sound server: files opened
// from the desktop (gio, through the entry the program writes at start) and by later copies
// reach the running copy (one MP3 in an awkward folder, several files at once), its Stop and
// Play buttons clicked with the pointer at their places, and bus clients (playerctl, gdbus)
// call every method and see each change announced, while what plays is heard; Quit closes
// like the close box and writes the settings in the program's real directory.
#include "tests/app/heardtracks.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillet {
namespace {

const QString Title = QStringLiteral(" Quillet Jukebox");
const QString Bus = QStringLiteral("org.mpris.MediaPlayer2.quillet_jukebox");
constexpr int WindowTimeoutMs = 30000;

// What a command prints; empty when it fails.
QString Output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(15000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString Playerctl(const QStringList& arguments)
{
    return Output("playerctl", QStringList{"-p", "quillet_jukebox"} + arguments);
}

QString Property(const QString& interface, const QString& name)
{
    return Output("gdbus", {"call", "--session", "-d", Bus, "-o", "/org/mpris/MediaPlayer2", "-m",
                            "org.freedesktop.DBus.Properties.Get", interface, name});
}

// The id of the viewable window titled Title of process pid (never another test's window);
// empty when there is none.
QString WindowOf(qint64 pid)
{
    return Output("xdotool", {"search", "--all", "--onlyvisible", "--pid", QString::number(pid),
                              "--name", "^" + Title + "$"})
        .section('\n', 0, 0);
}

// Moves the pointer to (x, y) of the window's client area and clicks the left button.
void ClickAt(unsigned long window, int x, int y)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"mousemove", "--window", QString::number(window), QString::number(x),
                              QString::number(y), "click", "1"});
    ASSERT_TRUE(xdotool.waitForFinished(10000));
    ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
}

// The pitch heard at the end of the next `ms`, after what was under way has settled and
// reached the capture; 0 for silence.
double PitchWithin(test::SoundCapture& capture, int ms)
{
    QTest::qWait(400);
    capture.Clear();
    QTest::qWait(ms);
    const std::vector<test::HeardStretch> heard = test::HeardStretches(capture.Samples());
    return heard.empty() || heard.back().Ms() < 300 ? 0 : heard.back().hz;
}

TEST(DesktopEndToEnd, FilesFromTheDesktopAndBusClientsDriveTheRunningCopy)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display (the test command starts one)";
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ||
        QStandardPaths::findExecutable("playerctl").isEmpty())
        GTEST_SKIP() << "needs a session bus and playerctl (the test command starts the bus)";
    test::SoundCapture capture;
    ASSERT_TRUE(capture.Running()) << "needs the private sound server";

    QTemporaryDir world;
    const QString prefix = world.filePath("Apps 'n \"q\" $HOME (1)");
    ASSERT_FALSE(
        Output(QUILLET_CMAKE, {"--install", QUILLET_BUILD_DIR, "--prefix", prefix}).isEmpty())
        << "the installation failed";
    const QString launcher = prefix + "/bin/quillet-jukebox";
    const QString ini = prefix + "/lib/quillet-jukebox/xquilletmp3.ini";
    test::WriteFile(ini, "[display]\ncontinuousPlay=now and then\n");
    const QString music = world.filePath("Müsik 'a' \"b\" $c/");
    QDir().mkpath(music);
    const auto Wav = [&](const QString& name, double hz) {
        fixtures::WriteWav(music + name, fixtures::Tone(hz, 30));
        return music + name;
    };
    const QString song = music + "Ünï cödé.mp3";
    fixtures::EncodeMp3(Wav("440.wav", 440), song);
    fixtures::AppendId3v1(song, "Title", "Artist", "Album", "", "", 8); // Jazz
    const QString low = Wav("330.wav", 330), high = Wav("660.wav", 660);
    QDir().mkpath(world.filePath("run"));
    QFile::setPermissions(world.filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", world.filePath("run"));
    env.remove("QT_QPA_PLATFORM");

    std::vector<std::unique_ptr<QProcess>> started; // killed, if still running, at the end
    const auto Start = [&](const QString& command, const QStringList& arguments) {
        QProcess* process = started.emplace_back(std::make_unique<QProcess>()).get();
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(command, arguments);
        EXPECT_TRUE(process->waitForStarted());
        return process;
    };
    // A later copy hands its command line over and ends at once, with status 0, without a
    // window and without touching the settings.
    const auto Second = [&](const QStringList& arguments) {
        QProcess* second = Start(launcher, arguments);
        const qint64 pid = second->processId();
        ASSERT_TRUE(second->waitForFinished(WindowTimeoutMs));
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->exitCode(), 0);
        EXPECT_TRUE(WindowOf(pid).isEmpty());
        EXPECT_EQ(test::ReadFile(ini), "[display]\ncontinuousPlay=now and then\n");
    };

    QProcess* monitor = Start("dbus-monitor", {"--session", "type='signal',sender='" + Bus + "'"});
    QProcess* first = Start(launcher, {});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !WindowOf(first->processId()).isEmpty(); }, WindowTimeoutMs))
        << "the window did not appear";
    const unsigned long window = WindowOf(first->processId()).toULong();
    ASSERT_TRUE(QTest::qWaitFor([] { return Playerctl({"status"}) == "Stopped"; }, 10000));
    EXPECT_EQ(PitchWithin(capture, 1000), 0) << "sound before anything was played";

    // Opened from the desktop: the program's own document entry runs this copy of it.
    QProcess* open = Start("gio", {"open", song});
    ASSERT_TRUE(open->waitForFinished(WindowTimeoutMs));
    EXPECT_NEAR(PitchWithin(capture, 1500), 440, 5);
    EXPECT_EQ(Playerctl({"metadata", "--format",
                         "{{title}}|{{artist}}|{{album}}|{{xesam:genre}}|{{xesam:url}}"}),
              "Title|Artist|Album|Jazz|" + QUrl::fromLocalFile(song).toString());
    const qlonglong length = Playerctl({"metadata", "mpris:length"}).toLongLong();
    EXPECT_NEAR(double(length), 30e6, 0.1e6);

    // Pause silences and keeps the place; a second Pause changes nothing; Play resumes.
    (void)Playerctl({"pause"});
    (void)Playerctl({"pause"});
    EXPECT_EQ(PitchWithin(capture, 800), 0);
    EXPECT_EQ(Playerctl({"status"}), "Paused");
    (void)Playerctl({"play"});
    EXPECT_NEAR(PitchWithin(capture, 1000), 440, 5);

    // Several files at once: added in order, the first plays; Next and Previous step and wrap.
    Second({low, high});
    EXPECT_NEAR(PitchWithin(capture, 1200), 330, 5);
    (void)Playerctl({"next"});
    EXPECT_NEAR(PitchWithin(capture, 1200), 660, 5);
    (void)Playerctl({"next"}); // wraps to the first entry
    EXPECT_NEAR(PitchWithin(capture, 1200), 440, 5);
    (void)Playerctl({"previous"});
    EXPECT_NEAR(PitchWithin(capture, 1200), 660, 5);
    EXPECT_EQ(Playerctl({"metadata", "title"}), "660.wav"); // untagged: its display name
    ClickAt(window, 69 + 11, 88 + 9);                       // Stop
    EXPECT_EQ(PitchWithin(capture, 1000), 0) << "sound after Stop";
    ClickAt(window, 16 + 13, 88 + 9); // Play: the selected entry
    EXPECT_NEAR(PitchWithin(capture, 1200), 660, 5) << "Play was clicked";

    // A jump is announced; the position follows it.
    (void)Playerctl({"position", "20"});
    QTest::qWait(300);
    EXPECT_NEAR(Playerctl({"position"}).toDouble(), 20, 1.5);

    (void)Playerctl({"volume", "0.3"}); // written at the close
    (void)Playerctl({"stop"});
    EXPECT_EQ(PitchWithin(capture, 800), 0);
    (void)Playerctl({"play"}); // from the stop: the selected entry from its start
    EXPECT_NEAR(PitchWithin(capture, 1000), 660, 5);
    (void)Playerctl({"stop"});
    EXPECT_EQ(PitchWithin(capture, 800), 0);
    EXPECT_EQ(Property("org.mpris.MediaPlayer2.Player", "CanSeek"), "(<false>,)");
    EXPECT_EQ(Property("org.mpris.MediaPlayer2", "DesktopEntry"), "(<'QuilletJukebox.Document'>,)");

    // Quit closes like the close box: the settings are written, with the bus's volume.
    (void)Output("gdbus", {"call", "--session", "-d", Bus, "-o", "/org/mpris/MediaPlayer2", "-m",
                           "org.mpris.MediaPlayer2.Quit"});
    ASSERT_TRUE(first->waitForFinished(WindowTimeoutMs));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(test::ReadFile(ini), "[display]\ncontinuousPlay=now and then\nsetTop=\nrandomOrder=\n"
                                   "volume=30\nbalance=\n[equalizer]\nequalizerPreset=\ndb32=\n"
                                   "db64=\ndb130=\ndb260=\ndb500=\ndb1K=\ndb2K=\ndb4K=\ndb8K=\n"
                                   "db16K=\n");

    monitor->terminate();
    monitor->waitForFinished(5000);
    const QByteArray announced = monitor->readAllStandardOutput();
    for (const char* change : {"PlaybackStatus", "Metadata", "Volume", "member=Seeked"})
        EXPECT_TRUE(announced.contains(change)) << change;
}

} // namespace
} // namespace quillet
