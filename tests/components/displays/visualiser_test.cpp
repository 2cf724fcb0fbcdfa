// The Visualiser's pace: frames while sound flows, rest and silence when it stops, cheap
// checks while idle; counted in paint events of real widgets on the offscreen platform.
#include "components/displays/visualiser.h"
#include "tests/components/displays/displaywindow.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace quillet::test {
namespace {

// A feed the test switches on and off: while `sounding` it reads −6 and −12 dB, a few loud
// bins and a lopsided 300 Hz wave; every second reading is 30 dB quieter and its wave upside
// down, so every display moves every frame. Counts its reads.
class ScriptedFeed : public Connector {
public:
    bool Levels(float& leftDb, float& rightDb) const override
    {
        ++levelReads;
        m_quiet = !m_quiet;
        leftDb = -6.0f - Drop();
        rightDb = -12.0f - Drop();
        return sounding;
    }
    bool Spectrum(std::span<float, SpectrumBins> magnitudesDb) const override
    {
        ++otherReads;
        std::fill(magnitudesDb.begin(), magnitudesDb.end(), -120.0f - Drop());
        std::fill(magnitudesDb.begin() + 10, magnitudesDb.begin() + 14, -6.0f - Drop());
        return sounding;
    }
    int Scope(std::span<float> samples) const override
    {
        ++otherReads;
        for (size_t n = 0; n < samples.size(); ++n) {
            const double phase = 2 * std::numbers::pi * 300 * double(n + 50) / 44100;
            samples[n] = float((m_quiet ? -1 : 1) * (0.5 * std::sin(phase) + 0.3 * std::sin(2 * phase)));
        }
        return sounding ? int(samples.size()) : 0;
    }

    bool sounding = false;
    mutable int levelReads = 0;
    mutable int otherReads = 0; // spectrum and scope

private:
    float Drop() const { return m_quiet ? 30.0f : 0.0f; }
    mutable bool m_quiet = false;
};

class PaintCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        counts[watched] += event->type() == QEvent::Paint;
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

// While sound flows each moving display repaints at most thirty times a second; nothing runs
// while the window cannot be seen; when sound stops all fall to rest and the visualiser idles.
TEST(Visualiser, RepaintsAtMostThirtyTimesASecondWhileSoundFlowsAndIdlesWhenItStops)
{
    Rig rig;
    rig.feed.sounding = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.visualiser.Animating(); }, 1000));
    QTest::qWait(100);
    rig.ResetCounts();
    QTest::qWait(1000);
    for (QWidget* moving : std::vector<QWidget*>{rig.left, rig.right, rig.spectrum, rig.scope}) {
        EXPECT_LE(rig.paints.counts[moving], 30) << moving->metaObject()->className();
        EXPECT_GE(rig.paints.counts[moving], 10) << moving->metaObject()->className();
    }

    // While the window cannot be seen nothing is read or drawn; when it shows, frames go on.
    rig.window.hide();
    rig.ResetCounts();
    QTest::qWait(300);
    EXPECT_FALSE(rig.visualiser.Running());
    EXPECT_EQ(rig.feed.levelReads + rig.feed.otherReads, 0);
    for (QWidget* display : rig.Displays())
        EXPECT_EQ(rig.paints.counts[display], 0) << display->metaObject()->className();
    rig.window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.feed.levelReads > 0; }, 1000));

    // When sound stops the displays fall to rest, then nothing is drawn and only the levels are
    // read, slowly, until it returns.
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

    // A display the window drops is no longer driven.
    delete rig.scope;
    rig.scope = nullptr;
    rig.ResetCounts();
    QTest::qWait(200);
    EXPECT_GT(rig.paints.counts[rig.spectrum], 0);
}

} // namespace
} // namespace quillet::test
