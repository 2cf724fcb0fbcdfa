// The preset menu and the band sliders against the fake equalizer: every choice moves the
// sliders, the equalizer's gains and the check marks together, and My Settings values are
// written only while My Settings is current.
#include "sound/equalizerpresets.h"
#include "tests/support/fakeengine.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Bands = std::array<int, EqualizerPresets::BandCount>;
constexpr Bands Flat{};

// Fixed curves by preset number 2…11, written out here independently of the program's table.
const std::array<Bands, 12> Curves{{
    {},
    {},
    {0, 0, 0, 0, 0, 0, -6, -6, -6, -10},                // Classical
    {0, 0, 0, 0, 6, 0, 6, 6, 0, 0},                     // Dance
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},                     // Default
    {-16, -16, -16, -16, -16, -16, -16, -16, -16, -16}, // Full Bass
    {-8, -8, -8, -4, 4, 8, 12, 12, 12, 12},             // Full Treble
    {4, 4, 0, 0, 0, 0, 0, 0, 4, 4},                     // Party
    {-4, 4, 6, 6, 4, -2, -4, -4, -4, -4},               // Pop
    {0, 0, -3, -5, 0, 4, 4, 0, 0, 0},                   // Reggae
    {2, 2, 1, -3, -4, -5, -4, -1, 3, 6},                // Soft Rock
    {3, 2, 0, -3, -3, 0, 4, 6, 6, 5},                   // Techno
}};

EqualizerPresets::BandTexts Texts(const Bands& b)
{
    EqualizerPresets::BandTexts t;
    for (size_t k = 0; k < b.size(); ++k)
        t[k] = QString::number(b[k]);
    return t;
}

// The equalizer as the program holds it: its stored texts live here, as in the settings.
struct Equalizer {
    explicit Equalizer(const QString& storedPreset,
                       EqualizerPresets::BandTexts stored = Texts(Flat))
        : preset(storedPreset), mine(stored)
    {
    }
    void Start()
    {
        presets.CreateEqualizerBands();
        presets.ApplyStoredPreset();
    }
    Bands Sliders()
    {
        Bands b{};
        for (int k = 0; k < EqualizerPresets::BandCount; ++k)
            b[size_t(k)] = presets.SliderBand(k).Position();
        return b;
    }
    Bands Gains()
    {
        Bands b{};
        for (int k = 0; k < EqualizerPresets::BandCount; ++k)
            b[size_t(k)] = int(engine.equalizer.Item(k).Gain());
        return b;
    }
    // The checked preset numbers.
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
    EqualizerPresets::BandTexts mine;
    EqualizerPresets presets{engine.equalizer, preset, mine};
};

TEST(EqualizerPresets, EveryPresetMovesSlidersAndGainsTogetherAndChecksOnlyItsItem)
{
    Equalizer eq("4", Texts({1, -1, 2, -2, 3, -3, 4, -4, 16, -16}));
    eq.Start();
    // Forward through the menu, then back, so every curve is reached from two others.
    for (int n : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}) {
        SCOPED_TRACE(n);
        const Bands before = eq.Sliders();
        eq.engine.ClearCalls();
        eq.presets.ChoosePreset(n);

        EXPECT_EQ(eq.preset, QString::number(n));
        EXPECT_EQ(eq.Checked(), QList<int>{n});
        EXPECT_EQ(eq.Sliders(), Curves[size_t(n)]);
        EXPECT_EQ(eq.Gains(), Curves[size_t(n)]);
        // Only the bands that moved are sent, lowest first.
        QStringList sent;
        for (int k = 0; k < EqualizerPresets::BandCount; ++k)
            if (before[size_t(k)] != Curves[size_t(n)][size_t(k)])
                sent << QString("Eq.Filters.Item(%1).Gain=%2")
                            .arg(k)
                            .arg(Curves[size_t(n)][size_t(k)]);
        EXPECT_EQ(eq.engine.Calls(), sent);
    }
    EXPECT_EQ(eq.mine, Texts({1, -1, 2, -2, 3, -3, 4, -4, 16, -16})); // untouched throughout
}

