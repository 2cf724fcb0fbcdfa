// The silence a listener hears between two tracks in continuous play: the program in this
// process plays a playlist of two MP3 tones through the sound server (PULSE_SERVER; a
// private one with the null sink quillet_sink), the sink's monitor is captured and the gap
// between the end of the first tone and the start of the second is measured. The median of
// several runs is set against the design bound: the end-of-track timer ticks every 500 ms.
#include "app/program.h"
#include "bench/audio/engine_benchutil.h"
#include "tests/app/heardtracks.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/support/fakedialogs.h"

#include <QFile>

#include <algorithm>
#include <vector>

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int Runs = 9;
constexpr double DesignBoundMs = 500;
constexpr size_t BridgeFrames = 44; // 1 ms at the capture's 44.1 kHz

// The program's ending is left out: the benchmark goes on after an unload.
class BenchProgram : public Program {
public:
    using Program::Program;

protected:
    void EndProcess() override {}
};

QString ToneMp3(const QTemporaryDir& dir, const QString& name, int hz)
{
    const QString wav = dir.filePath(name + ".wav");
    const QString mp3 = dir.filePath(name + ".mp3");
    Run("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "1.2", "sine",
                QString::number(hz), "vol", "0.5"});
    Run("lame", {"--quiet", "-b", "192", wav, mp3});
    return mp3;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // The load sequence registers the program as the user's player: in a scratch home.
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    QFile ini(dir.filePath("xquilletmp3.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[display]\ncontinuousPlay=1\n") < 0)
        return 1;
    ini.close();

    auto engine = audio::CreateAudioEngine({});
    if (engine->waveOut().DeviceCount() == 0) {
        std::fprintf(stderr, "no sound server (set PULSE_SERVER)\n");
        return 1;
    }
    test::FakeDialogs dialogs;
    BenchProgram program(*engine, dialogs, dir.path() + "/");
    program.Form_Load();
    program.mediaFiles().AddMediaFile(ToneMp3(dir, "low", 440));
    program.mediaFiles().AddMediaFile(ToneMp3(dir, "high", 880));

    test::SoundCapture capture;
    std::vector<double> gaps;
    for (int run = 0; run < Runs; ++run) {
        program.playlist().Select(0);
        capture.Clear();
        program.transport().PlaySelected();
        std::vector<test::HeardStretch> heard;
        const bool both = WaitUntil(
            [&] {
                // Quiet of 1 ms or more separates the tones (the gap may be shorter than the
                // 10 ms a listening test bridges), and a tone of a new pitch starts a stretch
                // of its own even without a pause.
                heard = test::HeardStretches(capture.Samples(), 64, BridgeFrames, true);
                return heard.size() >= 2 && heard[1].Ms() >= 100;
            },
            std::chrono::seconds(8));
        program.transport().StopPlayback();
        if (!both) {
            std::fprintf(stderr, "the second track was not heard\n");
            return 1;
        }
        gaps.push_back(test::GapMs(heard[0], heard[1]));
        WaitUntil([] { return false; }, std::chrono::milliseconds(200)); // the capture's tail
    }
    std::sort(gaps.begin(), gaps.end());
    Report("gap_between_tracks", gaps[gaps.size() / 2], "ms", "design_bound", DesignBoundMs);
    return 0;
}
