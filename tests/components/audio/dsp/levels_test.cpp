// Volume and balance, and the limiter with the conversion to 16-bit samples: exactness where
// nothing is to be done, silence where asked, and no clicks or clipping anywhere. The display
// analysis: level meters read a sine's peak, the spectrum puts a sine in its bin.
#include "components/audio/dsp/analysis.h"
#include "tests/components/audio/dsp/eqmeasure.h"

#include <gtest/gtest.h>

using namespace quillet::audio;
using namespace quillet::audio::test;

namespace {

// Runs `audio` through the stage in blocks and returns the result.
std::vector<float> Through(VolumeStage& v, std::vector<float> audio, size_t block = 1024)
{
    for (size_t at = 0; at < audio.size() / 2; at += block)
        v.Process(audio.data() + 2 * at, std::min(block, audio.size() / 2 - at));
    return audio;
}

std::vector<float> Sine(size_t frames, double cyclesPerFrame, double left, double right)
{
    std::vector<float> out(2 * frames);
    for (size_t i = 0; i < frames; ++i) {
        const double s = std::sin(2 * std::numbers::pi * cyclesPerFrame * double(i) + 0.3);
        out[2 * i] = float(left * s);
        out[2 * i + 1] = float(right * s);
    }
    return out;
}

} // namespace

TEST(VolumeStage, UnityIsExactChangesGlideZeroIsSilenceAndBalanceTurnsDownTheOtherSide)
{
    const std::vector<float> noise = Noise(4096, 0.9f);
    VolumeStage v;
    EXPECT_EQ(Through(v, noise), noise);

    // On a constant signal the gain is seen to move to silence in small even steps.
    v.SetVolume(0);
    v.SetBalance(16000);
    const std::vector<float> out = Through(v, std::vector<float>(2 * 2048, 0.5f), 2048);
    float worst = 0;
    for (size_t i = 2; i < out.size(); ++i)
        worst = std::max(worst, std::abs(out[i] - out[i - 2]));
    EXPECT_LT(worst, 0.5f / 2048 * 1.01f);
    EXPECT_NEAR(out[0], 0.5f, 0.001f);
    EXPECT_EQ(out[2 * 2047], 0.0f);
    EXPECT_EQ(Through(v, noise), std::vector<float>(noise.size(), 0.0f));


    // Balance turns down only the opposite side.
    struct Case {
        int balance;
        float left, right;
    };
    for (const Case c : {Case{-16000, 1, 0}, Case{8000, 0.5f, 1}, Case{99999, 0, 1}}) {
        VolumeStage balanced;
        balanced.SetBalance(c.balance);
        std::vector<float> expected = Through(balanced, noise); // the ramp
        for (size_t i = 0; i < noise.size(); ++i)
            expected[i] = noise[i] * (i % 2 ? c.right : c.left);
        EXPECT_EQ(Through(balanced, noise), expected) << "balance " << c.balance;
    }
}

