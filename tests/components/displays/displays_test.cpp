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
struct LitColumns {
    int lit = 0;
    int firstWarm = -1;
};
LitColumns CountLit(LevelMeter& meter)
{
    const QImage image = meter.grab().toImage();
    LitColumns result;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, 2);
        if (pixel == look::MeterLit || pixel == look::MeterWarm)
            ++result.lit;
        if (pixel == look::MeterWarm && result.firstWarm < 0)
            result.firstWarm = x;
    }
    return result;
}

TEST(LevelMeter, LightsOneSegmentPerTwoPixelsUpToTheLevelAndWarmsOnlyInTheTopFifth)
{
    LevelMeter meter; // −60 … 0 dB over 131 px, warm from −12 dB
    meter.ShowLevel(-20.0f);
    EXPECT_EQ(meter.LitLength(), 87); // 40/60 of 131
    LitColumns columns = CountLit(meter);
    EXPECT_EQ(columns.lit, 44); // columns 0, 2, … 86
    EXPECT_EQ(columns.firstWarm, -1);

    for (int frame = 0; frame < 40; ++frame)
        meter.ShowLevel(Silence); // let the peak marker go
    meter.ShowLevel(-6.0f);
    EXPECT_EQ(meter.LitLength(), 118);
    columns = CountLit(meter);
    EXPECT_EQ(columns.lit, 59);
    EXPECT_EQ(columns.firstWarm, 104); // the first segment at or past 80 % (column 104.8 − 1)

    for (float nothing : {Silence, std::numeric_limits<float>::quiet_NaN(), -60.0f}) {
        EXPECT_EQ(meter.LengthFor(nothing), 0);
    }
    EXPECT_EQ(meter.LengthFor(+3.0f), 131); // clipping fills, never overruns
}

TEST(LevelMeter, PeakHoldsThenFallsNinePixelsAFrameToRest)
{
    LevelMeter meter;
    meter.ShowLevel(-6.0f);
    ASSERT_EQ(meter.PeakLength(), 118);
    for (int frame = 0; frame < LevelMeter::PeakHoldFrames; ++frame) {
        meter.ShowLevel(Silence);
        EXPECT_EQ(meter.PeakLength(), 118);
        EXPECT_EQ(meter.LitLength(), 0);
    }
    int frames = 0;
    for (int expected = 118 - 9; expected > 0; expected -= 9, ++frames) {
        meter.ShowLevel(Silence);
        EXPECT_EQ(meter.PeakLength(), expected);
        EXPECT_FALSE(meter.AtRest());
    }
    meter.ShowLevel(Silence);
    EXPECT_TRUE(meter.AtRest());
    EXPECT_EQ(frames, 13);

    // A falling marker stops on a bar that reaches it, and a louder level lifts it at once.
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
        const int lastLitColumn = meter.LengthFor(dB) - 1;
        EXPECT_EQ(16 + lastLitColumn, 32 + scale.TickX(tick)) << dB << " dB";
    }
    meter.ShowLevel(0.0f);
    EXPECT_EQ(meter.LitLength(), meter.width());
    const int warmTick = 32 + scale.TickX(8) - 16;
    EXPECT_EQ(CountLit(meter).firstWarm, warmTick + (warmTick & 1)); // next segment column

    // The scale draws its ticks, long ones at −60, −30 and 0 dB, warm from −12 dB on.
    const QImage ticks = scale.grab().toImage();
    const QRgb text = scale.palette().color(QPalette::WindowText).rgb();
    EXPECT_EQ(text, look::PanelText); // inherited from the panel
    for (int tick = 0; tick < LevelScale::Ticks; ++tick) {
        const QRgb colour = tick >= 8 ? look::MeterWarm : text;
        const int x = scale.TickX(tick);
        EXPECT_EQ(ticks.pixel(x, 0), colour) << tick;
        EXPECT_EQ(ticks.pixel(x, 6) == colour, tick % 5 == 0) << tick;
    }
}

