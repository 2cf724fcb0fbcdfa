// MPEG audio decoding: pitch of layer I, II and III tones, exact gapless length, seeking.
#include "tests/components/audio/sources/decodehelpers.h"

#include <QFile>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

using fixtures::Mp3Mode;

struct Mp3Case {
    Mp3Mode mode;
    bool withTag;
    int rate;
    int channels;
};

class Mp3Tone : public ::testing::TestWithParam<Mp3Case> {};

TEST_P(Mp3Tone, DecodesToTheTonesPitchAndLength)
{
    const Mp3Case c = GetParam();
    ScratchDir dir;
    const fixtures::Signal tone = fixtures::Tone(1000, 1.3, c.rate, c.channels);
    fixtures::WriteWav(dir.File("t.wav"), tone);
    fixtures::EncodeMp3(dir.File("t.wav"), dir.File("t.mp3"), c.mode, c.withTag);

    auto source = audio::OpenFileSource(dir.File("t.mp3"));
    EXPECT_EQ(source->Format().sampleRate, c.rate);
    EXPECT_EQ(source->Format().channels, c.channels);
    const int64_t length = source->LengthFrames();
    const fixtures::Signal decoded = DecodeRest(*source);
    EXPECT_FALSE(source->Failed());
    // The length told at open is what decoding delivers.
    EXPECT_EQ(decoded.Frames(), length);
    if (c.withTag) // gapless: encoder delay and padding removed
        EXPECT_EQ(length, tone.Frames());
    else // whole frames, with the encoder's delay and padding
        EXPECT_NEAR(double(length), double(tone.Frames()), 2 * 1152.0);
    for (int ch = 0; ch < c.channels; ++ch)
        EXPECT_NEAR(fixtures::MeasureHz(decoded, ch, 1000), 1000, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, Mp3Tone,
    ::testing::Values(Mp3Case{Mp3Mode::Cbr, true, 44100, 2}, Mp3Case{Mp3Mode::Cbr, false, 44100, 2},
                      Mp3Case{Mp3Mode::Vbr, true, 44100, 2}, Mp3Case{Mp3Mode::Vbr, false, 44100, 2},
                      Mp3Case{Mp3Mode::Cbr, true, 22050, 1}, Mp3Case{Mp3Mode::Vbr, true, 48000, 2}),
    [](const ::testing::TestParamInfo<Mp3Case>& info) {
        const Mp3Case& c = info.param;
        return std::string(c.mode == Mp3Mode::Cbr ? "Cbr" : "Vbr") +
               (c.withTag ? "Tagged_" : "Untagged_") + std::to_string(c.rate) + "Hz_" +
               std::to_string(c.channels) + "ch";
    });

TEST(MpegSource, GaplessMp3LinesUpWithTheOriginal)
{
    ScratchDir dir;
    const fixtures::Signal sweep = fixtures::Sweep(200, 2000, 1.0, 44100, 2, 0.5);
    fixtures::WriteWav(dir.File("s.wav"), sweep);
    fixtures::EncodeMp3(dir.File("s.wav"), dir.File("s.mp3"));
    const fixtures::Signal decoded = DecodeFile(dir.File("s.mp3"));
    ASSERT_EQ(decoded.Frames(), sweep.Frames());
    // No delay: the decoded sweep follows the original closely from the very start.
    EXPECT_LT(MaxDifference(decoded, 2000, sweep, 2000, sweep.Frames() - 4000), 0.05);
}

TEST(MpegSource, SeekThenReadEqualsAStraightDecode)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("n.wav"), fixtures::PinkNoise(2.0));
    fixtures::EncodeMp3(dir.File("n.wav"), dir.File("n.mp3"), Mp3Mode::Vbr);
    const fixtures::Signal straight = DecodeFile(dir.File("n.mp3"));

    auto source = audio::OpenFileSource(dir.File("n.mp3"));
    for (int64_t frame : {int64_t(44100), int64_t(1153), int64_t(0), int64_t(80000)}) {
        source->Seek(frame);
        const fixtures::Signal part = DecodeRest(*source, 3000);
        ASSERT_EQ(part.Frames(), 3000);
        EXPECT_LT(MaxDifference(part, 0, straight, frame, 3000), 1e-6) << "frame " << frame;
    }
    source->Seek(straight.Frames() - 10);
    EXPECT_EQ(DecodeRest(*source).Frames(), 10);
    EXPECT_FALSE(source->Failed());
}

