// The programs the window benchmarks compare: the player, a bare Qt window program (the
// toolkit's floor), qmmp and Audacious when installed, and mpg123 (the decoder alone, no
// window). All run in one private world: a scratch home with its own XDG folders and runtime
// folder, the player in a program directory of its own, on $DISPLAY and the sound server of
// PULSE_SERVER. $QUILLET_BENCH_PLAYER names another build of the player to measure instead.
// Main thread only; times in milliseconds.
#pragma once

#include "bench/window/mapwatch.h"

#include <QProcess>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quillet::bench {

enum class Player { Bare, Quillet, Qmmp, Audacious, Mpg123 };

// The scratch home shared by all contenders of one run; goes with the object.
class World {
public:
    World();
    [[nodiscard]] QString Path(const QString& name) const { return m_dir.filePath(name); }
    [[nodiscard]] const QProcessEnvironment& Environment() const { return m_environment; }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
};

class Contender {
public:
    // Prepares what the program needs in the world (the player's program directory, the
    // other players' choice of the sound server as their output).
    Contender(Player player, const World& world);

    [[nodiscard]] Player Kind() const { return m_player; }
    [[nodiscard]] const char* Name() const;
    [[nodiscard]] bool Installed() const { return !m_binary.isEmpty(); }
    // Starts the program; with a file it plays that file.
    [[nodiscard]] std::unique_ptr<QProcess> Start(const QString& file = {}) const;

private:
    Player m_player;
    const World* m_world;
    QString m_binary; // "" when not installed
};

// The installed ones of the given players, in that order; when the command line says
// `--only NAME,…`, only those of them.
[[nodiscard]] std::vector<Contender> Installed(const std::vector<Player>& players,
                                               const World& world);

// Ends a started program: a window manager's close request to its window (0: none), then
// SIGTERM, then SIGKILL, each after a few seconds without an end.
void End(QProcess& process, MapWatch& watch, unsigned long window);

// What every window benchmark opens first: the display, watched for maps and for closing
// windows, and the world. Ready() is false (and says why) when there is no X display.
struct Session {
    MapWatch watch;
    World world;
    [[nodiscard]] bool Ready() const;
};

// Runs of a figure by program name.
using Figures = std::map<std::string, std::vector<double>>;
// The median of the runs that were measured (≥ 0); −1 when none was.
[[nodiscard]] double MedianMeasured(const std::vector<double>& runs);
[[nodiscard]] double MedianMeasured(const Figures& figures, const std::string& name);
// qmmp's and Audacious's medians among `contenders`, for ReportBeside.
[[nodiscard]] std::vector<std::pair<const char*, double>>
PlayersBeside(const std::vector<Contender>& contenders, const Figures& figures);

// `name value unit (a va, b vb, ratio to lower r)`: a figure beside the same figure of other
// players (value < 0: not measured); without others, `name value unit` alone.
void ReportBeside(const char* name, double value, const char* unit,
                  const std::vector<std::pair<const char*, double>>& others);

} // namespace quillet::bench
