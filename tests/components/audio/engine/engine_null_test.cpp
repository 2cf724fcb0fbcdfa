// The engine on the null output: what is played, in what order the notifications come, where
// the positions stand, and what bad input leads to; its CD reader on generated CUE/BIN discs.
#include "components/audio/dsp/analysis.h"
#include "tests/components/audio/engine/enginerig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace quillet::test {
namespace {

using audio::OutputKind;
namespace fx = quillet::fixtures;

// At the file's own rate. An undecodable file fails to open; an empty one ends at once.
TEST(EngineNull, MonoIsPlayedBitExactlyOnBothChannelsAndEndsWithOneStop)
{
    EngineRig rig(OutputKind::NullFast);
    fx::WriteRandomBytes(rig.dir.filePath("random.mp3"), 200000);
    EXPECT_THROW(rig.engine->audioFile().SetFileName(rig.dir.filePath("random.mp3")),
                 ComponentError);
    EXPECT_EQ(rig.engine->audioFile().Length(), 0);
    rig.PlayFile(rig.WriteWav(fx::Tone(1000, 0.0), "empty.wav"));
    ASSERT_TRUE(rig.WaitForStops(1));
    EXPECT_EQ(rig.CapturedFrames(), 0u);
    rig.stops->clear();
    rig.PlayFile(rig.WriteWav(fx::Counter(22050, 22050, 1)));
    ASSERT_TRUE(rig.WaitForStops(1));
    QTest::qWait(100);
    EXPECT_EQ(rig.stops->count(), 1);
    EXPECT_EQ(rig.engine->waveOut().State(), 0);
    const std::vector<int16_t> got = rig.Captured();
    ASSERT_EQ(got.size(), size_t(22050 * 2));
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(got[i], int16_t(i / 2)) << i;
    EXPECT_EQ(rig.engine->audioFile().Length(), 1000);
    EXPECT_EQ(rig.engine->audioFile().Position(), 1000);
}

TEST(EngineNull, PositionsFollowWhatIsHeardAndASeekContinuesSampleExactly)
{
    EngineRig rig(OutputKind::NullRealTime);
    const int64_t total = 44100 * 4;
    AudioFile& file = rig.engine->audioFile();
    WaveOut& out = rig.engine->waveOut();
    file.SetFileName(rig.WriteWav(fx::Counter(total)));
    file.SetPosition(500);
    file.SetOutput("Eq");
    out.Start();
    ASSERT_TRUE(rig.WaitForFrames(4410));
    out.Pause();
    EXPECT_EQ(out.State(), WaveOut::Started | WaveOut::Paused);
    QTest::qWait(50);
    const size_t before = rig.CapturedFrames();
    QTest::qWait(100);
    EXPECT_EQ(rig.CapturedFrames(), before); // paused: nothing flows
    const int heard = int(before * 1000 / 44100);
    EXPECT_NEAR(file.Position(), 500 + heard, 1);
    EXPECT_NEAR(out.Position(), heard, 1);

    // The program's seek: put the position, drop what is queued, resume.
    file.SetPosition(3000);
    EXPECT_EQ(file.Position(), 3000);
    out.Reset();
    out.Restart();
    EXPECT_EQ(out.State(), WaveOut::Started);
    ASSERT_TRUE(rig.WaitForStops(1));
    const int64_t seek = 3 * 44100;
    std::vector<int16_t> expected = CounterSamples(44100 / 2, int64_t(before));
    const std::vector<int16_t> tail = CounterSamples(seek, total - seek);
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(rig.Captured(), expected);
}

// The displays' feed reads the music as it is heard, not at the listening level: a tone on the
// left reads its own level there and silence on the right, the spectrum peaks at its pitch;
// pausing silences the feed.
TEST(EngineNull, TheDisplayFeedReadsWhatIsHeardAtTheMusicsOwnLevel)
{
    EngineRig rig(OutputKind::NullRealTime);
    fx::Signal tone = fx::Tone(1000, 5.0, 44100, 2, 0.5); // −6 dB, left only
    for (int64_t frame = 0; frame < tone.Frames(); ++frame)
        tone.samples[size_t(frame * 2 + 1)] = 0;
    const Connector& feed = rig.engine->connector();
    float left = 0, right = 0;
    std::array<float, Connector::SpectrumBins> bins{};
    EXPECT_FALSE(feed.Levels(left, right));
    rig.PlayFile(rig.WriteWav(tone));
    rig.engine->masterVolume().SetVolume(3200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return feed.Levels(left, right); }, 3000));
    QTest::qWait(300);
    ASSERT_TRUE(feed.Levels(left, right));
    EXPECT_NEAR(left, -6.02f, 0.1f);
    EXPECT_EQ(right, audio::LevelFloorDb);
    ASSERT_TRUE(feed.Spectrum(bins));
    const auto tallest = std::max_element(bins.begin(), bins.end()) - bins.begin();
    EXPECT_NEAR(double(tallest) * 22050 / Connector::SpectrumBins, 1000.0, 100.0);

    rig.engine->waveOut().Pause(); // nothing is heard now
    EXPECT_FALSE(feed.Levels(left, right));
    EXPECT_FALSE(feed.Spectrum(bins));
}

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

    const CdTrack second = cd.Tracks().Item(1);
    PlayRange(*rig.engine, second.TrackStart, second.TrackEnd);
    EXPECT_EQ(rig.starts->count(), 1);
    ASSERT_TRUE(rig.WaitForStops(1));
    EXPECT_TRUE(
        std::ranges::equal(rig.Captured(), disc.Sectors(second.TrackStart, second.TrackEnd)))
        << "not the track";
    EXPECT_EQ(rig.engine->waveOut().Position(), int(rig.CapturedFrames() * 1000 / 44100));

    rig.ClearCapture();
    // Everything after the last track's first 100 sectors is lost while it plays.
    const fx::CdImageTrack& last = disc.tracks[2];
    PlayRange(*rig.engine, last.firstSector, last.lastSector);
    fx::TruncateFile(disc.binPath, qint64(last.firstSector + 100) * 2352);
    ASSERT_TRUE(rig.WaitForStops(2, 20s));
    EXPECT_EQ(rig.engine->waveOut().State(), 0);
    const std::vector<int16_t> got = rig.Captured(); // the disc's own sound, cut short
    const auto expected = disc.Sectors(last.firstSector, last.lastSector);
    EXPECT_LT(got.size(), expected.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin()));
}

} // namespace
} // namespace quillet::test
