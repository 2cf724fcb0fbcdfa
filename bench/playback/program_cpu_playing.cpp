// The program's CPU use while it plays: the built binary, in a program directory of its own
// with its skins, started with an MP3 on its command line on the X display ($DISPLAY) and the
// sound server (PULSE_SERVER; a private one with the null sink quillet_sink), against mpg123
// playing the same file to the same server in the same run. CPU is user + system time from
// /proc/<pid>/stat over the same stretch of playback, counted from the first sound heard,
// as % of one core.
#include "bench/audio/engine_benchutil.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/support/xwindow.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <algorithm>
#include <cstdint>

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr double PlaySeconds = 10;
const QString Title = QStringLiteral(" Quillet Jukebox");

// User + system CPU seconds of a running process, all its threads.
double ProcessCpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        throw std::runtime_error("the process has gone");
    const QByteArray text = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold blanks:
    // state is the first of them, utime the 12th and stime the 13th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        throw std::runtime_error("unreadable /proc stat");
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// % of one core the process uses over PlaySeconds of playback, from the first sound heard.
double CpuWhilePlaying(const QProcess& process)
{
    {
        test::SoundCapture capture;
        const bool heard = WaitUntil(
            [&] {
                const auto& s = capture.Samples();
                return std::any_of(s.begin(), s.end(), [](int16_t v) { return v != 0; });
            },
            std::chrono::seconds(30));
        if (!heard)
            throw std::runtime_error("nothing was heard");
    }
    const double cpu0 = ProcessCpuSeconds(process.processId());
    QElapsedTimer wall;
    wall.start();
    WaitUntil([] { return false; }, std::chrono::milliseconds(int(PlaySeconds * 1000)));
    const double cpu = ProcessCpuSeconds(process.processId()) - cpu0;
    return cpu / (double(wall.nsecsElapsed()) / 1e9) * 100;
}

void End(QProcess& process)
{
    if (!process.waitForFinished(30000))
        process.kill();
    process.waitForFinished();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    test::XDisplay x;
    if (!x.Open()) {
        std::fprintf(stderr, "no X display (set DISPLAY)\n");
        return 1;
    }
    const Music music(PlaySeconds + 4);

    // A program directory of its own (binary and skins) and a runtime directory of its own,
    // so no running player interferes and no settings land in the build tree.
    QTemporaryDir world;
    const QString binary = world.filePath("program/quillet-jukebox");
    const QString runtime = world.filePath("run");
    QDir().mkpath(world.filePath("program"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(QStringLiteral(QUILLET_BINARY), binary);
    Run("cp", {"-r", QStringLiteral(QUILLET_PROGRAM_DIR "/Skins"), world.filePath("program")});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("XDG_CONFIG_HOME", world.filePath("config"));
    env.insert("XDG_DATA_HOME", world.filePath("data"));
    env.remove("QT_QPA_PLATFORM");

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binary, {music.mp3});
    const unsigned long window = x.WaitForWindow(Title, program.processId(), 30000);
    if (window == 0) {
        std::fprintf(stderr, "the program's window did not appear\n");
        program.kill();
        End(program);
        return 1;
    }
    const double programCpu = CpuWhilePlaying(program);
    x.RequestClose(window);
    End(program);

    QProcess mpg123;
    mpg123.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mpg123.start("mpg123", {"-q", "-o", "pulse", music.mp3});
    const double mpg123Cpu = CpuWhilePlaying(mpg123);
    mpg123.kill();
    End(mpg123);

    Report("program_cpu_playing", programCpu, "%", "mpg123", mpg123Cpu);
    return 0;
}
