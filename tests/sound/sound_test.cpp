// The preset menu and the band sliders against the fake equalizer: a choice moves the
// sliders, the equalizer's gains and the check marks together, and My Settings values are
// written only while My Settings is current. The volume and balance bars against the fake
// volume stage: what each bar value sends, the texts kept for the settings file, and what a
// failing stage leaves behind.
#include "sound/equalizerpresets.h"
#include "sound/volumebalance.h"
#include "tests/support/fakeengine.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Texts = EqualizerPresets::BandTexts;
const QString Classical = "0 0 0 0 0 0 -6 -6 -6 -10";
const QString Pop = "-4 4 6 6 4 -2 -4 -4 -4 -4";
const QString Flat = "0 0 0 0 0 0 0 0 0 0";

Texts TextsOf(const QString& bands)
{
    Texts texts;
    const QStringList values = bands.split(' ');
    std::copy(values.begin(), values.end(), texts.begin());
    return texts;
}

// The equalizer as the program holds it: its stored texts live here, as in the settings.
struct Equalizer {
    explicit Equalizer(const QString& storedPreset, Texts stored = TextsOf(Flat))
        : preset(storedPreset), mine(stored)
    {
    }
    void Start()
    {
        presets.CreateEqualizerBands();
        presets.ApplyStoredPreset();
    }
    // "sliders | gains | checked items", the bands lowest first.
    QString State()
    {
        QStringList sliders, gains, checked;
        for (int k = 0; k < EqualizerPresets::BandCount; ++k) {
            sliders << QString::number(presets.SliderBand(k).Position());
            gains << QString::number(engine.equalizer.Item(k).Gain());
        }
        for (int n = 1; n <= EqualizerPresets::PresetCount; ++n)
            if (presets.PresetItem(n).Checked())
                checked << QString::number(n);
        return sliders.join(' ') + " | " + gains.join(' ') + " | " + checked.join(' ');
    }

    test::FakeEngine engine;
    QString preset;
    Texts mine;
    EqualizerPresets presets{engine.equalizer, preset, mine};
};

TEST(EqualizerPresets, MySettingsKeepHandMovesOnlyWhileCurrent)
{
    Equalizer eq("4");
    eq.Start();
    eq.presets.custom_Click();
    eq.presets.SliderBand(3).SetPosition(5);
    const QString mine = "0 0 0 5 0 0 0 0 0 0";
    EXPECT_EQ(eq.State(), mine + " | " + mine + " | 1");

    eq.presets.pop_Click();
    EXPECT_EQ(eq.State(), Pop + " | " + Pop + " | 8");
    eq.presets.SliderBand(0).SetPosition(-9);
    eq.presets.SliderBand(9).SetPosition(99); // beyond the range: the slider holds 16
    // A hand move changes the sound, not the choice.
    EXPECT_EQ(eq.State(), "-9 4 6 6 4 -2 -4 -4 -4 16 | -9 4 6 6 4 -2 -4 -4 -4 16 | 8");
    EXPECT_EQ(eq.mine, TextsOf(mine));

    eq.presets.custom_Click();
    EXPECT_EQ(eq.State(), mine + " | " + mine + " | 1");
    eq.presets.SliderBand(9).SetPosition(-40);
    EXPECT_EQ(eq.mine[9], "-16");
}

TEST(EqualizerPresets, StartAppliesOnlyAnExactStoredNumber)
{
    Equalizer early("1"); // a move before the bands exist reaches My Settings only
    EXPECT_NO_THROW(early.presets.SliderBand(2).SetPosition(7));
    EXPECT_TRUE(early.engine.Calls().isEmpty());
    EXPECT_EQ(early.mine[2], "7");

    Equalizer techno("11"); // the last of the menu
    techno.Start();
    EXPECT_EQ(techno.State(), "3 2 0 -3 -3 0 4 6 6 5 | 3 2 0 -3 -3 0 4 6 6 5 | 11");

    // Anything but "1"…"11" exactly shows Classical and keeps its text for the next write;
    // slider moves then leave My Settings alone.
    for (const char* stored : {"", " 1", "01", "12", "one"}) {
        SCOPED_TRACE(stored);
        Equalizer eq(stored);
        eq.Start();
        EXPECT_EQ(eq.State(), Classical + " | " + Classical + " | 2");
        eq.presets.SliderBand(0).SetPosition(7);
        EXPECT_EQ(eq.preset, stored);
        EXPECT_EQ(eq.mine, TextsOf(Flat));
    }

    // A hand-edited My Settings value that is not a number counts as 0 without stopping
    // the bands after it; one beyond the range stops at the slider's end.
    Equalizer edited("1", {"3", "abc", "", "40", "-40", "7", "-2", "x9", "1", "-1"});
    edited.Start();
    const QString bands = "3 0 0 16 -16 7 -2 0 1 -1";
    EXPECT_EQ(edited.State(), bands + " | " + bands + " | 1");
}

TEST(VolumeBalance, EachBarValueIsSentScaledAndKeptAsTextAndAFailingStageEndsTheChangeQuietly)
{
    test::FakeEngine engine;
    QString volumeText = "";
    QString balanceText = "left";
    VolumeBalance bars{engine.masterVolume(), volumeText, balanceText};
    bars.SendBarsToVolumeStage(); // the stored texts stay as read
    EXPECT_EQ(engine.Calls(), (QStringList{"MasterVolume.Volume=16000", "MasterVolume.Balance=0"}));
    EXPECT_EQ(volumeText + balanceText, "left");

    ScrollBarControl& volume = bars.SkinScrollBarVolume();
    ScrollBarControl& balance = bars.SkinScrollBarBalance();
    const struct {
        ScrollBarControl& bar;
        int put;
        QStringList sent;
        const char* texts; // the stored texts the bars keep: volume, balance
    } moves[] = {
        {volume, 0, {"MasterVolume.Volume=0"}, "0 left"},
        {volume, 75, {"MasterVolume.Volume=24000"}, "75 left"},
        {volume, 250, {"MasterVolume.Volume=32000"}, "100 left"},
        {volume, 101, {}, "100 left"}, // beyond the end again: nothing new to send
        {balance, -20, {"MasterVolume.Balance=-3200"}, "100 -20"},
        {balance, -999, {"MasterVolume.Balance=-16000"}, "100 -100"},
        {balance, 1, {"MasterVolume.Balance=160"}, "100 1"},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.put);
        engine.ClearCalls();
        move.bar.SetValue(move.put);
        EXPECT_EQ(engine.Calls(), move.sent);
        EXPECT_EQ(volumeText + " " + balanceText, move.texts);
    }

    engine.ClearCalls();
    engine.FailOn("MasterVolume.Volume");
    engine.FailOn("MasterVolume.Balance");
    EXPECT_NO_THROW(volume.SetValue(80));
    EXPECT_NO_THROW(balance.SetValue(-40));
    EXPECT_NO_THROW(bars.SendBarsToVolumeStage());
    // At start a failing volume does not keep the balance from the stage.
    EXPECT_EQ(engine.Calls(),
              (QStringList{"MasterVolume.Volume=25600", "MasterVolume.Balance=-6400",
                           "MasterVolume.Volume=25600", "MasterVolume.Balance=-6400"}));
    // The volume text is recorded after the stage took the value, the balance text before.
    EXPECT_EQ(volumeText + " " + balanceText, "100 -40");
}

} // namespace
} // namespace quillet
