// The equalizer measured as a listener would: its response at the band centres and where the
// outer bands reach the ends of the range, from the impulse response, and its stability.
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
