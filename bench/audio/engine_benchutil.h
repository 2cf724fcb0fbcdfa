// Shared pieces of the engine benchmarks: generated media (sox, lame), timing of external
// programs, waiting with the event loop running, and the one-line report
// `name value unit (baseline value, ratio)`. Main thread only; times in seconds or ms.
#pragma once

#include "components/audio/engine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace quillet::bench {

inline void Report(const char* name, double value, const char* unit, const char* baselineName,
                   double baseline)
{
    std::printf("%s %.3f %s (%s %.3f, ratio %.2f)\n", name, value, unit, baselineName, baseline,
                baseline != 0 ? value / baseline : 0.0);
    std::fflush(stdout);
}

inline void Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error(("failed: " + program + " " + args.join(' ')).toStdString());
}

// Wall-clock seconds of one run of a program.
inline double TimeRun(const QString& program, const QStringList& args)
{
    QElapsedTimer t;
    t.start();
    Run(program, args);
    return double(t.nsecsElapsed()) / 1e9;
}

template <class F> double BestOf(int runs, F&& once)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, once());
    return best;
}

// `seconds` of stereo pink noise and a sweep at 44.1 kHz, as WAV and as 320 kbit/s MP3, in a
// scratch folder that goes with the object.
struct Music {
    explicit Music(double seconds)
    {
        Run("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth",
                    QString::number(seconds), "pinknoise", "synth", QString::number(seconds),
                    "sine", "mix", "50:8000", "vol", "0.4"});
        Run("lame", {"--quiet", "-b", "320", "--cbr", wav, mp3});
    }
    QTemporaryDir dir;
    const QString wav = dir.filePath("music.wav");
    const QString mp3 = dir.filePath("music.mp3");
};

// The program's ten bands, each set away from 0 dB.
inline void SetUpEqualizer(AudioEngine& engine)
{
    const double edges[] = {0, 32, 64, 130, 260, 500, 1000, 2000, 4000, 8300, 16500};
    const double gains[] = {4, 3, -2, 1.5, -3, 2, -1, 2.5, 3.5, -4};
    EqBands& bands = engine.eq().Filters();
    for (int i = 0; i < 10; ++i) {
        bands.Add(edges[i], edges[i + 1], 0);
        bands.Item(i).SetGain(gains[i]);
    }
    engine.masterVolume().SetVolume(24000);
    engine.masterVolume().SetBalance(-2000);
}

inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound)
{
    // Sleeps between events (a ticking timer bounds each sleep): a busy loop here would take
    // a core from the engine's threads and distort every figure.
    QTimer tick;
    tick.start(2);
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > bound.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// CPU seconds (user + system) used so far by this process, or by its waited-for children.
inline double CpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace quillet::bench
