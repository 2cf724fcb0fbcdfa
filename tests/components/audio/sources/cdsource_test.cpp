// Audio CD sources on generated CUE/BIN images: bit-exact reading and seeking, and the ways
// reading can go wrong.
#include "components/audio/sources/cddisc.h"
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"
#include "tests/support/testsupport.h"

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

// An image emptied before the first read (the disc is only read from then on): the data ends
// at once with Failed(), without hanging.
TEST(CdSource, AnImageGoneBeforeTheFirstReadEndsTheData)
{
    QTemporaryDir dir;
    const fixtures::CdImage image = fixtures::MakeCdImage(dir.path(), "disc", {1.0});
    auto gone = audio::OpenCdSource(image.cuePath, 0, 10);
    fixtures::TruncateFile(image.binPath, 0);
    EXPECT_EQ(DecodeRest(*gone).Frames(), 0);
    EXPECT_TRUE(gone->Failed());
}

} // namespace
} // namespace quillet::test
