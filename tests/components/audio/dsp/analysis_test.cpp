// The display analysis: level meters read a sine's peak, the spectrum puts a sine in its bin.
#include "components/audio/dsp/analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

using namespace quillet::audio;

namespace {

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

TEST(Analysis, PeakLevelsAndScopeReadEachChannel)
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

    const float stereo[4] = {1.0f, 0.0f, -0.5f, 0.25f};
    float mono[2];
    ScopeSamples(stereo, 2, mono);
    EXPECT_EQ(mono[0], 0.5f);
    EXPECT_EQ(mono[1], -0.125f);
}

TEST(Analysis, SpectrumPutsASineInItsBin)
{
    SpectrumAnalyzer a;
    // On bin 40: full scale reads 0 dB there, and far bins see nothing of it.
    std::vector<float> s = Sine(512, 40.0 / 512, 1.0, 1.0);
    auto db = a.Analyze(s.data(), 512);
    EXPECT_EQ(std::max_element(db.begin(), db.end()) - db.begin(), 40);
    EXPECT_NEAR(db[40], 0.0f, 0.1f);
    EXPECT_LT(db[30], -60.0f);
    EXPECT_LT(db[200], -60.0f);

    // Half a scale between bins 100 and 101, left channel only (mono mix: −12 dB).
    s = Sine(512, 100.4 / 512, 0.5, 0.0);
    db = a.Analyze(s.data(), 512);
    EXPECT_EQ(std::max_element(db.begin(), db.end()) - db.begin(), 100);
    EXPECT_NEAR(db[100], -12.0f, 2.0f);

    // Silence, and a short window, read the floor without harm.
    std::vector<float> none(2 * 100, 0.0f);
    for (float x : a.Analyze(none.data(), 100))
        ASSERT_EQ(x, SpectrumAnalyzer::FloorDb);
}