TEST(MpegSource, LayerTwoToneFromTwolame)
{
    ScratchDir dir;
    for (int rate : {44100, 48000}) {
        const fixtures::Signal tone = fixtures::Tone(660, 1.0, rate, 2);
        fixtures::WriteWav(dir.File("t.wav"), tone);
        fixtures::EncodeMp2(dir.File("t.wav"), dir.File("t.mp2"));
        auto source = audio::OpenFileSource(dir.File("t.mp2"));
        EXPECT_EQ(source->Format().sampleRate, rate);
        EXPECT_EQ(source->LengthFrames() % 1152, 0);
        EXPECT_NEAR(double(source->LengthFrames()), double(tone.Frames()), 2 * 1152.0);
        const fixtures::Signal decoded = DecodeRest(*source);
        EXPECT_EQ(decoded.Frames(), source->LengthFrames());
        EXPECT_NEAR(fixtures::MeasureHz(decoded, 0, 660), 660, 1.0) << rate;
    }
}

TEST(MpegSource, LayerOneSubbandTone)
{
    ScratchDir dir;
    struct Case {
        int subband, rate, channels;
    };
    for (const Case c : {Case{2, 44100, 2}, Case{5, 48000, 1}, Case{1, 32000, 2}}) {
        const int frames =
            fixtures::WriteMp1Tone(dir.File("t.mp1"), c.subband, 1.0, c.rate, c.channels);
        auto source = audio::OpenFileSource(dir.File("t.mp1"));
        EXPECT_EQ(source->Format().sampleRate, c.rate);
        EXPECT_EQ(source->Format().channels, c.channels);
        EXPECT_EQ(source->LengthFrames(), int64_t(frames) * 384);
        const fixtures::Signal decoded = DecodeRest(*source);
        const double hz = fixtures::Mp1ToneHz(c.subband, c.rate);
        EXPECT_NEAR(fixtures::MeasureHz(decoded, 0, hz), hz, 1.0) << c.rate;
    }
}

TEST(MpegSource, ChosenByContentNotByName)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("t.wav"), fixtures::Tone(1000, 0.5));
    fixtures::EncodeMp3(dir.File("t.wav"), dir.File("really-mpeg.wav"));
    fixtures::WriteWav(dir.File("really-wave.mp3"), fixtures::Counter(1000));

    EXPECT_EQ(audio::OpenFileSource(dir.File("really-mpeg.wav"))->LengthFrames(), 22050);
    const fixtures::Signal wave = DecodeFile(dir.File("really-wave.mp3"));
    ASSERT_EQ(wave.Frames(), 1000);
    EXPECT_EQ(fixtures::ToInt16(wave.samples[1999]), fixtures::CounterValue(1999));
}

TEST(MpegSource, TagsAroundTheStreamAreSkipped)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("t.wav"), fixtures::Tone(1000, 0.5));
    fixtures::EncodeMp3(dir.File("t.wav"), dir.File("t.mp3"));
    fixtures::AppendId3v1(dir.File("t.mp3"), "Title", "Artist", "Album", "2001", "", 17);
    // An ID3v2 tag of 100 KiB (as with embedded pictures) in front of the stream.
    const int tagBody = 100 * 1024;
    QByteArray id3 = QByteArray("ID3\x03\x00\x00", 6);
    for (int shift : {21, 14, 7, 0})
        id3.append(char((tagBody >> shift) & 0x7F));
    id3.append(QByteArray(tagBody, '\0'));
    QFile in(dir.File("t.mp3"));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QFile out(dir.File("v2.mp3"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(id3 + in.readAll());
    out.close();

    for (const char* name : {"t.mp3", "v2.mp3"}) {
        const fixtures::Signal decoded = DecodeFile(dir.File(name));
        EXPECT_EQ(decoded.Frames(), 22050) << name;
        EXPECT_NEAR(fixtures::MeasureHz(decoded, 0, 1000), 1000, 1.0) << name;
    }
}

} // namespace
} // namespace quillet::test
