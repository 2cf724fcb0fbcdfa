// Memory three seconds after the first window is mapped: resident (VmRSS) and proportional
// (Pss) memory of the player started plainly, against a bare Qt window program, and beside
// qmmp and Audacious; the programs take turns, after one unmeasured start each, and medians
// are printed. Needs $DISPLAY (Xvfb). Memory in MiB.
// `--only NAME,…` (bare, quillet, qmmp, audacious) measures only those programs.
#include "bench/audio/engine_benchutil.h"
#include "bench/window/contenders.h"
#include "bench/window/mapwatch.h"
#include "bench/window/procstats.h"

#include <QThread>

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int Runs = 5;
constexpr int SettleMs = 3000;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Session session;
    if (!session.Ready())
        return 1;
    const std::vector<Contender> contenders =
        Installed({Player::Bare, Player::Quillet, Player::Qmmp, Player::Audacious}, session.world);
    Figures rss, pss;
    // The first start in a new home is not counted; the order turns by one each run.
    for (int run = -1; run < Runs; ++run) {
        for (size_t i = 0; i < contenders.size(); ++i) {
            const Contender& contender = contenders[(i + size_t(run + 1)) % contenders.size()];
            const std::unique_ptr<QProcess> process = contender.Start();
            const unsigned long window = session.watch.WaitForMap(process->processId(), 30000);
            if (window == 0) {
                std::fprintf(stderr, "no window from %s\n", contender.Name());
            } else {
                QThread::msleep(SettleMs);
                const ProcessMemory memory = MemoryOf(process->processId());
                if (run >= 0) {
                    rss[contender.Name()].push_back(memory.rssMiB);
                    pss[contender.Name()].push_back(memory.pssMiB);
                }
            }
            End(*process, session.watch, window);
        }
    }

    for (const Figures* figures : {&rss, &pss}) {
        const bool resident = figures == &rss;
        const double ours = MedianMeasured(*figures, "quillet");
        Report(resident ? "window_memory_rss" : "window_memory_pss", ours, "MiB", "bare",
               MedianMeasured(*figures, "bare"));
        ReportBeside(resident ? "window_memory_rss_vs_players" : "window_memory_pss_vs_players",
                     ours, "MiB", PlayersBeside(contenders, *figures));
    }
    return 0;
}
