// The meters, their scale, the spectrum and the oscilloscope, fed frame by frame.
#include "components/audio/dsp/analysis.h"
#include "components/displays/displaylook.h"
#include "components/displays/levelmeter.h"
#include "components/displays/levelscale.h"
#include "components/displays/meterpanel.h"
#include "components/displays/oscilloscope.h"
#include "components/displays/spectrumdisplay.h"
#include "tests/fixtures/fixtures.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace quillet::test {
namespace {

constexpr float Silence = -std::numeric_limits<float>::infinity();

// How many columns of the rendered meter show a lit (or warm) segment, and the first warm one.
std::pair<int, int> LitAndFirstWarm(LevelMeter& meter)
{
    const QImage image = meter.grab().toImage();
    int lit = 0, firstWarm = -1;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, 2);
        lit += pixel == look::MeterLit || pixel == look::MeterWarm;
        if (pixel == look::MeterWarm && firstWarm < 0)
            firstWarm = x;
    }
    return {lit, firstWarm};
}

// −60 … 0 dB over 131 px, warm from −12 dB: one segment per two pixels up to the level, warm
// only in the top fifth; the peak holds, then falls nine pixels a frame to rest, stops on a bar
// that reaches it and is lifted at once by a louder level.
TEST(LevelMeter, LightsSegmentsUpToTheLevelAndThePeakHoldsThenFalls)
{
    LevelMeter meter;
    meter.ShowLevel(-20.0f);
    EXPECT_EQ(meter.LitLength(), 87);                     // 40/60 of 131
    EXPECT_EQ(LitAndFirstWarm(meter), std::pair(44, -1)); // columns 0, 2, … 86
    EXPECT_EQ(meter.LengthFor(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(meter.LengthFor(+3.0f), 131); // clipping fills, never overruns
    meter.ShowLevel(-6.0f);
    EXPECT_EQ(meter.LitLength(), 118);
    // Warm from the first segment at or past 80 % (column 104.8 − 1).
    EXPECT_EQ(LitAndFirstWarm(meter), std::pair(59, 104));
    for (int frame = 0; frame < LevelMeter::PeakHoldFrames; ++frame) {
        meter.ShowLevel(Silence);
        EXPECT_EQ(meter.PeakLength(), 118);
        EXPECT_EQ(meter.LitLength(), 0);
    }
    for (int expected = 118 - 9; expected > 0; expected -= 9) {
        meter.ShowLevel(Silence);
        EXPECT_EQ(meter.PeakLength(), expected);
    }
    meter.ShowLevel(Silence);
    EXPECT_TRUE(meter.AtRest());

    meter.ShowLevel(-6.0f);
    for (int frame = 0; frame < 20; ++frame)
        meter.ShowLevel(-20.0f);
    EXPECT_EQ(meter.PeakLength(), 87);
    meter.ShowLevel(0.0f);
    EXPECT_EQ(meter.PeakLength(), 131);
}

TEST(LevelScale, MeterBarsEndOnTheTickOfTheirLevelAndWarmFromTheSameTick)
{
    // The panel as the window lays it out: meters at 16, 8 and 16, 16; the scale at 32, 26.
    MeterPanel panel;
    LevelMeter meter(&panel);
    meter.move(16, 8);
    LevelScale scale(&panel);
    scale.move(32, 26);
    scale.AlignMeter(meter);
    for (int tick = 0; tick < LevelScale::Ticks; ++tick) {
        const float dB = -60.0f + 6.0f * float(tick);
        EXPECT_EQ(16 + meter.LengthFor(dB) - 1, 32 + scale.TickX(tick)) << dB << " dB";
    }
    meter.ShowLevel(0.0f);
    const int warmTick = 32 + scale.TickX(8) - 16;
    EXPECT_EQ(LitAndFirstWarm(meter).second, warmTick + (warmTick & 1)); // next segment column

    // The scale draws its ticks, long ones at −60, −30 and 0 dB, warm from −12 dB on.
    const QImage ticks = scale.grab().toImage();
    for (int tick = 0; tick < LevelScale::Ticks; ++tick) {
        const QRgb colour = tick >= 8 ? look::MeterWarm : look::PanelText;
        const int x = scale.TickX(tick);
        EXPECT_EQ(ticks.pixel(x, 0), colour) << tick;
        EXPECT_EQ(ticks.pixel(x, 6) == colour, tick % 5 == 0) << tick;
    }
}

// A spectrum display showing a sine as measured by the engine's own analyser.
void ShowSine(SpectrumDisplay& spectrum, double hz)
{
    const fixtures::Signal sine = fixtures::Tone(hz, 0.05, 44100, 2, 0.5);
    audio::SpectrumAnalyzer analyzer;
    spectrum.ShowSpectrum(
        analyzer.Analyze(sine.samples.data(), audio::SpectrumAnalyzer::WindowFrames));
}

int BarNear(const SpectrumDisplay& spectrum, double hz)
{
    const auto distance = [&](int bar) {
        return std::abs(std::log(spectrum.BarCentreHz(bar) / hz));
    };
    int best = 0;
    for (int bar = 1; bar < spectrum.BarCount(); ++bar)
        best = distance(bar) < distance(best) ? bar : best;
    return best;
}

// A sine lights bars around its frequency only, lime low and yellow in the top quarter; bars
// fall seven pixels a frame, peaks one after a hold, then rest.
TEST(SpectrumDisplay, ASineLightsItsBarsWhichFallToRest)
{
    for (double hz : {200.0, 1000.0, 5000.0}) {
        SpectrumDisplay spectrum;
        ShowSine(spectrum, hz);
        const QImage image = spectrum.grab().toImage();
        const auto bottomAt = [&](int bar) { return image.pixel(spectrum.BarX(bar) + 1, 27); };
        int tallest = 0;
        for (int bar = 0; bar < spectrum.BarCount(); ++bar)
            tallest = spectrum.BarHeight(bar) > spectrum.BarHeight(tallest) ? bar : tallest;
        EXPECT_LE(std::abs(tallest - BarNear(spectrum, hz)), 1) << hz;
        ASSERT_GT(spectrum.BarHeight(tallest), 22) << hz;
        EXPECT_EQ(bottomAt(tallest), look::SpectrumLow) << hz;
        EXPECT_EQ(image.pixel(spectrum.BarX(tallest) + 1, 27 - 21), look::SpectrumHigh) << hz;
        for (double far : {hz / 5, hz * 5}) {
            if (far > SpectrumDisplay::LowHz && far < SpectrumDisplay::HighHz) {
                EXPECT_EQ(bottomAt(BarNear(spectrum, far)), look::Black) << hz << " at " << far;
            }
        }
    }

    SpectrumDisplay spectrum;
    std::array<float, Connector::SpectrumBins> loud;
    loud.fill(0.0f);
    spectrum.ShowSpectrum(loud);
    const int bar = BarNear(spectrum, 500); // no tilt at 500 Hz: 0 dB is full height
    ASSERT_EQ(spectrum.BarHeight(bar), 28);
    std::vector<int> bars, peaks;
    while (!spectrum.AtRest() && peaks.size() < 100) {
        spectrum.Rest();
        bars.push_back(spectrum.BarHeight(bar));
        peaks.push_back(spectrum.PeakHeight(bar));
    }
    std::vector<int> expectedBars{21, 14, 7};
    expectedBars.resize(peaks.size(), 0);
    EXPECT_EQ(bars, expectedBars);
    std::vector<int> expectedPeaks(SpectrumDisplay::PeakHoldFrames, 28);
    for (int peak = 27; peak >= 0; --peak)
        expectedPeaks.push_back(peak);
    EXPECT_EQ(peaks, expectedPeaks);
}

TEST(Oscilloscope, TriggersOnARisingZeroCrossingSoATonePictureStandsStill)
{
    Oscilloscope scope;
    const int centre = (Oscilloscope::DesignHeight - 1) / 2;
    // The same 441 Hz tone read at three moments: one picture, starting on the way up.
    std::vector<int> first;
    for (int offset : {0, 37, 61}) {
        std::vector<float> samples(size_t(scope.SamplesWanted()));
        for (size_t n = 0; n < samples.size(); ++n)
            samples[n] = float(std::sin(2 * std::numbers::pi * 441 * double(n + offset) / 44100));
        scope.ShowSamples(samples);
        std::vector<int> trace;
        for (int x = 0; x < scope.width(); ++x)
            trace.push_back(scope.TraceY(x));
        EXPECT_NEAR(trace[0], centre, 1);
        EXPECT_LT(trace[3], trace[0]); // positive samples are drawn above the centre
        EXPECT_EQ(*std::min_element(trace.begin(), trace.end()), 0);
        EXPECT_EQ(*std::max_element(trace.begin(), trace.end()), 2 * centre);
        first = first.empty() ? trace : first;
        EXPECT_EQ(trace, first) << offset;
    }

    // Out-of-range and broken samples stay inside (every second sample is drawn); no samples
    // is a flat line.
    scope.ShowSamples(std::vector<float>{4.0f, 0, -4.0f, 0, std::nanf("")});
    EXPECT_EQ(scope.TraceY(0), 0);
    EXPECT_EQ(scope.TraceY(1), 2 * centre);
    EXPECT_EQ(scope.TraceY(2), centre);
    scope.ShowSamples({});
    EXPECT_TRUE(scope.AtRest());
    const QImage image = scope.grab().toImage();
    EXPECT_EQ(image.pixel(100, centre), look::ScopeTrace);
    EXPECT_EQ(image.pixel(100, centre - 1), look::Black);
}

} // namespace
} // namespace quillet::test
