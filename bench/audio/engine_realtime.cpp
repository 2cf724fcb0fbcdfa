// Real-time playback through the sound server (PULSE_SERVER; a private one with the null sink
// quillet_sink): the process's CPU use while it plays the 320 kbit/s MP3 with every band
// away from 0 dB, against mpg123 playing the same stretch to the same server; and, from a
// capture of the sink's monitor, the time from Start to the first sound (against paplay's
// launch to first sound) and from a volume change to its effect. The capture adds its own
// 20 ms fragments, so the latencies are upper bounds.
#include "bench/audio/engine_benchutil.h"
#include "tests/components/audio/engine/soundcapture.h"

#include <algorithm>
#include <thread>
#include <vector>

using namespace quillet;
using namespace quillet::bench;
using quillet::test::SoundCapture;

namespace {

constexpr double PlaySeconds = 10;

bool Silent(const std::vector<int16_t>& s, size_t from)
{
    return std::all_of(s.begin() + long(from), s.end(), [](int16_t v) { return v == 0; });
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Milliseconds from `act` until the capture has sound.
double UntilSound(SoundCapture& capture, const std::function<void()>& act)
{
    capture.Clear();
    QElapsedTimer t;
    t.start();
    act();
    if (!WaitUntil([&] { return !Silent(capture.Samples(), 0); }, std::chrono::seconds(5)))
        throw std::runtime_error("no sound");
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Music music(PlaySeconds + 2);
    const QString& wav = music.wav;
    const QString& mp3 = music.mp3;

    auto engine = audio::CreateAudioEngine({});
    if (engine->waveOut().DeviceCount() == 0) {
        std::fprintf(stderr, "no sound server (set PULSE_SERVER)\n");
        return 1;
    }
    SetUpEqualizer(*engine);
    AudioFile& file = engine->audioFile();
    WaveOut& out = engine->waveOut();
    file.SetOutput("Eq");

    // CPU while playing in real time.
    file.SetFileName(mp3);
    const double cpu0 = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    out.Start();
    // The program's own thread sleeps meanwhile, as an idle UI thread would.
    std::this_thread::sleep_for(std::chrono::milliseconds(int(PlaySeconds * 1000)));
    const double engineCpu = (CpuSeconds(RUSAGE_SELF) - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
    out.Stop();
    out.Close();

    const double child0 = CpuSeconds(RUSAGE_CHILDREN);
    wall.restart();
    Run("mpg123",
        {"-q", "-o", "pulse", "-n", QString::number(int(PlaySeconds * 44100 / 1152)), mp3});
    const double mpg123Cpu =
        (CpuSeconds(RUSAGE_CHILDREN) - child0) / (double(wall.nsecsElapsed()) / 1e9);
    Report("engine_realtime_cpu", engineCpu * 100, "%_of_one_core", "mpg123_-o_pulse",
           mpg123Cpu * 100);

    // Start latency and volume latency, five tries each.
    SoundCapture capture;
    std::vector<double> starts, paplays, volumes;
    for (int i = 0; i < 5; ++i) {
        file.SetFileName(wav);
        engine->masterVolume().SetVolume(24000);
        starts.push_back(UntilSound(capture, [&] { out.Start(); }));
        WaitUntil([] { return false; }, std::chrono::milliseconds(300));
        // The newest 10 ms of the capture silent: the change has been heard.
        capture.Clear();
        QElapsedTimer t;
        t.start();
        engine->masterVolume().SetVolume(0);
        WaitUntil(
            [&] {
                const auto& s = capture.Samples();
                return s.size() > 882 && Silent(s, s.size() - 882);
            },
            std::chrono::seconds(5));
        volumes.push_back(double(t.nsecsElapsed()) / 1e6);
        out.Stop();
        out.Close();
        QProcess paplay;
        paplays.push_back(UntilSound(capture, [&] { paplay.start("paplay", {wav}); }));
        paplay.kill();
        paplay.waitForFinished();
        WaitUntil([] { return false; }, std::chrono::milliseconds(200));
    }
    Report("engine_start_latency", Median(starts), "ms", "paplay_launch", Median(paplays));
    Report("engine_volume_latency", Median(volumes), "ms", "target", 150);
    return 0;
}
