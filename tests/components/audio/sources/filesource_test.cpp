// Decoding WAV, FLAC, Ogg Vorbis, Opus and MPEG audio files: exact samples, pitch, exact
// length, seeking; audio CDs on generated CUE/BIN images: bit-exact reading and seeking, and
// the ways reading can go wrong.
#include "components/audio/sources/cddisc.h"
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"
#include "tests/support/testsupport.h"

namespace quillet::test {
namespace {

using audio::CdFramesPerSector;
using fixtures::Mp3Mode;
using fixtures::WavFormat;

// Tones keep their pitch (in WAV and FLAC their samples within the format's precision: exact
// for float) and their rate (Opus always 48 kHz); the length told at open is what decoding
// delivers: exact in WAV, MP1, tagged (gapless) MP3 and Xiph, whole frames else. In WAV, tagged
// MP3 and Xiph a seek, forwards or back, lands on its sample (also where the encoding itself
// cannot: GSM): seek-then-read equals a straight decode; beyond either end it is clamped.
// Xiph found by content (named .mp3).
TEST(FileSource, TonesKeepPitchRateAndLengthAndSeekExactly)
{
    QTemporaryDir dir;
    enum Kind { Wav, Mp1, Mp2, Mp3, Mp3Tagged, Xiph };
    using fixtures::Codec;
    struct Case {
        const char* name;
        Kind kind;
        int rate, channels;
        WavFormat wav = WavFormat::Pcm16;
        Mp3Mode mode = Mp3Mode::Vbr;
        Codec codec = Codec::Flac;
        double precision = -1; // largest difference from the tone; −1: not compared
    };
    const Case cases[] = {
        {"16-bit mono 22k", Wav, 22050, 1, WavFormat::Pcm16, {}, {}, 0.51 / 32768},
        {"24-bit 48k", Wav, 48000, 2, WavFormat::Pcm24, {}, {}, 0.51 / 8388608},
        {"float", Wav, 44100, 2, WavFormat::Float32, {}, {}, 0},
        {"GSM 6.10", Wav, 8000, 1, WavFormat::Gsm610},
        {"MP1 32k", Mp1, 32000, 2},
        {"MP2 48k", Mp2, 48000, 2},
        {"VBR untagged", Mp3, 44100, 2},
        {"CBR mono 22k", Mp3Tagged, 22050, 1, {}, Mp3Mode::Cbr},
        {"VBR 48k", Mp3Tagged, 48000, 2},
        {"FLAC 48k", Xiph, 48000, 2, WavFormat::Pcm16, {}, Codec::Flac, 0.6 / 32768},
        {"Vorbis 48k mono", Xiph, 48000, 1, {}, {}, Codec::Vorbis},
        {"Opus from 44.1k", Xiph, 44100, 2, {}, {}, Codec::Opus},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fixtures::Signal tone = fixtures::Tone(1000, 1.3, c.rate, c.channels);
        const QString wav = dir.filePath("t.wav");
        fixtures::WriteWav(wav, tone, c.wav);
        QString path = wav;
        const int decodedRate = c.kind == Xiph && c.codec == Codec::Opus ? 48000 : c.rate;
        int64_t frames = tone.Frames() * decodedRate / c.rate;
        double hz = 1000;
        if (c.kind == Mp1) {
            path = dir.filePath("t.mp1");
            frames = 384 * fixtures::WriteMp1Tone(path, 2, 1.3, c.rate, c.channels);
            hz = fixtures::Mp1ToneHz(2, c.rate);
        } else if (c.kind == Mp2) {
            fixtures::EncodeMp2(wav, path = dir.filePath("t.mp2"));
        } else if (c.kind == Mp3 || c.kind == Mp3Tagged) {
            fixtures::EncodeMp3(wav, path = dir.filePath("t.mp3"), c.mode, c.kind == Mp3Tagged);
        } else if (c.kind == Xiph) {
            fixtures::EncodeXiph(wav, path = dir.filePath("t.mp3"), c.codec);
        }
        if (c.kind == Mp3Tagged) { // tags in front and behind, a 100 KiB ID3v2 as with a picture
            fixtures::AppendId3v1(path, "Title", "Artist", "Album", "2001", "", 17);
            const QByteArray id3("ID3\x03\x00\x00\x00\x06\x20\x00", 10); // 102400, synch-safe
            WriteFile(path, id3 + QByteArray(100 * 1024, '\0') + ReadFile(path));
        }
        auto source = audio::OpenFileSource(path);
        EXPECT_EQ(source->Format().sampleRate, decodedRate);
        EXPECT_EQ(source->Format().channels, c.channels);
        const bool gsm = c.kind == Wav && c.wav == WavFormat::Gsm610; // blocks of 320 samples
        EXPECT_NEAR(double(source->LengthFrames()), double(frames),
                    c.kind == Mp2 || c.kind == Mp3 ? 2 * 1152
                    : gsm                          ? 2 * 320
                                                   : 0);
        const fixtures::Signal decoded = DecodeRest(*source);
        EXPECT_FALSE(source->Failed());
        ASSERT_EQ(decoded.Frames(), source->LengthFrames());
        for (int ch = 0; ch < c.channels; ++ch)
            EXPECT_NEAR(fixtures::MeasureHz(decoded, ch, hz), hz, 1.0);
        if (c.precision >= 0) {
            EXPECT_LE(MaxDifference(decoded, 0, tone, 0, tone.Frames()), c.precision);
        }
        if (c.kind != Wav && c.kind != Xiph && c.kind != Mp3Tagged)
            continue;
        const int64_t length = decoded.Frames();
        for (int64_t frame : {length - 1, length * 2 / 3 + 1, int64_t(1), length / 3,
                              length * 7 / 8, int64_t(0), length - 700, length / 2}) {
            source->Seek(frame);
            const int64_t n = std::min<int64_t>(600, length - frame);
            const fixtures::Signal read = DecodeRest(*source, n);
            EXPECT_EQ(read.Frames(), n);
            EXPECT_LT(MaxDifference(read, 0, decoded, frame, n), 1e-6) << "frame " << frame;
        }
        source->Seek(length + 1000);
        EXPECT_EQ(DecodeRest(*source).Frames(), 0);
        source->Seek(-5);
        EXPECT_LT(MaxDifference(DecodeRest(*source, 10), 0, decoded, 0, 10), 1e-6);
        EXPECT_FALSE(source->Failed());
    }
}

// Every decoded sample equals the BIN's 16-bit sample at the same place.
void ExpectSamples(const fixtures::Signal& decoded, std::span<const int16_t> expected)
{
    ASSERT_EQ(decoded.samples.size(), expected.size());
    for (size_t n = 0; n < expected.size(); ++n)
        ASSERT_EQ(fixtures::ToInt16(decoded.samples[n]), expected[n]) << "sample " << n;
}

// The disc's music has smooth low bytes under jumping high ones: a guess of the byte order from
// the music would take it for big-endian.
TEST(CdSource, ReadsAndSeeksBitExactAgainstTheBin)
{
    QTemporaryDir dir;
    fixtures::CdImage image = fixtures::MakeCdImage(dir.path());
    uint32_t state = 99;
    QByteArray bin;
    for (size_t n = 0; n < image.samples.size(); ++n) {
        state = state * 1664525u + 1013904223u;
        image.samples[n] = int16_t(uint16_t((n / 64 & 0xFF) | (state >> 24 << 8)));
        bin.append(char(n / 64));
        bin.append(char(state >> 24));
    }
    WriteFile(image.binPath, bin);
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

    // An image emptied before the first read (it is only read from then on) ends the data at
    // once with Failed(), without hanging.
    auto gone = audio::OpenCdSource(image.cuePath, 0, 10);
    fixtures::TruncateFile(image.binPath, 0);
    EXPECT_EQ(DecodeRest(*gone).Frames(), 0);
    EXPECT_TRUE(gone->Failed());
}

} // namespace
} // namespace quillet::test
