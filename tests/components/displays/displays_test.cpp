// The meters, their scale, the spectrum and the oscilloscope, fed frame by frame; the position
// and band sliders: what the user's mouse, keys and wheel report to the control, and how a
// routine's puts are shown.
#include "components/audio/dsp/analysis.h"
#include "components/displays/bandslider.h"
#include "components/displays/displaylook.h"
#include "components/displays/levelmeter.h"
#include "components/displays/levelscale.h"
#include "components/displays/meterpanel.h"
#include "components/displays/oscilloscope.h"
#include "components/displays/positionslider.h"
#include "components/displays/spectrumdisplay.h"
#include "tests/components/displays/displaywindow.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWheelEvent>
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
    const DisplayWindow window; // the panel as the window lays it out
    LevelMeter& meter = *window.left;
    LevelScale& scale = *window.scale;
    for (int tick = 0; tick < LevelScale::Ticks; ++tick) {
        const float dB = -60.0f + 6.0f * float(tick);
        EXPECT_EQ(meter.x() + meter.LengthFor(dB) - 1, scale.x() + scale.TickX(tick)) << dB;
    }
    meter.ShowLevel(0.0f);
    const int warmTick = scale.x() + scale.TickX(8) - meter.x();
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

// What the control tells the routines, in order: "begin", each new position, "end".
class Reports : public QObject {
public:
    explicit Reports(SliderControl& control)
    {
        connect(&control, &SliderControl::OnTrack, this, [this] { m_seen << "begin"; });
        connect(&control, &SliderControl::positionChanged, this,
                [this](int position) { m_seen << QString::number(position); });
        connect(&control, &SliderControl::OnTrackEnd, this, [this] { m_seen << "end"; });
    }
    QStringList Take() { return std::exchange(m_seen, {}); }

private:
    QStringList m_seen;
};

QStringList Step(int position)
{
    return {"begin", QString::number(position), "end"};
}

void Wheel(QWidget& widget, int angle)
{
    const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

struct PositionRig {
    PositionRig()
    {
        control.SetPosition(60000);
        slider.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }
    SliderControl control{100000};
    PositionSlider slider{"Slider1", control};
    Reports reports{control};
};

// A drag grabs, moves and releases; a click beside the thumb, a key or a wheel notch steps
// once each (a step past the end reports nothing; half a notch waits for the other half).
TEST(PositionSlider, DragClicksKeysAndWheelReportTheUsersMoves)
{
    PositionRig rig;
    rig.control.SetPosition(0);
    rig.reports.Take();
    const QPoint grab = rig.slider.ThumbRect().center() + QPoint(0, 3); // below its middle
    QTest::mousePress(&rig.slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&rig.slider, grab + QPoint(275 / 2, 0)); // half the thumb's travel
    EXPECT_NEAR(rig.control.Position(), 50000, 400);
    const int middle = rig.control.Position();
    QTest::mouseMove(&rig.slider, QPoint(1000, 8)); // beyond the end: the maximum
    QTest::mouseRelease(&rig.slider, Qt::LeftButton, {}, QPoint(1000, 8));
    EXPECT_EQ(rig.reports.Take(), (QStringList{"begin", QString::number(middle), "100000", "end"}));
    EXPECT_EQ(rig.slider.ThumbRect(), QRect(275, 3, 20, 10));

    rig.control.SetPosition(60000);
    rig.reports.Take();
    QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_EQ(rig.reports.Take(), Step(30000));
    for (int expected : {60000, 90000, 100000}) {
        QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, QPoint(290, 8));
        EXPECT_EQ(rig.reports.Take(), Step(expected));
    }
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Home, 0},       {Qt::Key_Right, 5000},
                                            {Qt::Key_PageUp, 35000}, {Qt::Key_Left, 30000},
                                            {Qt::Key_PageDown, 0},   {Qt::Key_End, 100000},
                                            {Qt::Key_Down, 95000},   {Qt::Key_Up, 100000}};
    for (const auto& [key, expected] : keys) {
        QTest::keyClick(&rig.slider, key);
        EXPECT_EQ(rig.reports.Take(), Step(expected)) << key;
    }
    QTest::keyClick(&rig.slider, Qt::Key_End);
    EXPECT_EQ(rig.reports.Take(), QStringList());
    const std::pair<int, QStringList> turns[] = {
        {-120, Step(95000)}, {60, QStringList()}, {60, Step(100000)}};
    for (const auto& [angle, expected] : turns) {
        Wheel(rig.slider, angle);
        EXPECT_EQ(rig.reports.Take(), expected) << angle;
    }
}

