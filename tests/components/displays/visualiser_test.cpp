// The Visualiser's pace: frames while sound flows, rest and silence when it stops, cheap
// checks while idle; counted in reads of a scripted feed by real displays.
#include "components/displays/visualiser.h"
#include "tests/components/displays/displaywindow.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quillet::test {
namespace {

// A feed the test switches on and off: while `sounding` it reads −6 and −12 dB, a few loud
// bins and a 300 Hz wave. Counts its reads.
class ScriptedFeed : public Connector {
public:
    bool Levels(float& leftDb, float& rightDb) const override
    {
        ++levelReads;
        leftDb = -6.0f;
        rightDb = -12.0f;
        return sounding;
    }
    bool Spectrum(std::span<float, SpectrumBins> magnitudesDb) const override
    {
        ++otherReads;
        std::fill(magnitudesDb.begin(), magnitudesDb.end(), -120.0f);
        std::fill(magnitudesDb.begin() + 10, magnitudesDb.begin() + 14, -6.0f);
        return sounding;
    }
    int Scope(std::span<float> samples) const override
    {
        ++otherReads;
        for (size_t n = 0; n < samples.size(); ++n)
            samples[n] = float(0.5 * std::sin(2 * std::numbers::pi * 300 * double(n) / 44100));
        return sounding ? int(samples.size()) : 0;
    }

    bool sounding = false;
    mutable int levelReads = 0;
    mutable int otherReads = 0; // spectrum and scope
};

// The displays where the window puts them, shown, with a visualiser on a scripted feed.
struct Rig : DisplayWindow {
    Rig()
    {
        EXPECT_TRUE(Show());
        visualiser.Attach(left, right, spectrum, scope);
    }
    void ResetCounts()
    {
        QCoreApplication::processEvents();
        feed.levelReads = feed.otherReads = 0;
    }

    ScriptedFeed feed;
    Visualiser visualiser{feed};
};

// While sound flows the displays take at most thirty frames a second; when sound stops all fall
// to rest and the visualiser idles, reading only the levels, slowly, until sound returns.
TEST(Visualiser, TakesAtMostThirtyFramesASecondWhileSoundFlowsAndIdlesWhenItStops)
{
    Rig rig;
    rig.feed.sounding = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.visualiser.Animating(); }, 1000));
    QTest::qWait(100);
    rig.ResetCounts();
    QTest::qWait(1000);
    EXPECT_LE(rig.feed.levelReads, 30);
    EXPECT_GE(rig.feed.levelReads, 10);
    EXPECT_EQ(rig.feed.otherReads, 2 * rig.feed.levelReads); // the spectrum and the scope

    EXPECT_FALSE(rig.spectrum->AtRest());
    EXPECT_FALSE(rig.scope->AtRest());
    rig.feed.sounding = false;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.visualiser.Animating(); }, 3000));
    EXPECT_TRUE(rig.left->AtRest() && rig.right->AtRest() && rig.spectrum->AtRest() &&
                rig.scope->AtRest());
    rig.ResetCounts();
    QTest::qWait(1000);
    EXPECT_LE(rig.feed.levelReads, 1000 / Visualiser::IdleIntervalMs + 1);
    EXPECT_GE(rig.feed.levelReads, 1);
    EXPECT_EQ(rig.feed.otherReads, 0);
    rig.feed.sounding = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.left->LitLength() > 0; },
                                2 * Visualiser::IdleIntervalMs + 50));

    // A display the window drops is no longer driven; the others are.
    delete rig.scope;
    rig.scope = nullptr;
    rig.ResetCounts();
    QTest::qWait(200);
    EXPECT_GT(rig.feed.otherReads, 0);
    EXPECT_EQ(rig.feed.otherReads, rig.feed.levelReads);
}

} // namespace
} // namespace quillet::test
