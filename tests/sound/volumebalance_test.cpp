// The volume and balance bars against the fake volume stage: what each bar value sends,
// the texts kept for the settings file, and what a failing stage leaves behind.
#include "sound/volumebalance.h"
#include "tests/support/fakeengine.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct Bars {
    test::FakeEngine engine;
    QString volume = "50";
    QString balance = "0";
    VolumeBalance bars{engine.volume, volume, balance};
};

struct Move {
    int put;
    QStringList sent;
    const char* text; // the stored text the bar keeps
};

void Walk(Bars& b, ScrollBarControl& bar, const QString& text, std::initializer_list<Move> moves)
{
    for (const Move& m : moves) {
        SCOPED_TRACE(m.put);
        b.engine.ClearCalls();
        bar.SetValue(m.put);
        EXPECT_EQ(b.engine.Calls(), m.sent);
        EXPECT_EQ(text, m.text);
    }
}

TEST(VolumeBalance, EachBarValueIsSentScaledAndKeptAsTextAndRepeatsOrOverrunsSendOnce)
{
    Bars b;
    Walk(b, b.bars.SkinScrollBarVolume(), b.volume,
         {{0, {"MasterVolume.Volume=0"}, "0"},
          {75, {"MasterVolume.Volume=24000"}, "75"},
          {250, {"MasterVolume.Volume=32000"}, "100"},
          {101, {}, "100"}});
    Walk(b, b.bars.SkinScrollBarBalance(), b.balance,
         {{-20, {"MasterVolume.Balance=-3200"}, "-20"},
          {-999, {"MasterVolume.Balance=-16000"}, "-100"},
          {1, {"MasterVolume.Balance=160"}, "1"}});
}

TEST(VolumeBalance, StartSendsBothBarsAndAFailingStageEndsTheChangeQuietly)
{
    Bars b;
    b.volume = "";
    b.balance = "left";
    b.bars.SendBarsToVolumeStage(); // the stored texts stay as read
    EXPECT_EQ(b.engine.Calls(),
              (QStringList{"MasterVolume.Volume=16000", "MasterVolume.Balance=0"}));
    EXPECT_EQ(b.volume + b.balance, "left");

    b.engine.ClearCalls();
    b.engine.FailOn("MasterVolume.Volume");
    b.engine.FailOn("MasterVolume.Balance");
    EXPECT_NO_THROW(b.bars.SkinScrollBarVolume().SetValue(80));
    EXPECT_NO_THROW(b.bars.SkinScrollBarBalance().SetValue(-40));
    EXPECT_NO_THROW(b.bars.SendBarsToVolumeStage());
    // At start a failing volume does not keep the balance from the stage.
    EXPECT_EQ(b.engine.Calls(),
              (QStringList{"MasterVolume.Volume=25600", "MasterVolume.Balance=-6400",
                           "MasterVolume.Volume=25600", "MasterVolume.Balance=-6400"}));
    // The volume text is recorded after the stage took the value, the balance text before.
    EXPECT_EQ(b.volume, "");
    EXPECT_EQ(b.balance, "-40");
}

} // namespace
} // namespace quillet
