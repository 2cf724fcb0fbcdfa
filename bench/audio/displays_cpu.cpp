// CPU use of the displays: the engine plays 10 s of music (null output at real time) with the
// meters, scale, spectrum and oscilloscope shown and driven by a Visualiser, against the same
// 10 s played with no displays, in the same run. User + system time of the whole process
// (engine threads included), in ms over the 10 s; the difference is the displays' own cost.
// Runs on the platform QT_QPA_PLATFORM names (offscreen when unset).
#include "bench/audio/engine_benchutil.h"
#include "components/displays/visualiser.h"
#include "tests/components/displays/displaywindow.h"

#include <QApplication>
#include <QTest>

#include <memory>

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int PlayMs = 10000;

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
    const double start = CpuSeconds(RUSAGE_SELF);
    QTest::qWait(PlayMs);
    const double used = CpuSeconds(RUSAGE_SELF) - start;
    engine->waveOut().Stop();
    return used * 1000;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const Music music(PlayMs / 1000.0 + 2);
    const double baseline = Measure(music.wav, false);
    const double displayed = Measure(music.wav, true);
    const QByteArray name = "displays_cpu_" + QGuiApplication::platformName().toUtf8();
    Report(name.constData(), displayed, "ms/10s", "baseline", baseline);
    return 0;
}
