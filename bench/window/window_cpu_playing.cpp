// CPU while playing: the player started with a 320 kbit/s MP3 on its command line, its window
// and displays running, beside qmmp and Audacious playing the same file and against mpg123
// (the decoder alone, no window), all to the same null sink of the private sound server. Each
// program must be heard on the sink's monitor and hold a stream of its own on the server;
// after a warm-up, CPU is user + system time of all its threads over the same stretch, and
// wake-ups are its threads' context switches. The programs take turns; medians of the rounds.
// Then the player alone with its window minimised (marked iconic and unmapped, as a window
// manager does), against its own threads other than the UI thread: what the window costs
// while nobody can see it.
// Needs $DISPLAY (Xvfb), PULSE_SERVER with the null sink quillet_sink, parec, pactl, sox,
// lame. `--threads` also prints each thread's share; `--only NAME,…` measures only those
// programs (quillet, qmmp, audacious, mpg123). CPU in % of one core.
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

constexpr int Rounds = 3;
constexpr int WarmUpMs = 3000;
constexpr int MeasureMs = 10000;

// Whether the process holds a playback stream on the sound server.
bool HasStream(qint64 pid)
{
    QProcess pactl;
    pactl.start("pactl", {"list", "sink-inputs"});
    pactl.waitForFinished(10000);
    const QByteArray wanted = "application.process.id = \"" + QByteArray::number(pid) + '"';
    return pactl.readAllStandardOutput().contains(wanted);
}

bool Heard(qint64 pid)
{
    test::SoundCapture capture;
    return WaitUntil(
        [&] {
            const auto& s = capture.Samples();
            return std::any_of(s.begin(), s.end(), [](int16_t v) { return v != 0; }) &&
                   HasStream(pid);
        },
        std::chrono::seconds(30));
}

struct Reading {
    double cpuPercent = -1;
    double wakeupsPerSecond = -1;
    double uiCpuPercent = -1; // the main thread's share
};

double ThreadCpuSeconds(const std::vector<ThreadActivity>& threads, qint64 tid)
{
    const auto found = std::find_if(threads.begin(), threads.end(),
                                    [tid](const ThreadActivity& t) { return t.tid == tid; });
    return found != threads.end() ? found->cpuSeconds : 0;
}

// One round of one program: started, heard, warmed up, measured, ended.
Reading MeasureOnce(const Contender& contender, const QString& file, MapWatch& watch,
                    bool perThread, bool minimised = false)
{
    const std::unique_ptr<QProcess> process = contender.Start(file);
    const qint64 pid = process->processId();
    Reading reading;
    unsigned long window = 0;
    if (contender.Kind() != Player::Mpg123 && (window = watch.WaitForMap(pid, 30000)) == 0) {
        std::fprintf(stderr, "no window from %s\n", contender.Name());
    } else if (!Heard(pid)) {
        std::fprintf(stderr, "%s was not heard on the sink\n", contender.Name());
    } else {
        QThread::msleep(WarmUpMs);
        if (minimised) {
            watch.Iconify(window);
            QThread::msleep(1000);
        }
        const auto threads0 = ThreadsOf(pid);
        const double cpu0 = ProcessCpuSeconds(pid);
        const int64_t switches0 = SwitchesOf(pid);
        QElapsedTimer wall;
        wall.start();
        QThread::msleep(MeasureMs);
        const double cpu = ProcessCpuSeconds(pid) - cpu0;
        const int64_t switches = SwitchesOf(pid) - switches0;
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        const double ui = ThreadCpuSeconds(ThreadsOf(pid), pid) - ThreadCpuSeconds(threads0, pid);
        if (!HasStream(pid)) {
            std::fprintf(stderr, "%s stopped playing while measured\n", contender.Name());
        } else {
            reading = {cpu / seconds * 100, double(switches) / seconds, ui / seconds * 100};
        }
        for (const ThreadActivity& now :
             perThread ? ThreadsOf(pid) : std::vector<ThreadActivity>{}) {
            const auto before = std::find_if(threads0.begin(), threads0.end(),
                                             [&](const auto& t) { return t.tid == now.tid; });
            const ThreadActivity start = before != threads0.end() ? *before : ThreadActivity{};
            std::printf("# %s thread %s: cpu %.2f %%, wake-ups %.0f /s\n", contender.Name(),
                        qPrintable(now.name), (now.cpuSeconds - start.cpuSeconds) / seconds * 100,
                        double(now.switches - start.switches) / seconds);
        }
    }
    End(*process, watch, window);
    return reading;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool perThread = app.arguments().contains("--threads");
    Session session;
    if (!session.Ready())
        return 1;
    const Music music((WarmUpMs + MeasureMs) / 1000.0 + 10);
    const std::vector<Contender> contenders = Installed(
        {Player::Quillet, Player::Qmmp, Player::Audacious, Player::Mpg123}, session.world);

    Figures cpu, wakeups;
    for (int round = 0; round < Rounds; ++round) {
        for (size_t i = 0; i < contenders.size(); ++i) { // the order turns by one each round
            const Contender& contender = contenders[(i + size_t(round)) % contenders.size()];
            const Reading reading = MeasureOnce(contender, music.mp3, session.watch, perThread);
            cpu[contender.Name()].push_back(reading.cpuPercent);
            wakeups[contender.Name()].push_back(reading.wakeupsPerSecond);
        }
    }

    // The player minimised: the whole, and its threads other than the UI thread.
    std::vector<double> minimised, engineThreads;
    for (const Contender& contender : contenders) {
        for (int round = 0; contender.Kind() == Player::Quillet && round < Rounds; ++round) {
            const Reading reading =
                MeasureOnce(contender, music.mp3, session.watch, perThread, true);
            if (reading.cpuPercent >= 0) {
                minimised.push_back(reading.cpuPercent);
                engineThreads.push_back(reading.cpuPercent - reading.uiCpuPercent);
            }
        }
    }

    const double ours = MedianMeasured(cpu, "quillet");
    ReportBeside("window_cpu_playing", ours, "%", PlayersBeside(contenders, cpu));
    ReportBeside("window_wakeups_playing", MedianMeasured(wakeups, "quillet"), "/s",
                 PlayersBeside(contenders, wakeups));
    if (!minimised.empty())
        Report("window_cpu_minimised", Median(minimised), "%", "engine threads",
               Median(engineThreads));
    if (cpu.count("mpg123")) {
        Report("window_cpu_playing_vs_mpg123", ours, "%", "mpg123", MedianMeasured(cpu, "mpg123"));
        Report("window_wakeups_playing_vs_mpg123", MedianMeasured(wakeups, "quillet"), "/s",
               "mpg123", MedianMeasured(wakeups, "mpg123"));
    }
    return 0;
}
