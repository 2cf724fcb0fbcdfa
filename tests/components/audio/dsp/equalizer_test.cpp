// The equalizer measured as a listener would: its response at the band centres from the
// impulse response, its stability, bypass, smoothness of changes and handling of bad input.
#include "tests/components/audio/dsp/eqmeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace quillet::audio;
using namespace quillet::audio::test;

namespace {

std::vector<EqSetting> AllSettings()
{
    std::vector<EqSetting> all = Presets();
    for (const EqSetting& s : RandomSettings(100))
        all.push_back(s);
    return all;
}

std::vector<float> Noise(size_t frames, float amplitude, uint32_t seed = 1)
{
    std::vector<float> out(2 * frames);
    for (float& x : out) {
        seed = seed * 1664525u + 1013904223u;
        x = amplitude * (float(int32_t(seed)) / 2147483648.0f);
    }
    return out;
}

// A plain double-precision cascade of the designed sections, one frame at a time: what the
// equalizer's vectorised processing must compute.
std::vector<double> ReferenceResponse(int rate, const Gains& gains, size_t frames)
{
    const EqLayout layout = PlayerLayout(rate);
    const auto sections = DesignCascade(layout, SolveFilterGains(layout, Widen(gains)));
    std::vector<double> out(frames);
    double z1[10] = {}, z2[10] = {};
    for (size_t n = 0; n < frames; ++n) {
        double x = n == 0 ? 1.0 : 0.0;
        for (int k = 0; k < 10; ++k) {
            const Biquad& s = sections[k];
            const double y = s.b0 * x + z1[k];
            z1[k] = s.b1 * x - s.a1 * y + z2[k];
            z2[k] = s.b2 * x - s.a2 * y;
            x = y;
        }
        out[n] = x;
    }
    return out;
}

} // namespace

TEST(Equalizer, EveryBandCentreMeetsItsSliderAt44And48kHz)
{
    Equalizer eq;
    for (int rate : {44100, 48000})
        for (const EqSetting& s : AllSettings())
            EXPECT_LT(WorstDeviationDb(eq, rate, s.gains), 0.5) << s.name << " at " << rate;
}

TEST(Equalizer, ProcessingComputesTheDesignedCascadeWhateverTheBlockSize)
{
    const Gains treble = Presets()[5].gains;
    const std::vector<double> reference = ReferenceResponse(44100, treble, 20000);
    for (size_t block : {1, 3, 8, 9, 17, 4096}) {
        Equalizer eq;
        Configure(eq, 44100, treble);
        const std::vector<float> ir = ImpulseResponse(eq, reference.size(), block);
        double worst = 0;
        for (size_t i = 0; i < ir.size(); ++i)
            worst = std::max(worst, std::abs(ir[i] - reference[i]));
        EXPECT_LT(worst, 1e-5) << "block of " << block;
    }
}

TEST(Equalizer, ChannelsAreFilteredAlikeAndApart)
{
    Equalizer eq;
    Configure(eq, 44100, Presets()[7].gains);
    std::vector<float> buf(2 * 8192, 0.0f);
    buf[0] = 1.0f;
    buf[1] = -0.5f;
    eq.Process(buf.data(), 8192);
    for (size_t i = 0; i < 8192; ++i)
        ASSERT_NEAR(buf[2 * i + 1], -0.5f * buf[2 * i], 1e-6f) << "frame " << i;
}

TEST(Equalizer, StaysStableAndAccurateAtLowRates)
{
    for (int rate : {8000, 11025, 22050}) {
        Equalizer eq;
        for (const EqSetting& s : AllSettings()) {
            Configure(eq, rate, s.gains);
            eq.ResetState();
            const std::vector<float> ir = ImpulseResponse(eq, size_t(2 * rate));
            double total = 0, tail = 0;
            for (size_t i = 0; i < ir.size(); ++i) {
                ASSERT_TRUE(std::isfinite(ir[i])) << s.name << " at " << rate;
                total += double(ir[i]) * ir[i];
                if (i >= ir.size() * 3 / 4)
                    tail += double(ir[i]) * ir[i];
            }
            EXPECT_LT(tail, 1e-12 * total) << s.name << " at " << rate;
            for (int k = 0; k < 10; ++k) {
                if (BandCentre(k) >= MaxCentreFraction * rate)
                    continue; // left out at this rate
                EXPECT_NEAR(ResponseAtDb(ir, BandCentre(k), rate), s.gains[k], 0.5)
                    << s.name << " band " << k << " at " << rate;
            }
        }
    }
}