// A routine's puts are shown, clamped, and never reported as the user's; a disabled slider
// takes no input, and disabling ends a grab.
TEST(PositionSlider, ARoutinesPutsAreShownAndADisabledSliderTakesNoInput)
{
    PositionRig rig;
    rig.reports.Take();
    rig.control.SetPosition(250000);
    EXPECT_EQ(rig.reports.Take(), QStringList{"100000"}); // no grab, no release
    EXPECT_EQ(rig.slider.ThumbRect(), QRect(275, 3, 20, 10));
    rig.control.SetMaximum(10000);
    rig.control.SetPosition(5000);
    EXPECT_EQ(rig.slider.ThumbRect().left(), 138); // 275 / 2, rounded
    QApplication::processEvents();
    QImage image = rig.slider.grab().toImage(); // what is drawn is where the thumb is
    const QRgb thumb = image.pixel(rig.slider.ThumbRect().center());
    EXPECT_TRUE(thumb == look::ThumbBody || thumb == look::ThumbBodyHover) << thumb;
    EXPECT_EQ(image.pixel(20, 1), look::Black);

    rig.control.SetEnabled(false);
    rig.reports.Take();
    QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, rig.slider.ThumbRect().center());
    QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, QPoint(2, 8));
    QTest::keyClick(&rig.slider, Qt::Key_Home);
    Wheel(rig.slider, 120);
    EXPECT_EQ(rig.reports.Take(), QStringList());
    EXPECT_EQ(rig.control.Position(), 5000);
    EXPECT_EQ(rig.slider.grab().toImage().pixel(rig.slider.ThumbRect().center()),
              look::ThumbDisabled);

    rig.control.SetEnabled(true);
    QTest::mousePress(&rig.slider, Qt::LeftButton, {}, rig.slider.ThumbRect().center());
    rig.control.SetEnabled(false); // e.g. the track ended under the user's hand
    EXPECT_EQ(rig.reports.Take(), (QStringList{"begin", "end"}));
    QTest::mouseRelease(&rig.slider, Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_EQ(rig.reports.Take(), QStringList());
}

TEST(BandSlider, PlusSixteenAtTheTopZeroMarkedInTheMiddleStepsOfOneAndFour)
{
    SliderControl band(-16, 16);
    BandSlider slider("SliderBand0", band);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    Reports reports(band);

    EXPECT_EQ(slider.ThumbRect(), QRect(2, 18, 13, 5));
    const QImage image = slider.grab().toImage();
    EXPECT_EQ(image.pixel(0, 20), look::SliderMark);
    EXPECT_EQ(image.pixel(16, 20), look::SliderMark);
    band.SetPosition(16);
    EXPECT_EQ(slider.ThumbRect().top(), 0);
    band.SetPosition(-16);
    EXPECT_EQ(slider.ThumbRect().bottom(), 40);
    reports.Take();

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(8, 2)); // above the thumb
    EXPECT_EQ(reports.Take(), Step(-12));
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_EQ(reports.Take(), Step(-11));

    const QPoint grab = slider.ThumbRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&slider, QPoint(8, -30)); // dragged up past the top
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(8, -30));
    EXPECT_EQ(reports.Take(), (QStringList{"begin", "16", "end"}));
}

} // namespace
} // namespace quillet::test
