// Audio CD on generated CUE/BIN images: table of contents, bit-exact reading and seeking,
// and the ways reading can go wrong.
#include "components/audio/sources/cddisc.h"
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"
#include "tests/support/testsupport.h"

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

TEST(CdDisc, ListsTheImagesTracksOrRefusesABrokenImage)
{
    QTemporaryDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.path());
    audio::CdDisc disc(image.cuePath);
    const audio::CdToc toc = disc.ReadToc();
    EXPECT_TRUE(toc.ready && toc.directoryValid);
    ASSERT_EQ(toc.tracks.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(toc.tracks[i].number, int(i) + 1);
        EXPECT_EQ(toc.tracks[i].firstSector, image.tracks[i].firstSector);
        EXPECT_EQ(toc.tracks[i].lastSector, image.tracks[i].lastSector);
    }
    EXPECT_EQ(toc.tracks[1].firstSector, 150);
    EXPECT_EQ(toc.tracks[1].lastSector, 374);
    disc.Open();
    disc.Open(); // changes nothing
    EXPECT_TRUE(disc.IsOpen());

    WriteFile(dir.filePath("junk.cue"), "this is not a cue sheet\n\x01\x02\x03");
    WriteFile(dir.filePath("nobin.cue"), "FILE \"gone.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                         "    INDEX 01 00:00:00\n");
    for (const char* name : {"missing.cue", "junk.cue", "nobin.cue"}) {
        const audio::CdToc bad = audio::CdDisc(dir.filePath(name)).ReadToc();
        EXPECT_FALSE(bad.ready && bad.directoryValid && !bad.tracks.empty()) << name;
        EXPECT_THROW(auto s = audio::OpenCdSource(dir.filePath(name), 0, 10), ComponentError)
            << name;
    }
    EXPECT_THROW(audio::CdDisc(dir.filePath("missing.cue")).Open(), ComponentError);
}

TEST(CdSource, ReadsAndSeeksBitExactAgainstTheBin)
{
    QTemporaryDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.path());
    for (const fixtures::CdImageTrack& track : image.tracks) {
        auto source = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
        EXPECT_EQ(source->Format().sampleRate, 44100);
        EXPECT_EQ(source->Format().channels, 2);
        EXPECT_EQ(source->LengthFrames(),
                  int64_t(track.lastSector - track.firstSector + 1) * CdFramesPerSector);
        ExpectSamples(DecodeRest(*source), image.Sectors(track.firstSector, track.lastSector));
        EXPECT_FALSE(source->Failed());
    }

    const int first = image.tracks[1].firstSector, end = image.tracks.back().lastSector;
    const auto all = image.Sectors(first, end); // two tracks at once is a valid stretch
    auto source = audio::OpenCdSource(image.cuePath, first, end);
    for (int64_t frame : {int64_t(100000), int64_t(1000), int64_t(0), int64_t(588 * 7)}) {
        source->Seek(frame);
        ExpectSamples(DecodeRest(*source, 2000, 333), all.subspan(size_t(frame) * 2, 4000));
    }
    source->Seek(source->LengthFrames() + 5);
    EXPECT_EQ(DecodeRest(*source).Frames(), 0);
    EXPECT_FALSE(source->Failed());

    EXPECT_THROW(auto s = audio::OpenCdSource(image.cuePath, 0, end + 1), ComponentError);
    EXPECT_THROW(auto s = audio::OpenCdSource(image.cuePath, -1, 10), ComponentError);
    EXPECT_THROW(auto s = audio::OpenCdSource(image.cuePath, 20, 10), ComponentError);
}

// Audio whose high bytes jump while the low bytes move smoothly looks "big-endian" to a
// guess from the data; the samples must still come back as written.
TEST(CdSource, ByteOrderIsNotGuessedFromTheMusic)
{
    QTemporaryDir dir;
    fixtures::CdImage image = fixtures::MakeCdImage(dir.path(), "disc", {1.0});
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

// The image loses its end while playing, before the first read, or entirely: what is there
// plays bit-exact, then the data ends with Failed() and without hanging.
TEST(CdSource, ImageCutShortEndsTheData)
{
    QTemporaryDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.path(), "disc", {1.0, 30.0});
    const fixtures::CdImageTrack& track = image.tracks[1];
    auto playing = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
    auto unread = audio::OpenCdSource(image.cuePath, track.firstSector, track.lastSector);
    const fixtures::Signal first = DecodeRest(*playing, 10 * CdFramesPerSector);
    ASSERT_EQ(first.Frames(), 10 * CdFramesPerSector);
    fixtures::TruncateFile(image.binPath, qint64(track.firstSector + 1000) * 2352);

    auto rest = std::async(std::launch::async, [&] { return DecodeRest(*playing); });
    ASSERT_EQ(rest.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    const fixtures::Signal after = rest.get();
    EXPECT_TRUE(playing->Failed());
    EXPECT_LT(first.Frames() + after.Frames(), playing->LengthFrames());
    ExpectSamples(
        after, image.Sectors(track.firstSector + 10, track.lastSector).first(after.samples.size()));

    ExpectSamples(DecodeRest(*unread), image.Sectors(track.firstSector, track.firstSector + 999));
    EXPECT_TRUE(unread->Failed());

    auto gone = audio::OpenCdSource(image.cuePath, 0, 10);
    fixtures::TruncateFile(image.binPath, 0);
    EXPECT_EQ(DecodeRest(*gone).Frames(), 0);
    EXPECT_TRUE(gone->Failed());
}

} // namespace
} // namespace quillet::test
