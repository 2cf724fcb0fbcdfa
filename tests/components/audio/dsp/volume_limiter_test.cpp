// Volume and balance, and the limiter with the conversion to 16-bit samples: exactness where
// nothing is to be done, silence where asked, and no clicks or clipping anywhere.
#include "tests/components/audio/dsp/eqmeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace quillet::audio;
using namespace quillet::audio::test;

namespace {

std::vector<float> Tone(size_t frames, double hz, double amplitude, int rate = 44100)
{
    std::vector<float> out(2 * frames);
    for (size_t i = 0; i < frames; ++i)
        out[2 * i] = out[2 * i + 1] =
            float(amplitude * std::sin(2 * std::numbers::pi * hz * double(i) / rate));
    return out;
}

// Runs `audio` through the stage in blocks and returns the result.
std::vector<float> Through(VolumeStage& v, std::vector<float> audio, size_t block = 1024)
{
    for (size_t at = 0; at < audio.size() / 2; at += block)
        v.Process(audio.data() + 2 * at, std::min(block, audio.size() / 2 - at));
    return audio;
}

size_t LongestRailRun(const std::vector<int16_t>& pcm)
{
    size_t longest = 0, run = 0;
    for (size_t i = 0; i < pcm.size(); i += 2) { // left channel
        run = (pcm[i] >= 32767 || pcm[i] <= -32767) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

} // namespace

TEST(VolumeStage, FullVolumeCentredIsExactAndZeroIsSilence)
{
    const std::vector<float> tone = Tone(4096, 440, 0.8);
    VolumeStage v;
    EXPECT_EQ(Through(v, tone), tone);

    v.SetVolume(0);
    Through(v, tone); // the ramp down
    for (float x : Through(v, tone))
        ASSERT_EQ(x, 0.0f);

    // The curve is quiet at the bottom and loud at the top, with nothing at the ends but
    // silence and unity.
    EXPECT_EQ(VolumeStage::VolumeGain(0), 0.0);
    EXPECT_EQ(VolumeStage::VolumeGain(32000), 1.0);
    EXPECT_NEAR(20 * std::log10(VolumeStage::VolumeGain(16000)), -18.06, 0.01);
    for (int vol = 320; vol <= 32000; vol += 320)
        EXPECT_GT(VolumeStage::VolumeGain(vol), VolumeStage::VolumeGain(vol - 320));
}

TEST(VolumeStage, BalanceTurnsDownOnlyTheOppositeSide)
{
    const std::vector<float> tone = Tone(4096, 440, 0.8);
    struct Case {
        int balance;
        float left, right;
    };
    for (const Case c : {Case{16000, 0, 1}, Case{-16000, 1, 0}, Case{8000, 0.5f, 1},
                         Case{-4000, 1, 0.75f}, Case{99999, 0, 1}}) {
        VolumeStage v;
        v.SetBalance(c.balance);
        Through(v, tone);
        const std::vector<float> out = Through(v, tone);
        for (size_t i = 0; i < 4096; ++i) {
            ASSERT_EQ(out[2 * i], tone[2 * i] * c.left) << "balance " << c.balance;
            ASSERT_EQ(out[2 * i + 1], tone[2 * i + 1] * c.right) << "balance " << c.balance;
        }
    }
}

TEST(VolumeStage, ChangesGlideAcrossTheBlock)
{
    // A constant signal makes the gain visible: it must move in small even steps.
    std::vector<float> dc(2 * 2048, 0.5f);
    VolumeStage v;
    v.SetVolume(0);
    v.SetBalance(16000);
    const std::vector<float> out = Through(v, dc, 2048);
    float worst = 0;
    for (size_t i = 1; i < 2048; ++i)
        worst = std::max({worst, std::abs(out[2 * i] - out[2 * i - 2]),
                          std::abs(out[2 * i + 1] - out[2 * i - 1])});
    EXPECT_LT(worst, 0.5f / 2048 * 1.01f);
    EXPECT_NEAR(out[0], 0.5f, 0.001f);
    EXPECT_EQ(out[2 * 2047], 0.0f);
}

TEST(SoftLimiter, SamplesWithinFullScaleConvertExactly)
{
    std::vector<float> in(65536);
    for (int s = -32768; s <= 32767; ++s)
        in[size_t(s + 32768)] = float(s) / 32768.0f;
    std::vector<int16_t> out(in.size());
    SoftLimiter lim;
    lim.Process(in.data(), out.data(), in.size());
    for (int s = -32768; s <= 32767; ++s)
        ASSERT_EQ(out[size_t(s + 32768)], s);

    // Odd counts and values between steps round to the nearest step.
    const float odd[3] = {0.25f / 32768, 0.75f / 32768, -1.6f / 32768};
    int16_t pcm[3];
    lim.Process(odd, pcm, 3);
    EXPECT_EQ(pcm[0], 0);
    EXPECT_EQ(pcm[1], 1);
    EXPECT_EQ(pcm[2], -2);
}

TEST(SoftLimiter, FullTrebleOnAFullScaleSweepIsNeverClipped)
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
    Configure(eq, Rate, Presets()[5].gains); // Full Treble: up to +12 dB
    SoftLimiter lim;
    std::vector<int16_t> pcm(audio.size());
    for (size_t at = 0; at < Frames; at += 1024) {
        const size_t n = std::min<size_t>(1024, Frames - at);
        eq.Process(audio.data() + 2 * at, n);
        lim.Process(audio.data() + 2 * at, pcm.data() + 2 * at, 2 * n);
    }
    float loudest = 0;
    for (float x : audio)
        loudest = std::max(loudest, std::abs(x));
    ASSERT_GT(loudest, 3.0f); // the test means something only if the input is far too loud

    EXPECT_LE(LongestRailRun(pcm), 2u);
    // The gain the limiter applied (output over input, where the input is loud enough to
    // measure it) moves by at most one attack step per frame: no jumps, no clipped corners.
    double previous = -1, worstJump = 0;
    for (size_t i = 0; i < Frames; ++i) {
        const double x = double(audio[2 * i]) * 32768;
        if (std::abs(x) < 8000) {
            previous = -1;
            continue;
        }
        const double gain = double(pcm[2 * i]) / x;
        if (previous >= 0)
            worstJump = std::max(worstJump, std::abs(gain - previous));
        previous = gain;
    }
    EXPECT_LT(worstJump, 1.0 / (0.002 * Rate) + 1e-3);
}

TEST(SoftLimiter, RecoversToExactConversionAfterALoudPassage)
{
    SoftLimiter lim;
    std::vector<float> loud = Tone(4410, 1000, 2.0);
    std::vector<int16_t> pcm(loud.size());
    lim.Process(loud.data(), pcm.data(), loud.size());
    EXPECT_LT(lim.CurrentGain(), 0.6f);
    for (int16_t s : pcm)
        ASSERT_GT(s, -32768);

    // Within two seconds of quiet the gain is unity again and conversion exact.
    const std::vector<float> quiet = Tone(44100, 440, 0.5);
    std::vector<int16_t> q(quiet.size());
    lim.Process(quiet.data(), q.data(), quiet.size());
    lim.Process(quiet.data(), q.data(), quiet.size());
    EXPECT_EQ(lim.CurrentGain(), 1.0f);
    lim.Process(quiet.data(), q.data(), quiet.size());
    EXPECT_EQ(lim.CurrentGain(), 1.0f);
    for (size_t i = 0; i < quiet.size(); ++i)
        ASSERT_EQ(q[i], int16_t(std::lrint(quiet[i] * 32768.0f)));

    lim.Process(loud.data(), pcm.data(), loud.size());
    lim.Reset();
    EXPECT_EQ(lim.CurrentGain(), 1.0f);
}

TEST(SoftLimiter, SamplesThatAreNotNumbersBecomeSilence)
{
    const float in[6] = {std::nanf(""), 0.5f, INFINITY, -INFINITY, 0.25f, -0.25f};
    int16_t out[6];
    SoftLimiter lim;
    lim.Process(in, out, 6);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 16384);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[4], 8192);
    EXPECT_EQ(out[5], -8192);
}
