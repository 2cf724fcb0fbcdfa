// The CD reader of the engine on generated CUE/BIN discs, played into the null output.
#include "tests/components/audio/engine/enginerig.h"
#include "tests/fixtures/fixtures.h"

#include <gtest/gtest.h>

#include <QThread>

namespace quillet::test {
namespace {

using audio::OutputKind;
namespace fx = quillet::fixtures;

void PlayRange(AudioEngine& engine, int first, int last)
{
    engine.waveOut().Stop();
    engine.cdReader().SetOutput("Eq");
    engine.cdReader().Open();
    engine.cdReader().SelectRange(first, last);
    engine.waveOut().Start();
    engine.waveOut().Start(); // the program starts a CD track twice
}

TEST(EngineCd, ListsTheDiscAndPlaysExactlyTheSelectedTrack)
{
    QTemporaryDir dir;
    const fx::CdImage disc = fx::MakeCdImage(dir.path());
    NullRig rig(OutputKind::NullFast, disc.cuePath);
    CDReader& cd = rig.engine->cdReader();
    ASSERT_TRUE(cd.Ready());
    ASSERT_TRUE(cd.DirectoryValid());
    ASSERT_EQ(cd.Tracks().Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const CdTrack t = cd.Tracks().Item(i);
        EXPECT_EQ(t.TrackNumber, disc.tracks[size_t(i)].number);
        EXPECT_EQ(t.TrackStart, disc.tracks[size_t(i)].firstSector);
        EXPECT_EQ(t.TrackEnd, disc.tracks[size_t(i)].lastSector);
    }
    EXPECT_THROW((void)cd.Tracks().Item(3), ComponentError);

    const CdTrack second = cd.Tracks().Item(1);
    PlayRange(*rig.engine, second.TrackStart, second.TrackEnd);
    EXPECT_EQ(rig.starts->count(), 1);
    ASSERT_TRUE(rig.WaitForStops(1));
    const auto expected = disc.Sectors(second.TrackStart, second.TrackEnd);
    const std::vector<int16_t> got = rig.Captured();
    EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin(), expected.end()));
    EXPECT_EQ(rig.engine->waveOut().Position(), int(int64_t(expected.size() / 2) * 1000 / 44100));

    // The range has been played: a Start without a new selection plays nothing.
    rig.ClearCapture();
    rig.engine->waveOut().Start();
    ASSERT_TRUE(rig.WaitForStops(2, 2s));
    EXPECT_EQ(rig.CapturedFrames(), 0u);
    rig.engine->cdReader().Close();
}

TEST(EngineCd, WithNoRangeSelectedAStartEndsAtOnce)
{
    QTemporaryDir dir;
    const fx::CdImage disc = fx::MakeCdImage(dir.path());
    NullRig rig(OutputKind::NullRealTime, disc.cuePath);
    rig.engine->cdReader().SetOutput("Eq");
    rig.engine->cdReader().Open();
    rig.engine->waveOut().Start();
    EXPECT_EQ(rig.starts->count(), 1);
    ASSERT_TRUE(rig.WaitForStops(1, 2s));
    EXPECT_EQ(rig.CapturedFrames(), 0u);
}

TEST(EngineCd, ADiscThatGoesAwayEndsTheTrack)
{
    QTemporaryDir dir;
    const fx::CdImage disc = fx::MakeCdImage(dir.path(), "disc", {1.0, 30.0});
    const fx::CdImageTrack& track = disc.tracks[1];
    NullRig rig(OutputKind::NullFast, disc.cuePath);
    PlayRange(*rig.engine, track.firstSector, track.lastSector);
    // Everything after the track's first 100 sectors is lost while it plays.
    fx::TruncateFile(disc.binPath, qint64(track.firstSector + 100) * 2352);
    ASSERT_TRUE(rig.WaitForStops(1, 20s));
    EXPECT_LT(rig.CapturedFrames(), size_t(track.lastSector - track.firstSector + 1) * 588);
    EXPECT_EQ(rig.engine->waveOut().State(), 0);
    // What was heard is the disc's own sound.
    const std::vector<int16_t> got = rig.Captured();
    const auto expected = disc.Sectors(track.firstSector, track.lastSector);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin()));
}

TEST(EngineCd, NoDiscMeansNotReadyAndAFailedOpen)
{
    QTemporaryDir dir;
    NullRig rig(OutputKind::NullFast, dir.filePath("missing.cue"));
    CDReader& cd = rig.engine->cdReader();
    EXPECT_FALSE(cd.Ready());
    EXPECT_FALSE(cd.DirectoryValid());
    EXPECT_EQ(cd.Tracks().Count(), 0);
    EXPECT_THROW(cd.Open(), ComponentError);
    EXPECT_THROW(cd.SelectRange(0, 100), ComponentError);
    cd.Close();
}

} // namespace
} // namespace quillet::test
