// Audio CD on generated CUE/BIN images: table of contents, bit-exact reading of a track,
// seeking, and the ways reading can go wrong.
#include "components/audio/sources/cddisc.h"
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace quillet::test {
namespace {

using audio::CdFramesPerSector;

// Every decoded sample equals the BIN's 16-bit sample at the same place.
void ExpectSamples(const fixtures::Signal& decoded, std::span<const int16_t> expected)
{
    ASSERT_EQ(decoded.samples.size(), expected.size());
    for (size_t n = 0; n < expected.size(); ++n)
        ASSERT_EQ(fixtures::ToInt16(decoded.samples[n]), expected[n]) << "sample " << n;
}

TEST(CdDisc, ListsTheImagesAudioTracks)
{
    ScratchDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""), "disc", {2.0, 3.0, 1.5});
    audio::CdDisc disc(image.cuePath);
    EXPECT_EQ(disc.Device(), image.cuePath);
    const audio::CdToc toc = disc.ReadToc();
    EXPECT_TRUE(toc.ready);
    EXPECT_TRUE(toc.directoryValid);
    ASSERT_EQ(toc.tracks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(toc.tracks[i].number, image.tracks[i].number);
        EXPECT_EQ(toc.tracks[i].firstSector, image.tracks[i].firstSector);
        EXPECT_EQ(toc.tracks[i].lastSector, image.tracks[i].lastSector);
    }
    EXPECT_EQ(toc.tracks[1].firstSector, 150);
    EXPECT_EQ(toc.tracks[1].lastSector, 374);

    EXPECT_FALSE(disc.IsOpen());
    disc.Open();
    disc.Open();
    EXPECT_TRUE(disc.IsOpen());
    EXPECT_EQ(disc.ReadToc().tracks.size(), 3u);
    disc.Close();
    disc.Close();
    EXPECT_FALSE(disc.IsOpen());
}

TEST(CdDisc, MissingOrBrokenImageIsNotReady)
{
    ScratchDir dir;
    WriteFile(dir.File("junk.cue"), "this is not a cue sheet\n\x01\x02\x03");
    WriteFile(dir.File("nobin.cue"), "FILE \"gone.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                     "    INDEX 01 00:00:00\n");
    for (const char* name : {"missing.cue", "junk.cue", "nobin.cue"}) {
        audio::CdDisc disc(dir.File(name));
        const audio::CdToc toc = disc.ReadToc();
        EXPECT_FALSE(toc.ready && toc.directoryValid && !toc.tracks.empty()) << name;
        EXPECT_THROW(auto s = audio::OpenCdSource(dir.File(name), 0, 10), ComponentError) << name;
    }
    EXPECT_THROW(audio::CdDisc(dir.File("missing.cue")).Open(), ComponentError);
}

TEST(CdSource, EveryTrackReadsBitExactAgainstTheBin)
{
    ScratchDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""));
    for (const fixtures::CdImageTrack& track : image.tracks) {
        auto source = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
        EXPECT_EQ(source->Format().sampleRate, 44100);
        EXPECT_EQ(source->Format().channels, 2);
        EXPECT_EQ(source->LengthFrames(),
                  int64_t(track.lastSector - track.firstSector + 1) * CdFramesPerSector);
        const fixtures::Signal decoded = DecodeRest(*source, -1, 1000);
        EXPECT_FALSE(source->Failed());
        ExpectSamples(decoded, image.Sectors(track.firstSector, track.lastSector));
    }
}

TEST(CdSource, SeeksToAnyFrame)
{
    ScratchDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""));
    const fixtures::CdImageTrack& track = image.tracks[1];
    const auto all = image.Sectors(track.firstSector, track.lastSector);
    auto source = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
    for (int64_t frame : {int64_t(100000), int64_t(1000), int64_t(0), int64_t(588 * 7)}) {
        source->Seek(frame);
        const fixtures::Signal part = DecodeRest(*source, 2000, 333);
        ExpectSamples(part, all.subspan(size_t(frame) * 2, 4000));
    }
    source->Seek(source->LengthFrames() + 5);
    EXPECT_EQ(DecodeRest(*source).Frames(), 0);
    EXPECT_FALSE(source->Failed());
}

