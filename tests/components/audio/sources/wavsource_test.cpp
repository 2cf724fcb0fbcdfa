// WAV decoding: exact samples in every format, exact length, sample-exact seeking.
#include "tests/components/audio/sources/decodehelpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quillet::test {
namespace {

using fixtures::WavFormat;

struct WavCase {
    WavFormat format;
    int rate;
    int channels;
};

class WavCounter : public ::testing::TestWithParam<WavCase> {};

std::string WavCaseName(const ::testing::TestParamInfo<WavCase>& info)
{
    static const char* const Names[] = {"Pcm8", "Pcm16", "Pcm24", "Float"};
    const WavCase& c = info.param;
    return std::string(Names[int(c.format)]) + "_" + std::to_string(c.rate) + "Hz_" +
           std::to_string(c.channels) + "ch";
}

// Every sample comes back at its place with its value: nothing lost, repeated or misplaced,
// and the integer → float scaling is exact (16-bit → float → 16-bit is the identity).
TEST_P(WavCounter, DecodesEverySampleExactly)
{
    const WavCase c = GetParam();
    ScratchDir dir;
    const int64_t frames = c.rate + 123; // a second and a bit, not a block multiple
    fixtures::WriteWav(dir.File("counter.wav"), fixtures::Counter(frames, c.rate, c.channels),
                       c.format);

    auto source = audio::OpenFileSource(dir.File("counter.wav"));
    EXPECT_EQ(source->Format().sampleRate, c.rate);
    EXPECT_EQ(source->Format().channels, c.channels);
    EXPECT_EQ(source->LengthFrames(), frames);
    const fixtures::Signal decoded = DecodeRest(*source, -1, 777);
    EXPECT_FALSE(source->Failed());
    ASSERT_EQ(decoded.Frames(), frames);
    for (size_t n = 0; n < decoded.samples.size(); ++n)
        ASSERT_EQ(fixtures::ToInt16(decoded.samples[n]), fixtures::CounterValue(int64_t(n)))
            << "sample " << n;
}

INSTANTIATE_TEST_SUITE_P(Formats, WavCounter,
                         ::testing::Values(WavCase{WavFormat::Pcm16, 44100, 2},
                                           WavCase{WavFormat::Pcm16, 22050, 1},
                                           WavCase{WavFormat::Pcm24, 48000, 2},
                                           WavCase{WavFormat::Float32, 44100, 2}),
                         WavCaseName);

// 8-bit and companded files: pitch and level survive within the format's precision.
TEST(WavSource, CoarseFormatsKeepPitchAndLevel)
{
    ScratchDir dir;
    struct Case {
        WavFormat format;
        int rate;
        double tolerance;
    };
    for (const Case c : {Case{WavFormat::Pcm8, 22050, 1.0 / 128}, Case{WavFormat::ALaw, 8000, 0.02},
                         Case{WavFormat::MuLaw, 11025, 0.02}}) {
        const fixtures::Signal tone = fixtures::Tone(1000, 0.5, c.rate, 1, 0.5);
        fixtures::WriteWav(dir.File("t.wav"), tone, c.format);
        auto source = audio::OpenFileSource(dir.File("t.wav"));
        EXPECT_EQ(source->Format().sampleRate, c.rate);
        EXPECT_EQ(source->LengthFrames(), tone.Frames());
        const fixtures::Signal decoded = DecodeRest(*source);
        ASSERT_EQ(decoded.Frames(), tone.Frames());
        EXPECT_EQ(decoded.channels, 1);
        EXPECT_NEAR(fixtures::MeasureHz(decoded, 0, 1000), 1000, 1.0) << c.rate;
        EXPECT_LE(MaxDifference(decoded, 0, tone, 0, tone.Frames()), c.tolerance) << c.rate;
    }
}

TEST(WavSource, SeekThenReadContinuesAtThatFrame)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("c.wav"), fixtures::Counter(50000));
    auto source = audio::OpenFileSource(dir.File("c.wav"));
    for (int64_t frame : {int64_t(31415), int64_t(0), int64_t(49999), int64_t(7)}) {
        source->Seek(frame);
        float pair[2];
        ASSERT_EQ(source->Read(pair, 1), 1u) << frame;
        EXPECT_EQ(fixtures::ToInt16(pair[0]), fixtures::CounterValue(frame * 2));
        EXPECT_EQ(fixtures::ToInt16(pair[1]), fixtures::CounterValue(frame * 2 + 1));
    }
    // Beyond the end is clamped to the end: nothing more to read, and no failure.
    source->Seek(1'000'000);
    float pair[2];
    EXPECT_EQ(source->Read(pair, 1), 0u);
    EXPECT_FALSE(source->Failed());
    source->Seek(-5);
    ASSERT_EQ(source->Read(pair, 1), 1u);
    EXPECT_EQ(fixtures::ToInt16(pair[0]), 0);
}

TEST(WavSource, LengthIsTheFileDuration)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("s.wav"), fixtures::Sweep(50, 15000, 2.5, 48000, 2));
    auto source = audio::OpenFileSource(dir.File("s.wav"));
    EXPECT_NEAR(double(source->LengthFrames()) / 48000.0, 2.5, 0.001);
}

TEST(WavSource, FloatFileWithNanOrInfinityReadsThemAsSilence)
{
    ScratchDir dir;
    fixtures::Signal s = fixtures::Tone(440, 0.1, 44100, 1);
    s.samples[10] = std::nanf("");
    s.samples[11] = INFINITY;
    fixtures::WriteWav(dir.File("f.wav"), s, WavFormat::Float32);
    const fixtures::Signal decoded = DecodeFile(dir.File("f.wav"));
    ASSERT_EQ(decoded.Frames(), s.Frames());
    EXPECT_EQ(decoded.samples[10], 0.0f);
    EXPECT_EQ(decoded.samples[11], 0.0f);
    EXPECT_EQ(decoded.samples[12], s.samples[12]);
}

} // namespace
} // namespace quillet::test
