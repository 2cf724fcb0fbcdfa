// The preset menu and the band sliders against the fake equalizer: every choice moves the
// sliders, the equalizer's gains and the check marks together, and My Settings values are
// written only while My Settings is current.
#include "sound/equalizerpresets.h"
#include "tests/support/fakeengine.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Bands = std::array<int, EqualizerPresets::BandCount>;
using Texts = EqualizerPresets::BandTexts;
constexpr Bands Classical{0, 0, 0, 0, 0, 0, -6, -6, -6, -10};
constexpr Bands Pop{-4, 4, 6, 6, 4, -2, -4, -4, -4, -4};

Texts TextsOf(const Bands& b)
{
    Texts t;
    for (size_t k = 0; k < b.size(); ++k)
        t[k] = QString::number(b[k]);
    return t;
}

// The equalizer as the program holds it: its stored texts live here, as in the settings.
struct Equalizer {
    explicit Equalizer(const QString& storedPreset, Texts stored = TextsOf({}))
        : preset(storedPreset), mine(stored)
    {
    }
    void Start()
    {
        presets.CreateEqualizerBands();
        presets.ApplyStoredPreset();
    }
    template <typename Read> Bands Each(Read read)
    {
        Bands b{};
        for (int k = 0; k < EqualizerPresets::BandCount; ++k)
            b[size_t(k)] = read(k);
        return b;
    }
    Bands Sliders()
    {
        return Each([&](int k) { return presets.SliderBand(k).Position(); });
    }
    Bands Gains()
    {
        return Each([&](int k) { return int(engine.equalizer.Item(k).Gain()); });
    }
    QList<int> Checked()
    {
        QList<int> on;
        for (int n = 1; n <= EqualizerPresets::PresetCount; ++n)
            if (presets.PresetItem(n).Checked())
                on << n;
        return on;
    }

    test::FakeEngine engine;
    QString preset;
    Texts mine;
    EqualizerPresets presets{engine.equalizer, preset, mine};
};

TEST(EqualizerPresets, EveryPresetMovesSlidersAndGainsTogetherAndChecksOnlyItsItem)
{
    const Texts stored = TextsOf({1, -1, 2, -2, 3, -3, 4, -4, 16, -16});
    Equalizer eq("4", stored);
    eq.Start();
    // Forward through the menu, then back, so every curve is reached from two others.
    for (int n : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}) {
        SCOPED_TRACE(n);
        const Bands before = eq.Sliders();
        const Bands curve =
            eq.Each([&](int k) { return EqualizerPresets::FixedValues(n)[size_t(k)].toInt(); });
        eq.engine.ClearCalls();
        eq.presets.ChoosePreset(n);
        EXPECT_EQ(eq.preset, QString::number(n));
        EXPECT_EQ(eq.Checked(), QList<int>{n});
        EXPECT_EQ(eq.Sliders(), curve);
        EXPECT_EQ(eq.Gains(), curve);
        QStringList sent; // only the bands that moved, lowest first
        for (size_t k = 0; k < curve.size(); ++k)
            if (before[k] != curve[k])
                sent << QString("Eq.Filters.Item(%1).Gain=%2").arg(k).arg(curve[k]);
        EXPECT_EQ(eq.engine.Calls(), sent);
    }
    EXPECT_EQ(eq.Sliders(), Classical);
    EXPECT_EQ(eq.mine, stored); // untouched throughout
}

TEST(EqualizerPresets, MySettingsKeepHandMovesOnlyWhileCurrentAndChoosingAgainUndoesMoves)
{
    Equalizer eq("4");
    eq.Start();
    eq.presets.custom_Click();
    eq.presets.SliderBand(3).SetPosition(5);
    EXPECT_EQ(eq.Gains(), (Bands{0, 0, 0, 5, 0, 0, 0, 0, 0, 0}));

    eq.presets.pop_Click();
    EXPECT_EQ(eq.Gains(), Pop);
    eq.presets.SliderBand(0).SetPosition(-9);
    eq.presets.SliderBand(9).SetPosition(99); // beyond the range: the slider holds 16
    EXPECT_EQ(eq.Gains(), (Bands{-9, 4, 6, 6, 4, -2, -4, -4, -4, 16}));
    EXPECT_EQ(eq.Checked(), QList<int>{8}); // a hand move changes the sound, not the choice
    EXPECT_EQ(eq.mine, TextsOf({0, 0, 0, 5, 0, 0, 0, 0, 0, 0}));

    eq.presets.custom_Click();
    EXPECT_EQ(eq.Sliders(), (Bands{0, 0, 0, 5, 0, 0, 0, 0, 0, 0}));
    eq.presets.SliderBand(9).SetPosition(-40);
    EXPECT_EQ(eq.mine[9], "-16");

    eq.presets.pop_Click(); // the same choice again puts its curve back
    eq.presets.SliderBand(4).SetPosition(-1);
    eq.presets.pop_Click();
    EXPECT_EQ(eq.Gains(), Pop);
    EXPECT_EQ(eq.Sliders(), Pop);
}

TEST(EqualizerPresets, StartCreatesTheBandsInOrderThenAppliesOnlyAnExactStoredNumber)
{
    Equalizer early("1"); // a move before the bands exist reaches My Settings only
    EXPECT_NO_THROW(early.presets.SliderBand(2).SetPosition(7));
    EXPECT_TRUE(early.engine.Calls().isEmpty());
    EXPECT_EQ(early.mine[2], "7");

    Equalizer softRock("10");
    softRock.presets.CreateEqualizerBands();
    EXPECT_EQ(softRock.engine.Calls().join(' ').remove("Eq.Filters.Add="),
              "0,32,0 32,64,0 64,130,0 130,260,0 260,500,0 500,1000,0 1000,2000,0 2000,4000,0 "
              "4000,8300,0 8300,16500,0");
    softRock.presets.ApplyStoredPreset();
    EXPECT_EQ(softRock.Checked(), QList<int>{10});
    EXPECT_EQ(softRock.Gains(), (Bands{2, 2, 1, -3, -4, -5, -4, -1, 3, 6}));

    // Anything but "1"…"11" exactly shows Classical and keeps its text for the next write;
    // slider moves then leave My Settings alone.
    for (const char* stored : {"", " 1", "01", "12", "one"}) {
        SCOPED_TRACE(stored);
        Equalizer eq(stored);
        eq.Start();
        EXPECT_EQ(eq.Checked(), QList<int>{2});
        EXPECT_EQ(eq.Gains(), Classical);
        eq.presets.SliderBand(0).SetPosition(7);
        EXPECT_EQ(eq.preset, stored);
        EXPECT_EQ(eq.mine, TextsOf({}));
    }

    // A hand-edited My Settings value that is not a number counts as 0 without stopping
    // the bands after it; one beyond the range stops at the slider's end.
    Equalizer edited("1", {"3", "abc", "", "40", "-40", "7", "-2", "x9", "1", "-1"});
    edited.Start();
    EXPECT_EQ(edited.Checked(), QList<int>{1});
    EXPECT_EQ(edited.Sliders(), (Bands{3, 0, 0, 16, -16, 7, -2, 0, 1, -1}));
    EXPECT_EQ(edited.Gains(), edited.Sliders());
}

} // namespace
} // namespace quillet
