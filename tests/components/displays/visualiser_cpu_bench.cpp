// CPU use of the displays: the engine plays 10 s of sound (null output at real time) with the
// meters, scale, spectrum and oscilloscope shown and driven by a Visualiser, against the same
// 10 s played with no displays, in the same run. User + system time of the whole process
// (engine threads included), in ms over the 10 s; the difference is the displays' own cost.
// Runs on the platform QT_QPA_PLATFORM names (offscreen when unset).
#include "components/audio/engine.h"
#include "components/displays/visualiser.h"
#include "tests/components/displays/displaywindow.h"
#include "tests/fixtures/fixtures.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

using namespace quillet;

namespace {

constexpr int PlayMs = 10000;

double CpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct Displays : test::DisplayWindow {
    explicit Displays(const Connector& feed) : visualiser(feed)
    {
        (void)Show();
        visualiser.Attach(left, right, spectrum, scope);
    }
    Visualiser visualiser;
};

// CPU ms over PlayMs of playback of `path`, with or without the displays.
double Measure(const QString& path, bool withDisplays)
{
    audio::EngineOptions options;
    options.output = audio::OutputKind::NullRealTime;
    const auto engine = audio::CreateAudioEngine(options);
    std::unique_ptr<Displays> displays;
    if (withDisplays)
        displays = std::make_unique<Displays>(engine->connector());
    engine->audioFile().SetOutput("Eq");
    engine->audioFile().SetFileName(path);
    engine->waveOut().Start();
    QTest::qWait(500); // past the start
    const double start = CpuMs();
    QTest::qWait(PlayMs);
    const double used = CpuMs() - start;
    engine->waveOut().Stop();
    return used;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const double seconds = PlayMs / 1000.0 + 2;
    const struct {
        const char* name;
        fixtures::Signal signal;
    } sounds[] = {
        {"tone_1khz", fixtures::Tone(1000, seconds, 44100, 2, 0.5)},
        {"pink_noise", fixtures::PinkNoise(seconds, 44100, 2, 0.5)},
    };
    for (const auto& sound : sounds) {
        const QString path = dir.filePath(QString::fromLatin1(sound.name) + ".wav");
        fixtures::WriteWav(path, sound.signal);
        const double baseline = Measure(path, false);
        const double displayed = Measure(path, true);
        std::printf("displays_cpu_%s_%s %.0f ms/10s (baseline %.0f ms/10s, ratio %.2f)\n",
                    sound.name, qPrintable(QGuiApplication::platformName()), displayed, baseline,
                    displayed / baseline);
        std::fflush(stdout);
    }
    return 0;
}
