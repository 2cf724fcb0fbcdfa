// The transport: what a play of a file and of a CD track calls on the chain, in order; pause
// and stop; the five-second steps and the drag; the elapsed-time text. Continuous play and
// shuffle: what follows the end of a track. Audio-CD entries: the whole disc listed, one
// track added from its ".cda" path, and tracks that the disc does not have.
#include "tests/playback/playbackworld.h"

#include <functional>

namespace quillet::test {
namespace {

QStringList SeekTo(int ms)
{
    return {"WaveOut.Pause", QStringLiteral("AudioFile.Position=%1").arg(ms), "WaveOut.Reset",
            "WaveOut.Restart"};
}

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.engine.file.length = 12000;
        w.engine.cd.ready = true;
        w.engine.cd.tracks = {{1, 0, 1000}, {2, 1001, 2500}, {3, 2501, 4000}};
        // Entry 4 names a track beyond the disc.
        w.Fill({"/music/a.wav", "1", " 2 ", "/music/b.wav", "3"});
    }
    void ExpectStopped()
    {
        EXPECT_EQ(w.TakeCalls(), (QStringList{"WaveOut.Stop", "WaveOut.Close"}));
        EXPECT_FALSE(t.Playing() || w.timer1.isActive() || slider.Enabled());
        EXPECT_EQ(slider.Position(), 0);
    }

    PlaybackWorld w;
    Transport& t = w.transport;
    SliderControl& slider = w.transport.Slider1();
};

TEST_F(TransportTest, FilesAndCdTracksCallTheChainInOrder)
{
    const struct {
        int entry;
        QString calls; // after the output's stop, its close and the device count
        bool cd;
    } plays[] = {
        {0, "AudioFile.Output=Eq AudioFile.FileName=/music/a.wav WaveOut.Start", false},
        {1, "CDReader.Output=Eq CDReader.Open CDReader.SelectRange=1001,2500 WaveOut.Start", true},
        // The reader is opened once; blanks around the index do not count.
        {2, "CDReader.Output=Eq CDReader.SelectRange=2501,4000 WaveOut.Start", true},
        // A file after a CD track closes the reader first.
        {3, "AudioFile.Output=Eq CDReader.Close AudioFile.FileName=/music/b.wav WaveOut.Start",
         false},
        // Beyond the disc: no range, yet the output starts.
        {4, "CDReader.Output=Eq CDReader.Open WaveOut.Start", true},
    };
    w.engine.out.Start();
    for (const auto& play : plays) {
        SCOPED_TRACE(play.entry);
        w.TakeCalls();
        w.PlayEntry(play.entry);
        // A CD track starts the output once more after its range is chosen.
        EXPECT_EQ(w.TakeCalls().join(' '), "WaveOut.Stop WaveOut.Close WaveOut.DeviceCount " +
                                               play.calls + (play.cd ? " WaveOut.Start" : ""));
        EXPECT_TRUE(t.Playing() && w.timer1.isActive());
        EXPECT_EQ(t.CdOpen, play.cd);
        // The position slider and the step buttons serve files only.
        EXPECT_EQ(QList<bool>({slider.Enabled(), t.SkinButtonRewind().Visible(),
                               t.SkinButtonForward().Visible()}),
                  QList<bool>(3, !play.cd));
    }

    slider.SetPosition(4000); // nothing selected: what plays stops and nothing starts
    w.PlayEntry(-1);
    ExpectStopped();
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    w.PlayEntry(0); // the reader is closed again
    w.engine.FailOn("CDReader.Open"); // no disc in the tray: one message, nothing starts
    w.PlayEntry(1);
    EXPECT_EQ(w.dialogs.messages.size(), 1);
    EXPECT_FALSE(t.Playing() || t.CdOpen || w.timer1.isActive());
}

TEST_F(TransportTest, PauseResumesAndStopEndsThePlay)
{
    QList<PlayState> published;
    QObject::connect(&t, &Transport::PlayStateChanged,
                     [&](PlayState state) { published.append(state); });
    w.PlayEntry(0);
    w.PlayEntry(0); // a play that replaces another is never published as a stop
    w.TakeCalls();
    t.SkinButtonPause_Click();
    EXPECT_EQ(w.TakeCalls(), (QStringList{"WaveOut.DeviceCount", "WaveOut.Pause"}));
    EXPECT_EQ(w.engine.out.State(), WaveOut::Started | WaveOut::Paused);
    EXPECT_TRUE(t.Playing() && w.timer1.isActive()); // a paused track has not ended
    t.SkinButtonPause_Click();
    EXPECT_EQ(w.TakeCalls(), (QStringList{"WaveOut.DeviceCount", "WaveOut.Restart"}));
    EXPECT_EQ(w.engine.out.State(), WaveOut::Started);

    slider.SetPosition(4000);
    t.StopPlayback();
    ExpectStopped();
    t.Pause(); // nothing plays: nothing to pause, and no message
    t.Resume();
    EXPECT_TRUE(w.TakeCalls().isEmpty());
    EXPECT_EQ(published,
              (QList<PlayState>{PlayState::Playing, PlayState::Paused, PlayState::Playing,
                                PlayState::Stopped}));

    // Paused with nothing started: the next Pause stops the output.
    t.SkinButtonPause_Click();
    t.SkinButtonPause_Click();
    EXPECT_EQ(w.TakeCalls(), (QStringList{"WaveOut.DeviceCount", "WaveOut.Pause",
                                          "WaveOut.DeviceCount", "WaveOut.Stop", "WaveOut.Close"}));
    EXPECT_EQ(w.engine.out.State(), 0);
}

