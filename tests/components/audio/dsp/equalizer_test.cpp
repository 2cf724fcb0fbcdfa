// The equalizer measured as a listener would: its response at the band centres and where the
// outer bands reach the ends of the range, from the impulse response; its stability, bypass and
// smoothness of changes.
#include "tests/components/audio/dsp/eqmeasure.h"

#include <gtest/gtest.h>

using namespace quillet::audio;
using namespace quillet::audio::test;

TEST(Equalizer, MeetsTheSlidersAtTheCentresAndAtBothEndsAndDecaysAtEveryRate)
{
    Equalizer eq;
    for (int rate : {44100, 48000, 22050, 11025, 8000}) {
        for (const EqSetting& s : Settings(100)) {
            const std::vector<float> ir = MeasuredResponse(eq, rate, s.gains);
            double head = 0, tail = 0;
            for (size_t i = 0; i < ir.size(); ++i) {
                ASSERT_TRUE(std::isfinite(ir[i])) << s.name << " at " << rate;
                (i < ir.size() * 3 / 4 ? head : tail) += double(ir[i]) * ir[i];
            }
            // The sections that hold the lowest band reach down to a few hertz; with deep cuts
            // their tails fall by about 90 dB, not more, within the last quarter second.
            EXPECT_LT(tail, 1e-8 * head) << s.name << " at " << rate;
            EXPECT_LT(WorstDeviationDb(ir, rate, s.gains), 0.5) << s.name << " at " << rate;
        }
    }
}

// Whatever the blocks the output hands over, each channel gets the same response (the right
// one's impulse is −0.5).
TEST(Equalizer, EachChannelGetsTheSameResponseWhateverTheBlockSize)
{
    const Gains treble = Settings()[5].gains;
    Equalizer whole;
    const std::vector<float> reference = MeasuredResponse(whole, 44100, treble, 44100);
    for (size_t block : {1, 3, 8, 9, 17, 4096}) {
        Equalizer eq;
        const std::vector<float> ir = MeasuredResponse(eq, 44100, treble, block);
        double worst = 0;
        for (size_t i = 0; i < reference.size(); i += 2)
            worst = std::max({worst, double(std::abs(ir[i] - reference[i])),
                              std::abs(ir[i + 1] + 0.5 * reference[i])});
        EXPECT_LT(worst, 1e-5) << "block of " << block;
    }
}

// Flat passes every sample unchanged; a change glides rather than steps; back to flat, once the
// change has settled, bit for bit again.
TEST(Equalizer, FlatIsExactAndAChangeGlides)
{
    constexpr int Rate = 44100;
    constexpr size_t Block = 1024, Blocks = 40;
    const double hz = std::sqrt(1000.0 * 2000.0); // band 6's centre
    std::vector<float> sine(2 * Block * Blocks);
    for (size_t i = 0; i < Block * Blocks; ++i)
        sine[2 * i] = sine[2 * i + 1] =
            float(0.05 * std::sin(2 * std::numbers::pi * hz * double(i) / Rate));
    Equalizer eq;
    Configure(eq, Rate, Settings()[3].gains); // Default: all 0 dB
    std::vector<float> out = sine;
    for (size_t b = 0; b < Blocks; ++b) {
        if (b == Blocks / 2)
            eq.SetGain(6, 16); // +16 dB in one move
        eq.Process(out.data() + 2 * b * Block, Block);
    }
    EXPECT_TRUE(std::equal(sine.begin(), sine.begin() + ptrdiff_t(sine.size() / 2), out.begin()));
    // A click would step further between two samples than the loudest sine (+16 dB) does.
    const double maxStep =
        0.05 * std::pow(10.0, 16 / 20.0) * 2 * std::sin(std::numbers::pi * hz / Rate);
    double worstStep = 0;
    for (size_t i = 1; i < Block * Blocks; ++i)
        worstStep = std::max(worstStep, double(std::abs(out[2 * i] - out[2 * i - 2])));
    EXPECT_LT(worstStep, 1.05 * maxStep);
    const float peakAfter = *std::max_element(out.end() - 2 * Block, out.end());
    EXPECT_NEAR(20 * std::log10(peakAfter / 0.05), 16, 0.5) << "the change took effect";

    eq.SetGain(6, 0);
    std::vector<float> scratch = Noise(44100, 0.3f);
    eq.Process(scratch.data(), 4096);
    eq.Process(scratch.data() + 2 * 4096, 44100 - 4096);
    out = sine;
    eq.Process(out.data(), Block * Blocks);
    EXPECT_EQ(out, sine) << "back to flat";
}
