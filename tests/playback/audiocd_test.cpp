// Audio-CD entries: the whole disc listed, one track added from its ".cda" path, and tracks
// that the disc does not have.
#include "tests/playback/playbackworld.h"

namespace quillet::test {
namespace {

const QString Unreadable = QStringLiteral("Unable to read CD directory");

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
    EXPECT_EQ(list.Names().mid(8, 4).join(','), "Track 09,Track 10,Track 11,Track 12");
    EXPECT_EQ(list.TextTotalFiles() + list.TextPosition(), "Total: 12Pos: 1");
    EXPECT_TRUE(w.TakeCalls().isEmpty()); // no reader opened, the file plays on
    EXPECT_TRUE(w.transport.Playing());

    w.engine.cd.ready = false; // no disc: an empty playlist and no word
    w.audioCd.LoadCdTracks();
    EXPECT_EQ(list.Count(), 0);
    w.engine.cd.ready = true;

    w.audioCd.AddCdTrack("/media/cdrom/Track07.cda");
    EXPECT_EQ(list.Sources() + list.Names(), (QStringList{"6", "Track 07"}));
    EXPECT_EQ(list.TextTotalFiles() + list.TextPosition(), "Total: 1Pos: 1");
    for (const char* bad : {"/media/cdrom/Trackxy.cda", "/media/cdrom/Track7.cda",
                            "/media/cdrom/Track00.cda", "/media/cdrom/Track13.cda", "7.cda", ""})
        w.audioCd.AddCdTrack(bad);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    w.engine.cd.tocReadable = false;
    w.audioCd.AddCdTrack("/media/cdrom/Track02.cda");
    EXPECT_EQ(list.Count(), 1);
    w.ExpectOneMessage(Unreadable, AppTitle, MessageIcon::None);
    w.audioCd.LoadCdTracks();
    EXPECT_EQ(list.Count(), 0);
    w.ExpectOneMessage(Unreadable, AppTitle, MessageIcon::None);
}

} // namespace
} // namespace quillet::test
