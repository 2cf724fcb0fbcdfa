// The displays on the real engine's feed: a tone lights the meter of its channel (and the
// spectrum at its frequency) at its own level whatever the volume, and everything rests
// when it pauses.
#include "components/displays/visualiser.h"
#include "tests/components/audio/engine/enginerig.h"
#include "tests/components/displays/displaywindow.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

TEST(DisplaysOnTheEngine, ATonesChannelLightsWhileItPlaysAndAllRestWhenItPauses)
{
    EngineRig rig(audio::OutputKind::NullRealTime);
    fixtures::Signal tone = fixtures::Tone(1000, 5.0, 44100, 2, 0.5); // −6 dB, left only
    for (int64_t frame = 0; frame < tone.Frames(); ++frame)
        tone.samples[size_t(frame * 2 + 1)] = 0;
    DisplayWindow window; // driven only while they can be seen
    ASSERT_TRUE(window.Show());
    LevelMeter& left = *window.left;
    LevelMeter& right = *window.right;
    SpectrumDisplay& spectrum = *window.spectrum;
    Oscilloscope& scope = *window.scope;
    Visualiser visualiser(rig.engine->connector());
    visualiser.Attach(&left, &right, &spectrum, &scope);
    QTest::qWait(300);
    EXPECT_FALSE(visualiser.Animating());

    rig.PlayFile(rig.WriteWav(tone));
    ASSERT_TRUE(QTest::qWaitFor([&] { return left.LitLength() == left.LengthFor(-6.0f); }, 3000))
        << left.LitLength();
    EXPECT_TRUE(visualiser.Animating());
    EXPECT_EQ(right.LitLength(), 0);
    int tallest = 0;
    for (int bar = 0; bar < spectrum.BarCount(); ++bar) {
        if (spectrum.BarHeight(bar) > spectrum.BarHeight(tallest))
            tallest = bar;
    }
    EXPECT_NEAR(spectrum.BarCentreHz(tallest), 1000.0, 100.0);
    EXPECT_FALSE(scope.AtRest());
    // The displays show the music, not the listening level.
    rig.engine->masterVolume().SetVolume(3200);
    QTest::qWait(300);
    EXPECT_EQ(left.LitLength(), left.LengthFor(-6.0f));

    rig.engine->waveOut().Pause(); // nothing is heard now
    ASSERT_TRUE(QTest::qWaitFor([&] { return !visualiser.Animating(); }, 3000));
    EXPECT_TRUE(left.AtRest() && right.AtRest() && spectrum.AtRest() && scope.AtRest());
}

} // namespace
} // namespace quillet::test
