// The spectrum and the oscilloscope, fed frame by frame (the meters: the visualiser's test); the
// position slider: what the user's mouse, keys and wheel report to the control, and how a
// routine's puts are shown.
#include "components/audio/dsp/analysis.h"
#include "components/displays/displaylook.h"
#include "components/displays/oscilloscope.h"
#include "components/displays/positionslider.h"
#include "components/displays/spectrumdisplay.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace quillet::test {
namespace {

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

// A sine lights bars around its frequency only (their fall to rest is the visualiser's test).
TEST(SpectrumDisplay, ASineLightsItsBarsOnly)
{
    for (double hz : {200.0, 1000.0, 5000.0}) {
        SpectrumDisplay spectrum;
        ShowSine(spectrum, hz);
        int tallest = 0;
        for (int bar = 0; bar < spectrum.BarCount(); ++bar)
            tallest = spectrum.BarHeight(bar) > spectrum.BarHeight(tallest) ? bar : tallest;
        EXPECT_LE(std::abs(tallest - BarNear(spectrum, hz)), 1) << hz;
        EXPECT_GT(spectrum.BarHeight(tallest), 22) << hz;
        for (double far : {hz / 5, hz * 5}) {
            if (far > SpectrumDisplay::LowHz && far < SpectrumDisplay::HighHz) {
                EXPECT_EQ(spectrum.BarHeight(BarNear(spectrum, far)), 0) << hz << " at " << far;
            }
        }
    }

    // Drawn: a full bar fallen seven pixels under its held peak: yellow, a black gap, lime.
    SpectrumDisplay spectrum;
    std::array<float, Connector::SpectrumBins> loud;
    loud.fill(0.0f);
    spectrum.ShowSpectrum(loud);
    spectrum.Rest();
    const QImage held = spectrum.grab().toImage();
    const int x = spectrum.BarX(BarNear(spectrum, 500)) + 1; // no tilt at 500 Hz: full at 0 dB
    EXPECT_EQ(std::tuple(held.pixel(x, 0), held.pixel(x, 1), held.pixel(x, 6), held.pixel(x, 7)),
              std::tuple(look::SpectrumHigh, look::Black, look::Black, look::SpectrumLow));
}

// The same tone read at three moments draws one picture, starting on the way up; samples out
// of range stay inside (every second sample is drawn).
TEST(Oscilloscope, TriggersOnARisingZeroCrossingSoATonePictureStandsStill)
{
    Oscilloscope scope;
    const int centre = (Oscilloscope::DesignHeight - 1) / 2;
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
        first = first.empty() ? trace : first;
        EXPECT_EQ(trace, first) << offset;
    }
    // A rough trace is drawn as QPainter's one-pixel pen draws the same polyline (its last
    // column may differ by a pixel where the trace ends on a two-pixel rise after a fall).
    std::vector<float> rough(size_t(scope.SamplesWanted()));
    for (size_t n = 0; n < rough.size(); ++n)
        rough[n] = float(std::sin(double(n * n % 997))) * float(n % 5) / 4;
    scope.ShowSamples(rough);
    QImage drawn(scope.size(), QImage::Format_RGB32);
    drawn.fill(look::Black);
    QPolygon trace;
    for (int x = 0; x < scope.width(); ++x)
        trace << QPoint(x, scope.TraceY(x));
    QPainter painter(&drawn);
    painter.setPen(QColor::fromRgb(look::ScopeTrace));
    painter.drawPolyline(trace);
    painter.end();
    const QRect shown(0, 0, scope.width() - 1, scope.height());
    EXPECT_EQ(scope.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(shown),
              drawn.copy(shown));

    scope.ShowSamples(std::vector<float>{4.0f, 0, -4.0f, 0, std::nanf("")});
    EXPECT_EQ(scope.TraceY(0), 0);
    EXPECT_EQ(scope.TraceY(1), 2 * centre);
    EXPECT_EQ(scope.TraceY(2), centre);
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

// A click beside the thumb, a key or a wheel notch steps once each (a step past the end reports
// nothing; half a notch waits for the other half). A routine's puts are shown, clamped, and
// never reported as the user's; a disabled slider takes no input, and disabling ends a grab.
TEST(PositionSlider, TheUsersMovesAreReportedARoutinesPutsOnlyShown)
{
    SliderControl control{100000};
    PositionSlider slider{"Slider1", control};
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    Reports reports{control};
    control.SetPosition(250000);
    EXPECT_EQ(reports.Take(), QStringList{"100000"}); // clamped; no grab, no release
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_EQ(reports.Take(), Step(70000));
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(290, 8));
    EXPECT_EQ(reports.Take(), Step(100000));
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Home, 0}, {Qt::Key_PageUp, 30000}, {Qt::Key_End, 100000}, {Qt::Key_Down, 95000}};
    for (const auto& [key, expected] : keys) {
        QTest::keyClick(&slider, key);
        EXPECT_EQ(reports.Take(), Step(expected)) << key;
    }
    const std::pair<int, QStringList> turns[] = {
        {120, Step(100000)}, {120, QStringList()}, {-60, QStringList()}, {-60, Step(95000)}};
    for (const auto& [angle, expected] : turns) {
        Wheel(slider, angle);
        EXPECT_EQ(reports.Take(), expected) << angle;
    }

    control.SetPosition(5000);
    control.SetEnabled(false);
    reports.Take();
    QTest::mouseClick(&slider, Qt::LeftButton, {}, slider.ThumbRect().center());
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(2, 8));
    QTest::keyClick(&slider, Qt::Key_Home);
    Wheel(slider, 120);
    EXPECT_EQ(reports.Take(), QStringList());
    EXPECT_EQ(control.Position(), 5000);
    control.SetEnabled(true);
    QTest::mousePress(&slider, Qt::LeftButton, {}, slider.ThumbRect().center());
    control.SetEnabled(false); // e.g. the track ended under the user's hand
    EXPECT_EQ(reports.Take(), (QStringList{"begin", "end"}));
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_EQ(reports.Take(), QStringList());
}

} // namespace
} // namespace quillet::test
