// Start-up time: from starting the process to its window being viewable on the X display,
// for the player (with a tagged MP3 on its command line, and plain) against a bare Qt window
// program, measured the same way in the same run; and how long a second copy takes to end.
// Prints `name value unit (baseline value, ratio)`; times are medians in milliseconds.
// Uses $DISPLAY, or starts its own Xvfb when none is set.
#include "tests/support/xwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 9;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QProcessEnvironment Environment(const QString& runtimeDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir);
    env.remove("QT_QPA_PLATFORM");
    return env;
}

// Milliseconds from start to a viewable window titled title; the window is then closed.
double TimeToWindow(quillet::test::XDisplay& x, const QString& binary, const QStringList& args,
                    const QString& title, const QString& runtimeDir)
{
    QProcess process;
    process.setProcessEnvironment(Environment(runtimeDir));
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(binary, args);
    const unsigned long window = x.WaitForWindow(title, process.processId(), 30000);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (window == 0) {
        std::fprintf(stderr, "no window from %s\n", qPrintable(binary));
        process.kill();
        process.waitForFinished();
        return -1;
    }
    x.RequestClose(window);
    if (!process.waitForFinished(30000))
        process.kill();
    process.waitForFinished();
    return ms;
}

double TimeToExit(const QString& binary, const QStringList& args, const QString& runtimeDir)
{
    QProcess process;
    process.setProcessEnvironment(Environment(runtimeDir));
    QElapsedTimer clock;
    clock.start();
    process.start(binary, args);
    process.waitForFinished(30000);
    return clock.nsecsElapsed() / 1e6;
}

void Print(const char* name, double value, double baseline)
{
    std::printf("%s %.1f ms (baseline %.1f ms, %.2f)\n", name, value, baseline,
                baseline > 0 ? value / baseline : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::unique_ptr<QProcess> xvfb;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        xvfb = std::make_unique<QProcess>();
        xvfb->start("Xvfb", {":77", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        qputenv("DISPLAY", ":77");
        QThread::msleep(1000);
    }
    quillet::test::XDisplay x;
    if (!x.Open()) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }

    // A private program directory and runtime directory, so no running player interferes.
    QTemporaryDir world;
    const QString player = world.filePath("quillet-jukebox");
    const QString runtime = world.filePath("run");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(QStringLiteral(QUILLET_BINARY), player);
    const QString tone = world.filePath("tone.wav");
    const QString mp3 = world.filePath("song.mp3");
    QProcess::execute("sox", {"-n", "-r", "44100", "-c", "2", tone, "synth", "1", "sine", "440"});
    QProcess::execute("lame", {"--quiet", "--tt", "Title", "--ta", "Artist", "--tg", "Rock",
                               "--id3v1-only", tone, mp3});

    std::vector<double> bare, plain, withFile, second, trivial;
    for (int i = 0; i < Runs; ++i) {
        bare.push_back(TimeToWindow(x, BARE_BINARY, {}, " Bare Window", runtime));
        plain.push_back(TimeToWindow(x, player, {}, " Quillet Jukebox", runtime));
        withFile.push_back(TimeToWindow(x, player, {mp3}, " Quillet Jukebox", runtime));
    }
    // A second copy while the first runs, against a process that does nothing at all.
    QProcess first;
    first.setProcessEnvironment(Environment(runtime));
    first.start(player, {});
    const unsigned long window = x.WaitForWindow(" Quillet Jukebox", first.processId(), 30000);
    for (int i = 0; i < Runs; ++i) {
        second.push_back(TimeToExit(player, {mp3}, runtime));
        trivial.push_back(TimeToExit("true", {}, runtime));
    }
    x.RequestClose(window);
    first.waitForFinished(30000);

    Print("startup_to_window_shown", Median(plain), Median(bare));
    Print("startup_to_window_shown_with_mp3", Median(withFile), Median(bare));
    Print("second_copy_exit", Median(second), Median(trivial));
    if (xvfb) {
        xvfb->terminate();
        xvfb->waitForFinished();
    }
    return 0;
}