TEST(CdSource, RangeOutsideTheDiscIsRefused)
{
    ScratchDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""));
    const int end = image.tracks.back().lastSector;
    EXPECT_THROW(auto s = audio::OpenCdSource(image.cuePath, 0, end + 1), ComponentError);
    EXPECT_THROW(auto s = audio::OpenCdSource(image.cuePath, -1, 10), ComponentError);
    EXPECT_THROW(auto s = audio::OpenCdSource(image.cuePath, 20, 10), ComponentError);
    // Two tracks at once is a valid stretch.
    auto both = audio::OpenCdSource(image.cuePath, image.tracks[1].firstSector, end);
    ExpectSamples(DecodeRest(*both), image.Sectors(image.tracks[1].firstSector, end));
}

// Audio whose high bytes jump while the low bytes move smoothly looks "big-endian" to a
// guess from the data; the samples must still come back as written.
TEST(CdSource, ByteOrderIsNotGuessedFromTheMusic)
{
    ScratchDir dir;
    fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""), "disc", {1.0});
    uint32_t state = 99;
    QByteArray bin;
    for (size_t n = 0; n < image.samples.size(); ++n) {
        state = state * 1664525u + 1013904223u;
        const uint8_t low = uint8_t(n / 64);
        const uint8_t high = uint8_t(state >> 24);
        image.samples[n] = int16_t(uint16_t(low | (high << 8)));
        bin.append(char(low));
        bin.append(char(high));
    }
    WriteFile(image.binPath, bin);
    auto source = audio::OpenCdSource(image.cuePath, 0, image.tracks[0].lastSector);
    ExpectSamples(DecodeRest(*source), image.Sectors(0, image.tracks[0].lastSector));
}

TEST(CdSource, ImageCutShortEndsTheDataWithoutHanging)
{
    ScratchDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""), "disc", {1.0, 30.0});
    const fixtures::CdImageTrack& track = image.tracks[1];
    auto source = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
    const fixtures::Signal first = DecodeRest(*source, 10 * CdFramesPerSector);
    ASSERT_EQ(first.Frames(), 10 * CdFramesPerSector);
    // The "disc" loses everything after the first 1000 sectors of the track.
    const int kept = 1000;
    fixtures::TruncateFile(image.binPath, qint64(track.firstSector + kept) * 2352);

    auto rest = std::async(std::launch::async, [&] { return DecodeRest(*source); });
    ASSERT_EQ(rest.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    const fixtures::Signal after = rest.get();
    EXPECT_TRUE(source->Failed());
    EXPECT_LT(first.Frames() + after.Frames(), source->LengthFrames());
    // What did come is the disc's own audio.
    ExpectSamples(
        after, image.Sectors(track.firstSector + 10, track.lastSector).first(after.samples.size()));
}

// The stretch was chosen, then the image lost its end before playing began.
TEST(CdSource, ImageCutBeforeTheFirstReadPlaysWhatIsLeft)
{
    ScratchDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.File(""), "disc", {1.0, 30.0});
    const fixtures::CdImageTrack& track = image.tracks[1];
    auto source = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
    fixtures::TruncateFile(image.binPath, qint64(track.firstSector + 100) * 2352);
    const fixtures::Signal got = DecodeRest(*source);
    EXPECT_TRUE(source->Failed());
    ExpectSamples(got, image.Sectors(track.firstSector, track.firstSector + 99));

    auto gone =
        audio::OpenCdSource(image.cuePath, image.tracks[0].firstSector, image.tracks[0].lastSector);
    fixtures::TruncateFile(image.binPath, 0);
    float frame[2];
    EXPECT_EQ(gone->Read(frame, 1), 0u);
    EXPECT_TRUE(gone->Failed());
}

} // namespace
} // namespace quillet::test
