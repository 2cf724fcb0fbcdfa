// How two tracks join in continuous play: the program in this process plays a steady sine
// cut into two files off a zero crossing through the sound server (PULSE_SERVER; a private one
// with the null sink quillet_sink), the sink's monitor is captured and the join is measured:
// where the second file's first sample is heard against where it belongs (WAV and FLAC: 0
// samples, sample-exact), and for the MP3 pair the same and how far the sound strays from the uncut
// sine around the join, both against mpg123's own gapless decode of the same two files.
// Medians of several runs.
#include "app/program.h"
#include "bench/audio/engine_benchutil.h"
#include "tests/app/cutsine.h"
#include "tests/app/heardtracks.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/support/fakedialogs.h"

#include <QFile>

#include <algorithm>
#include <vector>

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int Runs = 7;

// The program's ending is left out: the benchmark goes on after an unload.
class BenchProgram : public Program {
public:
    using Program::Program;

protected:
    void EndProcess() override {}
};

template <class T> T Median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write("[display]\ncontinuousPlay=1\nvolume=100\n[equalizer]\nequalizerPreset=4\n") < 0)
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
    const test::CutSine sine(dir.path());

    test::SoundCapture capture;
    struct Pair {
        const char* name;
        const QString* files;
        bool lossless;
    };
    for (const Pair& pair : {Pair{"wav", sine.wav, true}, Pair{"flac", sine.flac, true},
                             Pair{"mp3", sine.mp3, false}}) {
        program.playlist().ClearPlaylist();
        for (int i = 0; i < 2; ++i)
            program.mediaFiles().AddMediaFile(pair.files[i]);
        const std::vector<int16_t>& decoded = pair.lossless ? sine.samples : sine.mpg123;
        std::vector<int64_t> gaps;
        int exact = 0; // runs that were heard bit for bit
        std::vector<double> errors;
        for (int run = 0; run < Runs; ++run) {
            program.playlist().Select(0);
            capture.Clear();
            program.transport().PlaySelected();
            const bool heard = WaitUntil(
                [&] {
                    return test::Sounding(capture.Samples()).size() >= sine.samples.size() + 8820;
                },
                std::chrono::seconds(8));
            program.transport().StopPlayback();
            if (!heard) {
                std::fprintf(stderr, "the second track was not heard\n");
                return 1;
            }
            const test::HeardJoin join =
                test::MeasureJoin(capture.Samples(), sine.samples, sine.Cut, decoded);
            gaps.push_back(join.gapFrames);
            exact += join.firstDifference < 0;
            errors.push_back(join.joinError);
            WaitUntil([] { return false; }, std::chrono::milliseconds(200)); // the capture's tail
        }
        const test::HeardJoin reference =
            test::MeasureJoin(decoded, sine.samples, sine.Cut, decoded);
        const QByteArray name = QByteArray("gap_between_tracks_") + pair.name;
        if (pair.lossless) {
            Report(name.constData(), double(Median(gaps)), "samples", "sample_exact", 0);
            Report((name + "_bit_exact_runs").constData(), exact, "runs", "runs", Runs);
        } else {
            Report(name.constData(), double(Median(gaps)), "samples", "mpg123",
                   double(reference.gapFrames));
            Report("join_error_mp3", Median(errors), "lsb_rms", "mpg123", reference.joinError);
        }
    }
    return 0;
}