TEST(SoftLimiter, HoldsFullTrebleOnAFullScaleSweepUnclippedThenRecovers)
{
    constexpr int Rate = 44100;
    constexpr size_t Frames = 6 * Rate;
    std::vector<float> audio(2 * Frames);
    for (size_t i = 0; i < Frames; ++i) { // 20 Hz → 20 kHz, logarithmic, full scale
        const double t = double(i) / Rate, T = double(Frames) / Rate, k = std::log(1000.0);
        const double phase = 2 * std::numbers::pi * 20 * T / k * (std::exp(t / T * k) - 1);
        audio[2 * i] = audio[2 * i + 1] = float(32767.0 / 32768 * std::sin(phase));
    }
    Equalizer eq;
    Configure(eq, Rate, Settings()[5].gains); // Full Treble: up to +12 dB
    SoftLimiter lim;
    std::vector<int16_t> pcm(audio.size());
    for (size_t at = 0; at < Frames; at += 1024) {
        const size_t n = std::min<size_t>(1024, Frames - at);
        eq.Process(audio.data() + 2 * at, n);
        lim.Process(audio.data() + 2 * at, pcm.data() + 2 * at, 2 * n);
    }
    ASSERT_GT(*std::max_element(audio.begin(), audio.end()), 3.0f) << "not loud enough to test";

    // No run of samples at the rails; the gain applied (output over input, where the input is
    // loud enough to measure it) moves by at most one attack step per frame.
    size_t railRun = 0, longestRailRun = 0;
    double previous = -1, worstJump = 0;
    for (size_t i = 0; i < Frames; ++i) {
        railRun = std::abs(pcm[2 * i]) >= 32767 ? railRun + 1 : 0;
        longestRailRun = std::max(longestRailRun, railRun);
        const double x = double(audio[2 * i]) * 32768;
        const double gain = std::abs(x) < 8000 ? -1 : double(pcm[2 * i]) / x;
        if (previous >= 0 && gain >= 0)
            worstJump = std::max(worstJump, std::abs(gain - previous));
        previous = gain;
    }
    EXPECT_LE(longestRailRun, 2u);
    EXPECT_LT(worstJump, 1.0 / (0.002 * Rate) + 1e-3);

    // Within two seconds of quiet the gain is unity again and conversion exact.
    const std::vector<float> quiet = Noise(2 * Rate, 0.5f);
    std::vector<int16_t> q(quiet.size());
    lim.Process(quiet.data(), q.data(), quiet.size());
    EXPECT_EQ(lim.CurrentGain(), 1.0f);
    lim.Process(quiet.data(), q.data(), quiet.size());
    for (size_t i = 0; i < quiet.size(); ++i)
        ASSERT_EQ(q[i], int16_t(std::lrint(quiet[i] * 32768.0f)));

    // Between steps it rounds; what is not a number is silence (an odd count of samples).
    const float odd[7] = {0.25f / 32768, 0.75f / 32768, -1.6f / 32768, NAN, INFINITY, -INFINITY,
                          0.5f};
    const int16_t expected[7] = {0, 1, -2, 0, 0, 0, 16384};
    lim.Process(odd, q.data(), 7);
    EXPECT_TRUE(std::equal(expected, expected + 7, q.begin()));
}

TEST(Analysis, PeakLevelsReadEachChannel)
{
    // 1 kHz at 44.1 kHz: the window holds more than two periods, so the peak is seen.
    const std::vector<float> s = Sine(PeakWindowFrames, 1000.0 / 44100, 0.5, 1.0);
    const ChannelLevels l = PeakLevels(s.data(), PeakWindowFrames);
    EXPECT_NEAR(l.leftDb, -6.02f, 0.05f);
    EXPECT_NEAR(l.rightDb, 0.0f, 0.05f);

    std::vector<float> silent(2 * PeakWindowFrames, 0.0f);
    silent[10] = std::nanf("");
    const ChannelLevels q = PeakLevels(silent.data(), PeakWindowFrames);
    EXPECT_EQ(q.leftDb, LevelFloorDb);
    EXPECT_EQ(q.rightDb, LevelFloorDb);
    EXPECT_EQ(PeakLevels(silent.data(), 0).leftDb, LevelFloorDb);
}

TEST(Analysis, SpectrumPutsASineInItsBin)
{
    SpectrumAnalyzer a;
    // On bin 40: full scale reads 0 dB there, and far bins see nothing of it.
    const std::vector<float> s = Sine(512, 40.0 / 512, 1.0, 1.0);
    const auto db = a.Analyze(s.data(), 512);
    EXPECT_EQ(std::max_element(db.begin(), db.end()) - db.begin(), 40);
    EXPECT_NEAR(db[40], 0.0f, 0.1f);
    EXPECT_LT(db[30], -60.0f);
    EXPECT_LT(db[200], -60.0f);

    // Silence, and a short window, read the floor without harm.
    std::vector<float> none(2 * 100, 0.0f);
    for (float x : a.Analyze(none.data(), 100))
        ASSERT_EQ(x, SpectrumAnalyzer::FloorDb);
}
