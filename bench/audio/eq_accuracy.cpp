// Equalizer accuracy: the worst deviation of the measured response from the slider gains at
// the band centres and where the outer bands reach the ends of the range (10 and 20 Hz,
// 16.5 and 20 kHz), over the eleven presets, alternating extremes and 100 random settings at
// 44.1 and 48 kHz, against a plain cascade whose bands' own sections are set straight to the
// slider gains. Also the equalizer's throughput on five minutes of stereo with every band in
// use.
#include "tests/components/audio/dsp/eqmeasure.h"

#include <cstdio>
#include <ctime>

using namespace quillet::audio;
using namespace quillet::audio::test;

namespace {

// The plain cascade's response at the check points, from its sections' exact responses.
double PlainWorstDeviationDb(int rate, const Gains& gains)
{
    const EqLayout layout = PlayerLayout(rate);
    SectionGains plain{};
    for (int i = 0; i < layout.sectionCount; ++i)
        if (!layout.sections[i].helper)
            plain[i] = gains[layout.sections[i].band];
    const auto sections = DesignCascade(layout, plain);
    double worst = 0;
    for (const CheckPoint& p : CheckPoints(rate)) {
        double db = 0;
        for (int i = 0; i < layout.sectionCount; ++i)
            db += ResponseDb(sections[i], p.hz, rate);
        worst = std::max(worst, std::abs(db - gains[p.band]));
    }
    return worst;
}

// Processor time of this process, so that other work on the machine does not count.
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

void Print(const char* name, double value, const char* unit, const char* baseName, double baseline)
{
    std::printf("%s %.4g %s (%s %.4g, ratio %.3g)\n", name, value, unit, baseName, baseline,
                value / baseline);
}

} // namespace

int main()
{
    const std::vector<EqSetting> settings = Settings(100);

    double worst = 0, plainWorst = 0;
    const char* worstName = "";
    Equalizer eq;
    for (int rate : {44100, 48000}) {
        for (const EqSetting& s : settings) {
            const double d = WorstDeviationDb(MeasuredResponse(eq, rate, s.gains), rate, s.gains);
            if (d > worst) {
                worst = d;
                worstName = s.name.c_str();
            }
            plainWorst = std::max(plainWorst, PlainWorstDeviationDb(rate, s.gains));
        }
    }
    Print("eq_worst_deviation", worst, "dB", "plain_cascade", plainWorst);
    std::fprintf(stderr, "(worst setting: %s)\n", worstName);

    // Throughput (processor time): five minutes at 44.1 kHz, Full Treble (every section in
    // use), 4096-frame blocks, against real time; then the whole signal path on the same
    // audio (equalizer, volume and balance, limiter and conversion).
    constexpr size_t Rate = 44100, Frames = 300 * Rate, Block = 4096;
    std::vector<float> audio(2 * Frames);
    uint32_t noise = 1;
    for (float& x : audio) {
        noise = noise * 1664525u + 1013904223u;
        x = float(int32_t(noise)) / 4.3e9f;
    }
    const std::vector<float> original = audio;
    Equalizer run;
    Configure(run, Rate, Settings()[5].gains);
    double start = CpuSeconds();
    for (size_t at = 0; at < Frames; at += Block)
        run.Process(audio.data() + 2 * at, std::min(Block, Frames - at));
    double seconds = CpuSeconds() - start;
    Print("eq_process_throughput", double(Frames) / seconds, "frames/s", "real_time", double(Rate));

    // The whole path at a level the limiter leaves alone, and at one it must hold down all
    // the time (Full Treble lifts the noise about four times over full scale).
    VolumeStage volume;
    volume.SetVolume(24000);
    volume.SetBalance(-3200);
    SoftLimiter limiter;
    std::vector<int16_t> pcm(2 * Block);
    for (const float level : {0.2f, 1.0f}) {
        for (size_t i = 0; i < audio.size(); ++i)
            audio[i] = original[i] * level;
        start = CpuSeconds();
        for (size_t at = 0; at < Frames; at += Block) {
            const size_t n = std::min(Block, Frames - at);
            run.Process(audio.data() + 2 * at, n);
            volume.Process(audio.data() + 2 * at, n);
            limiter.Process(audio.data() + 2 * at, pcm.data(), 2 * n);
        }
        seconds = CpuSeconds() - start;
        Print(level < 1 ? "signal_path_throughput" : "signal_path_limiting_throughput",
              double(Frames) / seconds, "frames/s", "real_time", double(Rate));
    }

    // Redesign after a gain change (done on the output thread at the next block), against
    // the duration of one 4096-frame block.
    const EqLayout layout = PlayerLayout(Rate);
    std::array<double, MaxEqBands> slider{};
    double sink = 0;
    start = CpuSeconds();
    for (int i = 0; i < 200; ++i) {
        slider[i % 10] = settings[size_t(i) % settings.size()].gains[i % 10];
        sink += DesignCascade(layout, SolveSectionGains(layout, slider))[3].b1;
    }
    seconds = (CpuSeconds() - start) / 200;
    Print("eq_redesign_time", seconds * 1e6, "us", "block_duration", 1e6 * Block / Rate);
    return audio[12345] == 1234.5f && pcm[7] == 3 && sink == 0.5; // keeps the work
}
