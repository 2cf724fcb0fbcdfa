// The desktop's ways into the running player, each against a baseline of the same run:
// - hand-over latency: a second copy started with a file → the running copy's sound starts
//   on the sink (median of 9), against the player started afresh with the file → its sound;
// - the second copy's own run time with a file handed over, against a second copy with
//   nothing to hand over (which ends at once, as every second copy did before);
// - wake-ups per second of the idle and of the playing window with the session bus connected
//   (its desktop controls published), against the same without a bus;
// - start-up to the window mapped with the bus, against without it.
// Needs $DISPLAY (Xvfb), PULSE_SERVER with the null sink quillet_sink and a session bus
// (DBUS_SESSION_BUS_ADDRESS), as scripts/bench gives. Times in ms.
#include "bench/audio/engine_benchutil.h"
#include "bench/window/contenders.h"
#include "bench/window/mapwatch.h"
#include "bench/window/procstats.h"
#include "tests/components/audio/engine/soundcapture.h"

#include <QThread>

#include <algorithm>

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int LatencyRuns = 9;
constexpr int ExitRuns = 21;
constexpr int Rounds = 3;
constexpr int SettleMs = 3000;
constexpr int MeasureMs = 8000;
constexpr int TimeoutMs = 30000;

struct Copies {
    QString binary;
    QProcessEnvironment withBus;
    QProcessEnvironment withoutBus;
};

std::unique_ptr<QProcess> Start(const Copies& player, const QProcessEnvironment& env,
                                const QStringList& args)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(player.binary, args);
    if (!process->waitForStarted(10000))
        throw std::runtime_error("cannot start the player");
    return process;
}

// Waits while the capture takes in what the sink plays.
void Settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    (void)WaitUntil([&] { return clock.elapsed() >= ms; }, std::chrono::milliseconds(ms + 100));
}

// Lets the capture take in what the sink has played so far, then forgets it.
void Drain(test::SoundCapture& capture, int ms)
{
    Settle(ms);
    capture.Clear();
}

bool Sounding(test::SoundCapture& capture)
{
    const auto& s = capture.Samples();
    return std::any_of(s.begin(), s.end(), [](int16_t v) { return v != 0; });
}

// From calling start() to the first sound on the sink; −1 when none came.
double MsToSound(test::SoundCapture& capture, const std::function<std::unique_ptr<QProcess>()>& start,
                 std::unique_ptr<QProcess>* started = nullptr)
{
    Drain(capture, 300);
    Settle(100);
    if (Sounding(capture))
        return -1; // not quiet before the start: no figure
    capture.Clear();
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProcess> process = start();
    const bool heard = WaitUntil([&] { return Sounding(capture); }, std::chrono::seconds(10));
    const double ms = heard ? double(clock.nsecsElapsed()) / 1e6 : -1;
    if (started)
        *started = std::move(process);
    else if (process)
        process->waitForFinished(TimeoutMs);
    return ms;
}

void Quiet(test::SoundCapture& capture)
{
    Run("gdbus", {"call", "--session", "-d", "org.mpris.MediaPlayer2.quillet_jukebox", "-o",
                  "/org/mpris/MediaPlayer2", "-m", "org.mpris.MediaPlayer2.Player.Stop"});
    (void)WaitUntil(
        [&] {
            Drain(capture, 300);
            Settle(200);
            return !Sounding(capture);
        },
        std::chrono::seconds(10));
}

double WakeupsPerSecond(qint64 pid)
{
    const int64_t before = SwitchesOf(pid);
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(MeasureMs);
    return double(SwitchesOf(pid) - before) / (double(wall.nsecsElapsed()) / 1e9);
}

double TimeToExit(const Copies& player, const QStringList& args)
{
    QElapsedTimer clock;
    clock.start();
    Start(player, player.withBus, args)->waitForFinished(TimeoutMs);
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Session session;
    if (!session.Ready())
        return 1;
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        std::fprintf(stderr, "needs a session bus (DBUS_SESSION_BUS_ADDRESS)\n");
        return 1;
    }
    const Contender contender(bench::Player::Quillet, session.world); // lays out the program
    Copies player{session.world.Path("program/quillet-jukebox"), session.world.Environment(),
                  session.world.Environment()};
    player.withoutBus.remove("DBUS_SESSION_BUS_ADDRESS");
    const Music music(60);
    test::SoundCapture capture;

    // Hand-over latency, against a fresh start with the file.
    std::vector<double> handOver, fresh, withExit, withoutExit;
    {
        std::unique_ptr<QProcess> first = Start(player, player.withBus, {});
        const unsigned long window = session.watch.WaitForMap(first->processId(), TimeoutMs);
        QThread::msleep(SettleMs);
        for (int i = 0; i < LatencyRuns; ++i) {
            handOver.push_back(
                MsToSound(capture, [&] { return Start(player, player.withBus, {music.mp3}); }));
            Quiet(capture);
        }
        for (int i = 0; i < ExitRuns; ++i) {
            withExit.push_back(TimeToExit(player, {music.mp3}));
            withoutExit.push_back(TimeToExit(player, {}));
        }
        Quiet(capture);
        End(*first, session.watch, window);
    }
    for (int i = 0; i < LatencyRuns; ++i) {
        std::unique_ptr<QProcess> started;
        fresh.push_back(MsToSound(
            capture, [&] { return Start(player, player.withBus, {music.mp3}); }, &started));
        End(*started, session.watch, session.watch.WaitForMap(started->processId(), TimeoutMs));
    }

    // Wake-ups idle and playing, and start-up to the window, with and without the bus; the
    // two kinds take turns.
    Figures idle, playing, mapped;
    for (int round = 0; round < Rounds * 2; ++round) {
        const bool bus = round % 2 == 0;
        const std::string name = bus ? "bus" : "no bus";
        const QProcessEnvironment& env = bus ? player.withBus : player.withoutBus;
        QElapsedTimer clock;
        clock.start();
        std::unique_ptr<QProcess> process = Start(player, env, {});
        const unsigned long window = session.watch.WaitForMap(process->processId(), TimeoutMs);
        mapped[name].push_back(window ? double(clock.nsecsElapsed()) / 1e6 : -1);
        QThread::msleep(SettleMs);
        idle[name].push_back(WakeupsPerSecond(process->processId()));
        End(*process, session.watch, window);

        process = Start(player, env, {music.mp3});
        const unsigned long playingWindow =
            session.watch.WaitForMap(process->processId(), TimeoutMs);
        QThread::msleep(SettleMs);
        playing[name].push_back(WakeupsPerSecond(process->processId()));
        End(*process, session.watch, playingWindow);
    }

    Report("handover_to_sound", MedianMeasured(handOver), "ms", "fresh start with the file",
           MedianMeasured(fresh));
    Report("second_copy_exit_with_handover", Median(withExit), "ms", "second copy, nothing handed",
           Median(withoutExit));
    Report("wakeups_idle_bus", MedianMeasured(idle, "bus"), "/s", "no bus",
           MedianMeasured(idle, "no bus"));
    Report("wakeups_playing_bus", MedianMeasured(playing, "bus"), "/s", "no bus",
           MedianMeasured(playing, "no bus"));
    Report("startup_mapped_bus", MedianMeasured(mapped, "bus"), "ms", "no bus",
           MedianMeasured(mapped, "no bus"));
    return 0;
}
