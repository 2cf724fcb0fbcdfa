// The Visualiser's pace: frames while sound flows, rest and silence when it stops, cheap
// checks while idle; counted in paint events of real widgets on the offscreen platform.
#include "components/displays/visualiser.h"
#include "tests/components/displays/displaywindow.h"
#include "tests/components/displays/scriptedfeed.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

namespace quillet::test {
namespace {

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++counts[watched];
        return false;
    }
    std::map<QObject*, int> counts;
};

// The displays where the window puts them, shown, with a visualiser on a scripted feed.
struct Rig : DisplayWindow {
    Rig()
    {
        for (QWidget* widget : Displays())
            widget->installEventFilter(&paints);
        EXPECT_TRUE(Show());
        visualiser.Attach(left, right, spectrum, scope);

        feed.left = -6.0f;
        feed.right = -12.0f;
        for (size_t bin = 10; bin < 14; ++bin)
            feed.bins[bin] = -6.0f;
        feed.scope.resize(2000);
        for (size_t n = 0; n < feed.scope.size(); ++n) {
            // Not symmetric, so the flickering feed's upside-down trace really looks different.
            const double phase = 2 * std::numbers::pi * 300 * double(n) / 44100;
            feed.scope[n] = float(0.5 * std::sin(phase) + 0.3 * std::sin(2 * phase));
        }
    }
    void ResetCounts()
    {
        QCoreApplication::processEvents();
        paints.counts.clear();
        feed.levelReads = feed.otherReads = 0;
    }

    ScriptedFeed feed;
    PaintCounter paints;
    Visualiser visualiser{feed};
};

TEST(Visualiser, WhileSoundFlowsEachMovingDisplayRepaintsAtMostThirtyTimesASecond)
{
    Rig rig;
    rig.feed.sounding = true;
    rig.feed.flicker = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.visualiser.Animating(); }, 1000));
    QTest::qWait(100);
    rig.ResetCounts();
    QTest::qWait(1000);
    for (QWidget* moving : std::vector<QWidget*>{rig.left, rig.right, rig.spectrum, rig.scope}) {
        EXPECT_LE(rig.paints.counts[moving], 30) << moving->metaObject()->className();
        EXPECT_GE(rig.paints.counts[moving], 10) << moving->metaObject()->className();
    }
    // The meters paint over the panel; it and the scale never repaint for them.
    EXPECT_EQ(rig.paints.counts[rig.panel], 0);
    EXPECT_EQ(rig.paints.counts[rig.scale], 0);

    // A steady sound: the pictures stand still, so nothing repaints though frames go on.
    rig.feed.flicker = false;
    QTest::qWait(200);
    rig.ResetCounts();
    QTest::qWait(500);
    EXPECT_TRUE(rig.visualiser.Animating());
    EXPECT_GE(rig.feed.levelReads, 8);
    for (QWidget* display : rig.Displays())
        EXPECT_EQ(rig.paints.counts[display], 0) << display->metaObject()->className();

    // A display the window drops is no longer driven.
    delete rig.scope;
    rig.scope = nullptr;
    rig.feed.flicker = true;
    QTest::qWait(200);
    EXPECT_GT(rig.paints.counts[rig.spectrum], 0);
}

TEST(Visualiser, WhenSoundStopsTheDisplaysFallToRestThenNothingIsDrawnUntilItReturns)
{
    Rig rig;
    rig.feed.sounding = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.left->LitLength() > 0; }, 1000));
    EXPECT_FALSE(rig.spectrum->AtRest());
    EXPECT_FALSE(rig.scope->AtRest());

    rig.feed.sounding = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.visualiser.Animating(); }, 3000));
    EXPECT_TRUE(rig.left->AtRest() && rig.right->AtRest() && rig.spectrum->AtRest() &&
                rig.scope->AtRest());

    rig.ResetCounts();
    QTest::qWait(1000);
    for (QWidget* display : rig.Displays())
        EXPECT_EQ(rig.paints.counts[display], 0) << display->metaObject()->className();
    EXPECT_LE(rig.feed.levelReads, 1000 / Visualiser::IdleIntervalMs + 1);
    EXPECT_GE(rig.feed.levelReads, 1);
    EXPECT_EQ(rig.feed.otherReads, 0);

    rig.feed.sounding = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.left->LitLength() > 0; },
                                2 * Visualiser::IdleIntervalMs + 50));
}

} // namespace
} // namespace quillet::test