// Magnitudes of a sine measured by the engine's own analyser.
std::array<float, Connector::SpectrumBins> SineSpectrum(double hz, double amplitude = 0.5)
{
    const fixtures::Signal sine = fixtures::Tone(hz, 0.05, 44100, 2, amplitude);
    audio::SpectrumAnalyzer analyzer;
    return analyzer.Analyze(sine.samples.data(), audio::SpectrumAnalyzer::WindowFrames);
}

int BarNear(const SpectrumDisplay& spectrum, double hz)
{
    int best = 0;
    for (int bar = 1; bar < spectrum.BarCount(); ++bar) {
        if (std::abs(std::log(spectrum.BarCentreHz(bar) / hz)) <
            std::abs(std::log(spectrum.BarCentreHz(best) / hz)))
            best = bar;
    }
    return best;
}

TEST(SpectrumDisplay, ASineLightsBarsAroundItsFrequencyOnly)
{
    SpectrumDisplay spectrum;
    for (double hz : {1000.0, 200.0, 5000.0}) {
        SpectrumDisplay shown;
        shown.ShowSpectrum(SineSpectrum(hz));
        int tallest = 0;
        for (int bar = 0; bar < shown.BarCount(); ++bar) {
            if (shown.BarHeight(bar) > shown.BarHeight(tallest))
                tallest = bar;
        }
        EXPECT_LE(std::abs(tallest - BarNear(shown, hz)), 1) << hz;
        EXPECT_GT(shown.BarHeight(tallest), SpectrumDisplay::DesignHeight * 3 / 4) << hz;
        for (double far : {hz / 5, hz * 5}) {
            if (far > SpectrumDisplay::LowHz && far < SpectrumDisplay::HighHz) {
                EXPECT_EQ(shown.BarHeight(BarNear(shown, far)), 0) << hz << " at " << far;
            }
        }
    }
    // At 1 kHz specifically: dark at 100 Hz and at 8 kHz.
    spectrum.ShowSpectrum(SineSpectrum(1000));
    EXPECT_EQ(spectrum.BarHeight(BarNear(spectrum, 100)), 0);
    EXPECT_EQ(spectrum.BarHeight(BarNear(spectrum, 8000)), 0);

    // The picture: lime low, yellow high, black above the bar.
    const QImage image = spectrum.grab().toImage();
    const int bar = BarNear(spectrum, 1000);
    const int x = spectrum.BarX(bar) + 1;
    ASSERT_GT(spectrum.BarHeight(bar), 22);
    EXPECT_EQ(image.pixel(x, 27), look::SpectrumLow);
    EXPECT_EQ(image.pixel(x, 27 - 21), look::SpectrumHigh);
    EXPECT_EQ(image.pixel(spectrum.BarX(BarNear(spectrum, 8000)) + 1, 27), look::Black);
}

TEST(SpectrumDisplay, BarsFallSevenPixelsAFramePeaksOneAfterAHoldThenRest)
{
    SpectrumDisplay spectrum;
    std::array<float, Connector::SpectrumBins> loud;
    loud.fill(0.0f);
    spectrum.ShowSpectrum(loud);
    const int bar = BarNear(spectrum, 500); // no tilt at 500 Hz: 0 dB is full height
    ASSERT_EQ(spectrum.BarHeight(bar), 28);

    std::vector<int> bars, peaks;
    int frames = 0;
    while (!spectrum.AtRest() && frames < 100) {
        spectrum.Rest();
        bars.push_back(spectrum.BarHeight(bar));
        peaks.push_back(spectrum.PeakHeight(bar));
        ++frames;
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
    EXPECT_TRUE(scope.AtRest());

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
        if (first.empty())
            first = trace;
        EXPECT_EQ(trace, first) << offset;
    }

    // Out-of-range and broken samples stay inside; no samples is a flat line.
    // (every second sample is drawn)
    const std::vector<float> wild{4.0f, 0, -4.0f, 0, std::numeric_limits<float>::quiet_NaN()};
    scope.ShowSamples(wild);
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
