#include "bench/window/contenders.h"

#include "bench/window/procstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <stdexcept>

namespace quillet::bench {
namespace {

constexpr int GraceMs = 5000; // for each way of ending a program

void Write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The player's program directory: the binary with its skins, help page and playlist folder.
QString MakeProgramDirectory(const World& world)
{
    const QString dir = world.Path("program");
    const QString binary = dir + "/quillet-jukebox";
    if (QFile::exists(binary))
        return binary;
    QDir().mkpath(dir + "/PlayLists");
    QDir().mkpath(dir + "/Skins");
    const QString source = QStringLiteral(QUILLET_PROGRAM_DIR);
    // Another build of the player may stand in, to compare two builds with the same harness.
    const QString built =
        qEnvironmentVariable("QUILLET_BENCH_PLAYER", QStringLiteral(QUILLET_BINARY));
    if (!QFile::copy(built, binary))
        throw std::runtime_error("cannot copy the player into the program directory");
    QFile::copy(source + "/help.htm", dir + "/help.htm");
    for (const QString& skin : QDir(source + "/Skins").entryList(QDir::Files))
        QFile::copy(source + "/Skins/" + skin, dir + "/Skins/" + skin);
    return binary;
}

} // namespace

World::World() : m_environment(QProcessEnvironment::systemEnvironment())
{
    if (!m_dir.isValid())
        throw std::runtime_error("no scratch folder");
    const QString home = Path("home");
    const QString runtime = Path("run");
    for (const char* dir : {"home/.config", "home/.local/share", "home/.cache", "run"})
        QDir().mkpath(Path(dir));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_environment.insert("HOME", home);
    m_environment.insert("XDG_CONFIG_HOME", home + "/.config");
    m_environment.insert("XDG_DATA_HOME", home + "/.local/share");
    m_environment.insert("XDG_CACHE_HOME", home + "/.cache");
    m_environment.insert("XDG_RUNTIME_DIR", runtime);
    m_environment.remove("QT_QPA_PLATFORM"); // the real display, as a user has it
}

Contender::Contender(Player player, const World& world) : m_player(player), m_world(&world)
{
    switch (player) {
    case Player::Bare:
        m_binary = QStringLiteral(BARE_BINARY);
        break;
    case Player::Quillet:
        m_binary = MakeProgramDirectory(world);
        break;
    case Player::Qmmp:
        m_binary = QStandardPaths::findExecutable("qmmp");
        // Its own choice would be ALSA, reaching the sound server through a plug-in; the
        // comparison is on the same footing when it talks to the server directly.
        if (!m_binary.isEmpty() && !QFile::exists(world.Path("home/.qmmp/qmmprc")))
            Write(world.Path("home/.qmmp/qmmprc"), "[Output]\ncurrent_plugin=pulse\n");
        break;
    case Player::Audacious: // its own choice is the sound server
        m_binary = QStandardPaths::findExecutable("audacious");
        break;
    case Player::Mpg123:
        m_binary = QStandardPaths::findExecutable("mpg123");
        break;
    }
}

const char* Contender::Name() const
{
    switch (m_player) {
    case Player::Bare:
        return "bare";
    case Player::Quillet:
        return "quillet";
    case Player::Qmmp:
        return "qmmp";
    case Player::Audacious:
        return "audacious";
    case Player::Mpg123:
        return "mpg123";
    }
    return "?";
}

std::unique_ptr<QProcess> Contender::Start(const QString& file) const
{
    QStringList args;
    if (m_player == Player::Mpg123)
        args << "-q"
             << "-o"
             << "pulse";
    if (!file.isEmpty())
        args << file;
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_world->Environment());
    process->setWorkingDirectory(m_world->Path("home"));
    process->setStandardOutputFile(QProcess::nullDevice());
    // The other players chatter on their error channel; the player's own warnings are shown.
    if (m_player == Player::Quillet)
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    else
        process->setStandardErrorFile(QProcess::nullDevice());
    process->start(m_binary, args);
    if (!process->waitForStarted(10000))
        throw std::runtime_error(std::string("cannot start ") + Name());
    return process;
}

std::vector<Contender> Installed(const std::vector<Player>& players, const World& world)
{
    const QStringList args = QCoreApplication::arguments();
    const qsizetype only = args.indexOf("--only");
    const QStringList wanted = only > 0 ? args.value(only + 1).split(',') : QStringList();
    std::vector<Contender> found;
    for (Player player : players) {
        Contender contender(player, world);
        if (!wanted.isEmpty() && !wanted.contains(contender.Name()))
            continue;
        if (contender.Installed())
            found.push_back(contender);
        else
            std::fprintf(stderr, "%s is not installed: left out\n", contender.Name());
    }
    return found;
}

void End(QProcess& process, MapWatch& watch, unsigned long window)
{
    if (process.state() == QProcess::NotRunning)
        return;
    if (window != 0 && watch.RequestClose(window) && process.waitForFinished(GraceMs))
        return;
    process.terminate();
    if (!process.waitForFinished(GraceMs)) {
        process.kill();
        process.waitForFinished(GraceMs);
    }
}

bool Session::Ready() const
{
    if (watch.Open())
        return true;
    std::fprintf(stderr, "no X display (set DISPLAY)\n");
    return false;
}

double MedianMeasured(const std::vector<double>& runs)
{
    std::vector<double> measured;
    std::copy_if(runs.begin(), runs.end(), std::back_inserter(measured),
                 [](double v) { return v >= 0; });
    return measured.empty() ? -1 : Median(measured);
}

double MedianMeasured(const Figures& figures, const std::string& name)
{
    const auto runs = figures.find(name);
    return runs == figures.end() ? -1 : MedianMeasured(runs->second);
}

std::vector<std::pair<const char*, double>> PlayersBeside(const std::vector<Contender>& contenders,
                                                          const Figures& figures)
{
    std::vector<std::pair<const char*, double>> players;
    for (const Contender& contender : contenders) {
        if (contender.Kind() != Player::Qmmp && contender.Kind() != Player::Audacious)
            continue;
        players.emplace_back(contender.Name(), MedianMeasured(figures, contender.Name()));
    }
    return players;
}

void ReportBeside(const char* name, double value, const char* unit,
                  const std::vector<std::pair<const char*, double>>& others)
{
    QByteArray line = QByteArray(name) + ' ' + QByteArray::number(value, 'f', 2) + ' ' + unit;
    double lower = -1;
    QList<QByteArray> beside;
    for (const auto& [other, figure] : others) {
        beside << QByteArray(other) + ' ' +
                      (figure < 0 ? QByteArray("n/a") : QByteArray::number(figure, 'f', 2));
        if (figure >= 0 && (lower < 0 || figure < lower))
            lower = figure;
    }
    if (lower > 0)
        beside << "ratio to lower " + QByteArray::number(value / lower, 'f', 2);
    if (beside.isEmpty())
        std::printf("%s\n", line.constData());
    else
        std::printf("%s (%s)\n", line.constData(), beside.join(", ").constData());
    std::fflush(stdout);
}

} // namespace quillet::bench
