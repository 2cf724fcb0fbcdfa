// The CD reader of the engine on generated CUE/BIN discs, played into the null output.
#include "tests/components/audio/engine/enginerig.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>

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

TEST(EngineCd, PlaysExactlyTheSelectedTrackAndADiscCutShortEndsIt)
{
    QTemporaryDir dir;
    const fx::CdImage disc = fx::MakeCdImage(dir.path(), "disc", {2.0, 3.0, 30.0});
    EngineRig rig(OutputKind::NullFast, disc.cuePath);
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

    // With no range selected a Start ends at once.
    cd.SetOutput("Eq");
    cd.Open();
    rig.engine->waveOut().Start();
    EXPECT_EQ(rig.starts->count(), 1);
    ASSERT_TRUE(rig.WaitForStops(1, 2s));
    EXPECT_EQ(rig.CapturedFrames(), 0u);

    const CdTrack second = cd.Tracks().Item(1);
    PlayRange(*rig.engine, second.TrackStart, second.TrackEnd);
    EXPECT_EQ(rig.starts->count(), 2);
    ASSERT_TRUE(rig.WaitForStops(2));
    EXPECT_TRUE(
        std::ranges::equal(rig.Captured(), disc.Sectors(second.TrackStart, second.TrackEnd)))
        << "not the track";
    EXPECT_EQ(rig.engine->waveOut().Position(), int(rig.CapturedFrames() * 1000 / 44100));

    // The range has been played: a Start without a new selection plays nothing.
    rig.ClearCapture();
    rig.engine->waveOut().Start();
    ASSERT_TRUE(rig.WaitForStops(3, 2s));
    EXPECT_EQ(rig.CapturedFrames(), 0u);

    // Everything after the last track's first 100 sectors is lost while it plays.
    const fx::CdImageTrack& last = disc.tracks[2];
    PlayRange(*rig.engine, last.firstSector, last.lastSector);
    fx::TruncateFile(disc.binPath, qint64(last.firstSector + 100) * 2352);
    ASSERT_TRUE(rig.WaitForStops(4, 20s));
    EXPECT_EQ(rig.engine->waveOut().State(), 0);
    const std::vector<int16_t> got = rig.Captured(); // the disc's own sound, cut short
    const auto expected = disc.Sectors(last.firstSector, last.lastSector);
    EXPECT_LT(got.size(), expected.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin()));
}

TEST(EngineCd, AMissingOrBrokenImageIsNoDiscAndCannotBePlayed)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("junk.cue"), "this is not a cue sheet\n\x01\x02\x03");
    WriteFile(dir.filePath("nobin.cue"),
              "FILE \"gone.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    for (const char* name : {"missing.cue", "junk.cue", "nobin.cue"}) {
        EngineRig rig(OutputKind::NullFast, dir.filePath(name));
        CDReader& cd = rig.engine->cdReader();
        EXPECT_FALSE(cd.Ready() && cd.DirectoryValid() && cd.Tracks().Count() > 0) << name;
        EXPECT_THROW(cd.SelectRange(0, 100), ComponentError) << name;
    }
    EngineRig rig(OutputKind::NullFast, dir.filePath("missing.cue"));
    EXPECT_FALSE(rig.engine->cdReader().Ready());
    EXPECT_EQ(rig.engine->cdReader().Tracks().Count(), 0);
    EXPECT_THROW(rig.engine->cdReader().Open(), ComponentError);
}

} // namespace
} // namespace quillet::test
