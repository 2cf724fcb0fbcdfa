// Continuous play and shuffle: what follows the end of a track, and what never moves on.
#include "tests/playback/playbackworld.h"

#include <QList>

#include <functional>

namespace quillet::test {
namespace {

class ContinuousPlay : public ::testing::Test {
protected:
    // The track that plays ends and the end-of-track timer ticks; returns the file played
    // next ("" when nothing was put to the file source).
    QString EndAndTick()
    {
        w.TrackEnds();
        EXPECT_FALSE(w.transport.Playing());
        w.TakeCalls();
        w.endOfTrack.Timer1_Timer();
        for (const QString& call : w.TakeCalls())
            if (call.startsWith("AudioFile.FileName="))
                return call.mid(19);
        return {};
    }
    void Draws(QList<float> draws)
    {
        w.endOfTrack.SetRandomDraw([draws]() mutable {
            EXPECT_FALSE(draws.isEmpty()) << "an unexpected draw";
            return draws.isEmpty() ? 0.0F : draws.takeFirst();
        });
    }

    PlaybackWorld w;
    EndOfTrack& e = w.endOfTrack;
};

TEST_F(ContinuousPlay, GoesOnFromTheSelectionWrapsToTheTopAndDrawsWithShuffle)
{
    w.Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    e.contPlay_Click();
    w.PlayEntry(0);
    w.TrackEnds(); // acted on once the end is handled, not a timer interval later
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(w.transport.Playing() && w.timer1.isActive());
    EXPECT_EQ(w.playlist.TextPosition(), "Pos: 2");
    EXPECT_EQ(EndAndTick(), "/m/c.wav");
    EXPECT_EQ(EndAndTick(), "/m/a.wav"); // from the bottom back to the top
    w.playlist.Select(1);                // picked by the user while a plays: counted from here
    EXPECT_EQ(EndAndTick(), "/m/c.wav");

    e.randOrder_Click();
    Draws({0.5F, 0.0F, 1.0F, 0.99999F}); // 1.0: a generator at its very edge
    for (const char* next : {"/m/b.wav", "/m/a.wav", "/m/c.wav", "/m/c.wav"})
        EXPECT_EQ(EndAndTick(), next);

    e.randOrder_Click(); // a play that fails ends continuous play, with one message
    w.engine.FailOn("AudioFile.FileName");
    EXPECT_EQ(EndAndTick(), "/m/a.wav");
    EXPECT_EQ(w.dialogs.messages.size(), 1);
    EXPECT_FALSE(w.timer1.isActive());
}

TEST_F(ContinuousPlay, OptionsAgreeAndPauseOrStopNeverMoveOn)
{
    w.continuousText = "1"; // only the exact text "1" counts as on
    w.shuffleText = "1 ";
    e.ApplyContinuousPlay();
    e.ApplyShuffle();
    EXPECT_TRUE(e.contPlay().Checked() && e.SkinButtonContinue().Pushed());
    EXPECT_FALSE(e.randOrder().Checked() || e.SkinButtonShuffle().Pushed());
    EXPECT_EQ(w.shuffleText, "1 "); // kept as read, for the next write

    w.Fill({"/m/a.wav", "/m/b.wav"});
    w.PlayEntry(0);
    w.transport.SkinButtonPause_Click();
    w.TakeCalls();
    e.Timer1_Timer();
    EXPECT_TRUE(w.TakeCalls().isEmpty());
    w.transport.StopPlayback(); // a stop that was asked for is no end of a track
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(w.transport.Playing() || w.timer1.isActive());
}

TEST_F(ContinuousPlay, TheNextEntryIsPreparedAheadAndShownWhenItsJoinIsHeard)
{
    w.Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
    w.engine.file.lengths = {{"/m/b.wav", 2000}};
    e.contPlay_Click();
    e.randOrder_Click();
    Draws({0.5F}); // one draw for the choice made ahead, none when it is heard
    w.PlayEntry(0);
    w.TakeCalls();
    w.engine.out.Decoded();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(w.TakeCalls(), QStringList{"AudioFile.PrepareNext=/m/b.wav"});
    EXPECT_EQ(w.playlist.SelectedIndex(), 0); // nothing moves before it is heard
    w.TrackEnds();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(w.transport.Playing() && w.timer1.isActive());
    EXPECT_EQ(w.playlist.TextPosition(), "Pos: 2");
    EXPECT_EQ(w.transport.Slider1().Maximum(), 2000);
    EXPECT_TRUE(w.TakeCalls().isEmpty()); // the same play goes on: nothing reopened

    w.playlist.ClearPlaylist(); // a CD track is never prepared on the file source
    w.Fill({"/m/a.wav", "0"});
    e.randOrder_Click();
    w.PlayEntry(0);
    w.engine.out.Decoded();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(w.TakeCalls().join(' ').contains("PrepareNext"));
}

TEST_F(ContinuousPlay, AChangeBeforeTheJoinDropsThePreparedEntryAndTheEndDecidesAsBefore)
{
    struct Change {
        const char* name;
        std::function<void()> make;
        QString next; // played after the end; "" nothing
    };
    const QList<Change> changes = {
        {"selection moved", [&] { w.playlist.Select(2); }, "/m/a.wav"},
        {"list cleared", [&] { w.playlist.ClearPlaylist(); }, ""},
        {"continuous play off", [&] { e.contPlay_Click(); }, ""},
        {"shuffle on", [&] { e.randOrder_Click(), Draws({0.0F}); }, "/m/a.wav"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        w.playlist.ClearPlaylist();
        w.Fill({"/m/a.wav", "/m/b.wav", "/m/c.wav"});
        w.continuousText = "1", w.shuffleText = "0";
        e.ApplyContinuousPlay();
        e.ApplyShuffle();
        w.PlayEntry(0);
        w.engine.out.Decoded();
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(w.engine.file.next, "/m/b.wav");
        w.TakeCalls();
        change.make();
        EXPECT_TRUE(w.TakeCalls().contains("AudioFile.CancelNext"));
        EXPECT_EQ(EndAndTick(), change.next);
    }
}

} // namespace
} // namespace quillet::test
