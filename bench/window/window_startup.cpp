// Start-up: from starting the process to its first top-level window being mapped on the X
// display, for the player (plain, and with a tagged MP3 on its command line) against a bare
// Qt window program, and beside qmmp and Audacious; the programs take turns, after one
// unmeasured start each, and medians are printed. Also how long a second copy of the player
// takes to end while the first runs, against a process that does nothing; and the CPU time the
// player has spent by the time its window is mapped, against the bare window's.
// Needs $DISPLAY (Xvfb) and, for the MP3 start, the sound server of PULSE_SERVER.
// `--only NAME,…` (bare, quillet, qmmp, audacious) measures only those programs.
#include "bench/audio/engine_benchutil.h"
#include "bench/window/contenders.h"
#include "bench/window/mapwatch.h"
#include "bench/window/procstats.h"

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int Runs = 21;
constexpr int MapTimeoutMs = 30000;

struct Timing {
    double ms = -1;    // from start to the first window mapped; −1: no window appeared
    double cpuMs = -1; // CPU time of all the process's threads by then
};

Timing TimeToWindow(const Contender& contender, const QString& file, MapWatch& watch)
{
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<QProcess> process = contender.Start(file);
    const unsigned long window = watch.WaitForMap(process->processId(), MapTimeoutMs);
    Timing timing;
    if (window == 0) {
        std::fprintf(stderr, "no window from %s\n", contender.Name());
    } else {
        timing.ms = double(clock.nsecsElapsed()) / 1e6;
        timing.cpuMs = 0;
        for (const ThreadActivity& thread : ThreadsOf(process->processId()))
            timing.cpuMs += thread.cpuSeconds * 1000;
    }
    End(*process, watch, window);
    return timing;
}

double TimeToExit(const QProcess& like, const QString& program, const QStringList& args)
{
    QProcess process;
    process.setProcessEnvironment(like.processEnvironment());
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    process.waitForFinished(MapTimeoutMs);
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Session session;
    if (!session.Ready())
        return 1;
    const World& world = session.world;
    const QString tone = world.Path("tone.wav");
    const QString mp3 = world.Path("song.mp3");
    Run("sox", {"-n", "-r", "44100", "-c", "2", tone, "synth", "1", "sine", "440"});
    Run("lame",
        {"--quiet", "--tt", "Title", "--ta", "Artist", "--tg", "Rock", "--id3v1-only", tone, mp3});

    const std::vector<Contender> contenders =
        Installed({Player::Bare, Player::Quillet, Player::Qmmp, Player::Audacious}, world);
    const Contender player(Player::Quillet, world); // also with an MP3, whatever --only says
    // Each start: a program and what it is given; "with mp3" is the player with the MP3.
    struct Start {
        const Contender* contender;
        QString file;
        std::string name;
    };
    std::vector<Start> starts;
    for (const Contender& contender : contenders)
        starts.push_back({&contender, {}, contender.Name()});
    starts.push_back({&player, mp3, "with mp3"});
    Figures runs, cpu;
    // One start each first: the first start of a program in a new home writes its caches and
    // settings, which no later start does. The order turns by one each run, so no program
    // always follows the same one.
    for (int run = -1; run < Runs; ++run) {
        for (size_t i = 0; i < starts.size(); ++i) {
            const Start& start = starts[(i + size_t(run + 1)) % starts.size()];
            const Timing timing = TimeToWindow(*start.contender, start.file, session.watch);
            if (run >= 0) {
                runs[start.name].push_back(timing.ms);
                cpu[start.name].push_back(timing.cpuMs);
            }
        }
    }

    // A second copy while the first runs, against a process that does nothing at all.
    std::vector<double> second, trivial;
    {
        const std::unique_ptr<QProcess> first = player.Start();
        const unsigned long window = session.watch.WaitForMap(first->processId(), MapTimeoutMs);
        for (int i = 0; i < Runs; ++i) {
            second.push_back(TimeToExit(*first, first->program(), {mp3}));
            trivial.push_back(TimeToExit(*first, "true", {}));
        }
        End(*first, session.watch, window);
    }

    const double bare = MedianMeasured(runs, "bare");
    const double ours = MedianMeasured(runs, "quillet");
    Report("window_startup_mapped", ours, "ms", "bare", bare);
    Report("window_startup_mapped_with_mp3", MedianMeasured(runs, "with mp3"), "ms", "bare", bare);
    ReportBeside("window_startup_mapped_vs_players", ours, "ms", PlayersBeside(contenders, runs));
    // CPU spent by then: less sensitive to other load on the machine than the time.
    Report("window_startup_cpu_to_map", MedianMeasured(cpu, "quillet"), "ms", "bare",
           MedianMeasured(cpu, "bare"));
    Report("window_startup_cpu_to_map_with_mp3", MedianMeasured(cpu, "with mp3"), "ms", "bare",
           MedianMeasured(cpu, "bare"));
    Report("second_copy_exit", Median(second), "ms", "true", Median(trivial));
    return 0;
}