TEST_F(TransportTest, StepsAndDragsSeekInsideTheFile)
{
    w.PlayEntry(0);
    slider.SetPosition(3000);
    w.TakeCalls();
    t.SkinButtonRewind_Click();
    slider.SetPosition(9000);
    t.SkinButtonForward_Click();
    EXPECT_EQ(w.TakeCalls(), SeekTo(0) + SeekTo(12000));

    // A drag: the play goes on at the old place until the thumb is let go.
    slider.BeginTrack();
    slider.SetPosition(7000);
    w.endOfTrack.Timer1_Timer();
    EXPECT_EQ(slider.Position(), 7000);
    slider.EndTrack();
    EXPECT_EQ(w.TakeCalls(), SeekTo(7000));
}

TEST_F(TransportTest, TheTimeShowsWholeSecondsOfTheFileOrOfTheOutputWhileACdTrackPlays)
{
    EXPECT_EQ(TimeDisplay::FormatTime(-1500) + TimeDisplay::FormatTime(6000000), "00:00100:00");

    const auto tick = [&] {
        w.timeDisplay.Timer2_Timer();
        return w.timeDisplay.TextTime().Text();
    };
    w.engine.out.position = 5000; // nothing played yet: no clock
    EXPECT_EQ(tick(), "00:00");
    w.PlayEntry(0);
    w.engine.file.position = 61999;
    EXPECT_EQ(tick(), "01:01");
    t.StopPlayback(); // a stopped file still shows its place
    w.engine.file.position = 30000;
    EXPECT_EQ(tick(), "00:30");

    w.PlayEntry(1); // the file source keeps its name but is not what plays
    w.engine.out.position = 125000;
    EXPECT_EQ(tick(), "02:05");
    t.StopPlayback(); // a stopped CD track leaves the text as it was
    w.engine.out.position = 0;
    EXPECT_EQ(tick(), "02:05");
}

TEST(AudioCd, ListingReplacesThePlaylistButNotWhatPlaysAndACdaPathAddsTheTrackItNames)
{
    PlaybackWorld w;
    Playlist& list = w.playlist;
    w.engine.cd.ready = true;
    for (int i = 0; i < 12; ++i)
        w.engine.cd.tracks.append({i + 1, i * 1000, i * 1000 + 999});
    w.Fill({"/m/a.wav"});
    w.PlayEntry(0);
    w.TakeCalls();
    w.audioCd.LoadCdTracks();
    EXPECT_EQ(list.Sources().join(','), "0,1,2,3,4,5,6,7,8,9,10,11");
    EXPECT_EQ(list.Names().mid(10, 2).join(','), "Track 11,Track 12");
    EXPECT_EQ(list.TextTotalFiles() + list.TextPosition(), "Total: 12Pos: 1");
    EXPECT_TRUE(w.TakeCalls().isEmpty()); // no reader opened, the file plays on
    EXPECT_TRUE(w.transport.Playing());

    list.ClearPlaylist();
    w.audioCd.AddCdTrack("/media/cdrom/Track07.cda");
    EXPECT_EQ(list.Sources() + list.Names(), (QStringList{"6", "Track 07"}));
    for (const char* bad : {"/media/cdrom/Trackxy.cda", "/media/cdrom/Track7.cda",
                            "/media/cdrom/Track00.cda", "/media/cdrom/Track13.cda", "7.cda", ""})
        w.audioCd.AddCdTrack(bad);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    w.engine.cd.tocReadable = false;
    w.audioCd.AddCdTrack("/media/cdrom/Track02.cda");
    w.audioCd.LoadCdTracks();
    EXPECT_EQ(list.Count(), 0);
    ASSERT_EQ(w.dialogs.messages.size(), 2);
    EXPECT_EQ(w.dialogs.messages[1], "Unable to read CD directory");
}

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

    w.transport.SkinButtonPause_Click(); // a pause, then a stop asked for, never move on
    w.TakeCalls();
    e.Timer1_Timer();
    w.transport.StopPlayback();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(w.TakeCalls().join(' ').contains("FileName"));
    EXPECT_FALSE(w.transport.Playing() || w.timer1.isActive());

    w.PlayEntry(2);
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