TEST(Equalizer, FlatGainsPassSamplesUnchanged)
{
    const std::vector<float> input = Noise(10000, 0.9f);
    Equalizer eq;
    Configure(eq, 44100, Presets()[3].gains); // Default: all 0 dB
    std::vector<float> buf = input;
    eq.Process(buf.data(), 10000);
    EXPECT_EQ(buf, input);

    // Back to flat after a curve: once the change has settled, bit for bit again.
    for (int k = 0; k < 10; ++k)
        eq.SetGain(k, Presets()[10].gains[k]);
    std::vector<float> scratch = Noise(44100, 0.5f, 7);
    eq.Process(scratch.data(), 44100);
    for (int k = 0; k < 10; ++k)
        eq.SetGain(k, 0);
    scratch = Noise(44100, 0.5f, 9);
    eq.Process(scratch.data(), 4096);
    eq.Process(scratch.data() + 2 * 4096, 44100 - 4096);
    buf = input;
    eq.Process(buf.data(), 10000);
    EXPECT_EQ(buf, input);

    // A band above the stream's range is left out: at 8 kHz the top band changes nothing.
    Equalizer low;
    Gains onlyTop{};
    onlyTop[9] = 16;
    Configure(low, 8000, onlyTop);
    buf = input;
    low.Process(buf.data(), 10000);
    EXPECT_EQ(buf, input);
}

TEST(Equalizer, GainChangeIsGlidedNotStepped)
{
    constexpr int Rate = 44100;
    const double Hz = BandCentre(6);
    Equalizer eq;
    Gains g{};
    g[6] = -16;
    Configure(eq, Rate, g);
    const size_t block = 1024, blocks = 40;
    std::vector<float> buf(2 * block * blocks);
    for (size_t i = 0; i < block * blocks; ++i)
        buf[2 * i] = buf[2 * i + 1] = float(0.05 * std::sin(2 * std::numbers::pi * Hz * i / Rate));
    for (size_t b = 0; b < blocks; ++b) {
        if (b == 20)
            eq.SetGain(6, 16); // +32 dB in one move
        eq.Process(buf.data() + 2 * b * block, block);
    }
    // The loudest the output gets is 0.05 · (+16 dB); its largest honest step between two
    // samples is that amplitude times 2·sin(π f / rate). A click would exceed it.
    const double loud = 0.05 * std::pow(10.0, 16 / 20.0);
    const double maxStep = loud * 2 * std::sin(std::numbers::pi * Hz / Rate);
    double worstStep = 0, peakBefore = 0, peakAfter = 0;
    for (size_t i = 1; i < block * blocks; ++i) {
        worstStep = std::max(worstStep, double(std::abs(buf[2 * i] - buf[2 * i - 2])));
        if (i >= 10 * block && i < 20 * block)
            peakBefore = std::max(peakBefore, double(std::abs(buf[2 * i])));
        if (i >= 30 * block)
            peakAfter = std::max(peakAfter, double(std::abs(buf[2 * i])));
    }
    EXPECT_LT(worstStep, 1.05 * maxStep);
    EXPECT_NEAR(20 * std::log10(peakBefore / 0.05), -16, 0.5);
    EXPECT_NEAR(20 * std::log10(peakAfter / 0.05), 16, 0.5);
}

TEST(Equalizer, RefusesBadBandsAndGains)
{
    Equalizer eq;
    EXPECT_EQ(eq.AddBand(100, 50), -1);
    EXPECT_EQ(eq.AddBand(-1, 50), -1);
    EXPECT_EQ(eq.AddBand(0, std::nan("")), -1);
    EXPECT_EQ(eq.BandCount(), 0);
    for (int k = 0; k < Equalizer::MaxBands; ++k)
        EXPECT_EQ(eq.AddBand(100 * k, 100 * k + 50), k);
    EXPECT_EQ(eq.AddBand(5000, 6000), -1);

    eq.SetGain(3, 6);
    eq.SetGain(3, std::nan(""));
    EXPECT_EQ(eq.Gain(3), 6);
    eq.SetGain(4, 1000);
    EXPECT_EQ(eq.Gain(4), Equalizer::MaxGainDb);
    eq.SetGain(99, 5);
    eq.SetGain(-1, 5);
    EXPECT_EQ(eq.Gain(99), 0);
    EXPECT_EQ(eq.Gain(-1), 0);
}

TEST(Equalizer, RecoversAfterSamplesThatAreNotNumbers)
{
    Equalizer eq;
    Configure(eq, 44100, Presets()[7].gains);
    std::vector<float> buf = Noise(4096, 0.3f);
    buf[100] = std::nanf("");
    buf[201] = INFINITY;
    eq.Process(buf.data(), 4096);
    buf = Noise(4096, 0.3f, 3);
    eq.Process(buf.data(), 4096);
    for (float x : buf)
        ASSERT_TRUE(std::isfinite(x));
}
