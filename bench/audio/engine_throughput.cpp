// Engine throughput: a 5-minute 320 kbit/s MP3 decoded, equalized (every band away from
// 0 dB), volume and balance applied, limited and converted, into the null output as fast as
// it goes — against `mpg123 -t -q` decoding the same file and against sox running ten
// equalizer sections over it. The same music as FLAC, Ogg Vorbis and Opus against the
// reference decoders `flac -d`, `oggdec` and `opusdec` writing to /dev/null. Best of three
// runs each, same machine, same run.
#include "bench/audio/engine_benchutil.h"

using namespace quillet;
using namespace quillet::bench;

namespace {

double EngineRun(const QString& mp3, bool shaped = true)
{
    audio::EngineOptions options;
    options.output = audio::OutputKind::NullFast;
    auto engine = audio::CreateAudioEngine(options);
    if (shaped)
        SetUpEqualizer(*engine);
    bool stopped = false;
    QObject::connect(&engine->waveOut(), &WaveOut::OnStop, [&] { stopped = true; });
    QElapsedTimer t;
    t.start();
    engine->audioFile().SetOutput("Eq");
    engine->audioFile().SetFileName(mp3); // includes the exact-length scan
    engine->waveOut().Start();
    if (!WaitUntil([&] { return stopped; }, std::chrono::minutes(5)))
        throw std::runtime_error("the engine did not finish");
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Music music(300);
    const QString& mp3 = music.mp3;

    const double engine = BestOf(3, [&] { return EngineRun(mp3); });
    const double flat = BestOf(3, [&] { return EngineRun(mp3, false); });
    const double mpg123 = BestOf(3, [&] { return TimeRun("mpg123", {"-t", "-q", mp3}); });
    QStringList soxArgs{"-q", mp3, "-t", "raw", "-e", "signed", "-b", "16", "/dev/null"};
    const int centres[] = {32, 64, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
    for (int hz : centres)
        soxArgs << "equalizer" << QString::number(hz) << "1.4q"
                << "3";
    const double sox = BestOf(3, [&] { return TimeRun("sox", soxArgs); });

    Report("engine_throughput_5min_mp3", engine, "s", "mpg123_-t", mpg123);
    Report("engine_throughput_5min_mp3", engine, "s", "sox_10_equalizers", sox);
    Report("engine_throughput_flat_5min_mp3", flat, "s", "mpg123_-t", mpg123);
    Report("engine_speed", 300.0 / engine, "x_realtime", "mpg123_-t", 300.0 / mpg123);

    struct Format {
        const char* name;
        QString file;
        QStringList encode;
        QString decoder;
        QStringList decode;
    };
    const QString& wav = music.wav;
    const QString flac = music.dir.filePath("music.flac");
    const QString ogg = music.dir.filePath("music.ogg");
    const QString opus = music.dir.filePath("music.opus");
    const Format formats[] = {
        {"flac",
         flac,
         {"flac", "--silent", "-o", flac, wav},
         "flac",
         {"-d", "--silent", "-f", "-o", "/dev/null", flac}},
        {"ogg_vorbis",
         ogg,
         {"oggenc", "--quiet", "-o", ogg, wav},
         "oggdec",
         {"--quiet", "-o", "/dev/null", ogg}},
        {"opus",
         opus,
         {"opusenc", "--quiet", wav, opus},
         "opusdec",
         {"--quiet", opus, "/dev/null"}},
    };
    for (const Format& f : formats) {
        Run(f.encode.front(), f.encode.mid(1));
        const double ours = BestOf(3, [&] { return EngineRun(f.file); });
        const double theirs = BestOf(3, [&] { return TimeRun(f.decoder, f.decode); });
        Report(qPrintable(QString("engine_throughput_5min_%1").arg(f.name)), ours, "s",
               qPrintable(f.decoder), theirs);
    }
    return 0;
}