TEST(EqualizerPresets, MySettingsKeepHandMovesOnlyWhileCurrentAndChoosingAgainUndoesMoves)
{
    Equalizer eq("4");
    eq.Start();
    eq.presets.custom_Click();
    eq.presets.SliderBand(3).SetPosition(5);
    EXPECT_EQ(eq.mine[3], "5");
    EXPECT_EQ(eq.Gains(), (Bands{0, 0, 0, 5, 0, 0, 0, 0, 0, 0}));

    eq.presets.pop_Click();
    eq.presets.SliderBand(0).SetPosition(-9);
    eq.presets.SliderBand(9).SetPosition(99); // beyond the range: the slider holds 16
    EXPECT_EQ(eq.Gains(), (Bands{-9, 4, 6, 6, 4, -2, -4, -4, -4, 16}));
    EXPECT_EQ(eq.Checked(), QList<int>{8}); // a hand move changes the sound, not the choice
    EXPECT_EQ(eq.mine, Texts({0, 0, 0, 5, 0, 0, 0, 0, 0, 0}));

    eq.presets.custom_Click();
    EXPECT_EQ(eq.Sliders(), (Bands{0, 0, 0, 5, 0, 0, 0, 0, 0, 0}));
    eq.presets.SliderBand(9).SetPosition(-40);
    EXPECT_EQ(eq.mine[9], "-16");

    eq.presets.pop_Click();
    eq.presets.SliderBand(4).SetPosition(-1);
    eq.presets.pop_Click();
    EXPECT_EQ(eq.Sliders(), Curves[8]);
    EXPECT_EQ(eq.Gains(), Curves[8]);
}

TEST(EqualizerPresets, StartCreatesTheBandsInOrderThenAppliesOnlyAnExactStoredNumber)
{
    Equalizer softRock("10");
    softRock.presets.CreateEqualizerBands();
    EXPECT_EQ(softRock.engine.Calls(),
              (QStringList{"Eq.Filters.Add=0,32,0", "Eq.Filters.Add=32,64,0",
                           "Eq.Filters.Add=64,130,0", "Eq.Filters.Add=130,260,0",
                           "Eq.Filters.Add=260,500,0", "Eq.Filters.Add=500,1000,0",
                           "Eq.Filters.Add=1000,2000,0", "Eq.Filters.Add=2000,4000,0",
                           "Eq.Filters.Add=4000,8300,0", "Eq.Filters.Add=8300,16500,0"}));
    softRock.presets.ApplyStoredPreset();
    EXPECT_EQ(softRock.Checked(), QList<int>{10});
    EXPECT_EQ(softRock.Gains(), Curves[10]);

    // Anything but "1"…"11" exactly shows Classical and keeps its text for the next write;
    // slider moves then leave My Settings alone.
    for (const char* stored : {"", " 1", "01", "12", "1 ", "one"}) {
        SCOPED_TRACE(stored);
        Equalizer eq(stored);
        eq.Start();
        EXPECT_EQ(eq.Checked(), QList<int>{2});
        EXPECT_EQ(eq.Gains(), Curves[2]);
        eq.presets.SliderBand(0).SetPosition(7);
        EXPECT_EQ(eq.preset, stored);
        EXPECT_EQ(eq.mine, Texts(Flat));
    }

    // A hand-edited My Settings value that is not a number counts as 0 without stopping
    // the bands after it; one beyond the range stops at the slider's end.
    Equalizer edited("1", {"3", "abc", "", "40", "-40", "7", "-2", "x9", "1", "-1"});
    edited.Start();
    EXPECT_EQ(edited.Checked(), QList<int>{1});
    EXPECT_EQ(edited.Sliders(), (Bands{3, 0, 0, 16, -16, 7, -2, 0, 1, -1}));
    EXPECT_EQ(edited.Gains(), edited.Sliders());
}

TEST(EqualizerPresets, ASliderMovedBeforeTheBandsExistChangesNothingButMySettings)
{
    Equalizer eq("1");
    EXPECT_NO_THROW(eq.presets.SliderBand(2).SetPosition(7));
    EXPECT_TRUE(eq.engine.Calls().isEmpty());
    EXPECT_EQ(eq.mine[2], "7");
}

TEST(EqualizerPresets, MenuListsMySettingsThenASeparatorThenTheCurvesWithSoftRockAboveReggae)
{
    QStringList menu;
    for (const auto& entry : EqualizerPresets::Menu)
        menu << QString("%1 %2").arg(entry.number, entry.caption);
    EXPECT_EQ(menu, (QStringList{"1 My Settings", " -", "2 Classical", "3 Dance", "4 Default",
                                 "5 Full Bass", "6 Full Treble", "7 Party", "8 Pop", "10 Soft Rock",
                                 "9 Reggae", "11 Techno"}));
    QStringList captions;
    for (const char* caption : EqualizerPresets::Captions)
        captions << caption;
    EXPECT_EQ(captions,
              (QStringList{"32", "64", "130", "260", "500", "1K", "2K", "4K", "8.3K", "16.5K"}));
}

} // namespace
} // namespace quillet
