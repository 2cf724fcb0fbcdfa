// Files that are not what their names say, damaged, or changed while open: each gives
// ComponentError or an early end; never a crash, a hang or noise.
#include "playback/audioengine.h"
#include "tests/components/audio/sources/decodehelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::test {
namespace {

// Every decoded sample is a number in a sane range.
void WriteEmpty(const QString& path)
{
    fixtures::WriteRandomBytes(path, 0);
}

bool AllFinite(const fixtures::Signal& s)
{
    for (float x : s.samples)
        if (!std::isfinite(x) || std::abs(x) > 4)
            return false;
    return true;
}

TEST(BadInput, RandomBytesAreNotMpegAudio)
{
    ScratchDir dir;
    for (qint64 size : {qint64(3), qint64(417), qint64(65536), qint64(1 << 20)}) {
        for (uint32_t seed : {1u, 2u, 3u}) {
            fixtures::WriteRandomBytes(dir.File("noise.mp3"), size, seed);
            EXPECT_THROW(auto s = audio::OpenFileSource(dir.File("noise.mp3")), ComponentError)
                << size << " bytes, seed " << seed;
        }
    }
}

TEST(BadInput, WhatIsNotARegularFileFailsAtOnce)
{
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.File("pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(dir.File("folder.mp3")));

    for (const QString& path : {dir.File("pipe.mp3"), dir.File("folder.mp3"), QString("/dev/zero"),
                                dir.File("missing.mp3"), QString()}) {
        auto attempt = std::async(std::launch::async, [path] {
            try {
                auto s = audio::OpenFileSource(path);
            } catch (const ComponentError&) {
                return true;
            }
            return false;
        });
        if (attempt.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            // Release a reader stuck on the FIFO so that the test can report instead of hang.
            ::close(
                ::open(QFile::encodeName(dir.File("pipe.mp3")).constData(), O_WRONLY | O_NONBLOCK));
            FAIL() << "blocked on " << path.toStdString();
        }
        EXPECT_TRUE(attempt.get()) << path.toStdString();
    }
}

TEST(BadInput, EmptyAndHeaderOnlyFiles)
{
    ScratchDir dir;
    WriteEmpty(dir.File("empty.mp3"));
    WriteEmpty(dir.File("empty.wav"));
    EXPECT_THROW(auto s = audio::OpenFileSource(dir.File("empty.mp3")), ComponentError);
    EXPECT_THROW(auto s = audio::OpenFileSource(dir.File("empty.wav")), ComponentError);

    // Cut inside the header: not decodable.
    fixtures::WriteWav(dir.File("short.wav"), fixtures::Counter(100));
    fixtures::TruncateFile(dir.File("short.wav"), 20);
    EXPECT_THROW(auto s = audio::OpenFileSource(dir.File("short.wav")), ComponentError);

    // A complete header and no samples: either refused or an empty stream.
    fixtures::WriteWav(dir.File("none.wav"), fixtures::Counter(0));
    try {
        auto source = audio::OpenFileSource(dir.File("none.wav"));
        EXPECT_EQ(source->LengthFrames(), 0);
        float frame[2];
        EXPECT_EQ(source->Read(frame, 1), 0u);
    } catch (const ComponentError&) {
    }
}

// The samples that are there come back exactly; nothing is invented after them.
void ExpectCounterPrefix(const QString& path, int64_t atMostFrames)
{
    try {
        auto source = audio::OpenFileSource(path);
        EXPECT_LE(source->LengthFrames(), atMostFrames);
        const fixtures::Signal decoded = DecodeRest(*source);
        EXPECT_LE(decoded.Frames(), source->LengthFrames());
        for (size_t n = 0; n < decoded.samples.size(); ++n)
            ASSERT_EQ(fixtures::ToInt16(decoded.samples[n]), fixtures::CounterValue(int64_t(n)));
        float frame[2];
        EXPECT_EQ(source->Read(frame, 1), 0u);
    } catch (const ComponentError&) {
    }
}

TEST(BadInput, WavSizesThatLie)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("huge.wav"), fixtures::Counter(1000));
    fixtures::SetWavDataSizeField(dir.File("huge.wav"), 0xFFFFFFF0u); // "4 GB"
    ExpectCounterPrefix(dir.File("huge.wav"), 1000);

    fixtures::WriteWav(dir.File("cut.wav"), fixtures::Counter(1000));
    fixtures::TruncateFile(dir.File("cut.wav"), 44 + 4 * 600 + 3); // mid-frame
    ExpectCounterPrefix(dir.File("cut.wav"), 1000);
}

TEST(BadInput, DamagedMp3DecodesWhatIsThere)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("t.wav"), fixtures::Tone(1000, 2.0));
    fixtures::EncodeMp3(dir.File("t.wav"), dir.File("t.mp3"));
    const qint64 size = QFileInfo(dir.File("t.mp3")).size();

    QFile::copy(dir.File("t.mp3"), dir.File("half.mp3"));
    fixtures::TruncateFile(dir.File("half.mp3"), size / 2);
    const fixtures::Signal half = DecodeFile(dir.File("half.mp3"));
    EXPECT_GT(half.Frames(), 30000);
    EXPECT_LT(half.Frames(), 60000);
    EXPECT_TRUE(AllFinite(half));

    // Junk in the middle: at least everything before it plays, the length told matches
    // what is delivered, and the junk is never decoded as sound of another format.
    QFile::copy(dir.File("t.mp3"), dir.File("hole.mp3"));
    fixtures::CorruptFile(dir.File("hole.mp3"), size / 3, 3000);
    auto source = audio::OpenFileSource(dir.File("hole.mp3"));
    EXPECT_EQ(source->Format().sampleRate, 44100);
    const fixtures::Signal hole = DecodeRest(*source);
    EXPECT_GT(hole.Frames(), 88200 / 3 - 3 * 1152);
    EXPECT_LE(hole.Frames(), source->LengthFrames());
    EXPECT_TRUE(AllFinite(hole));
}

TEST(BadInput, FileRemovedOrReplacedWhileOpenPlaysOn)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("c.wav"), fixtures::Counter(20000));
    auto source = audio::OpenFileSource(dir.File("c.wav"));
    const fixtures::Signal first = DecodeRest(*source, 5000);
    ASSERT_TRUE(QFile::remove(dir.File("c.wav")));
    fixtures::WriteWav(dir.File("c.wav"), fixtures::Tone(440, 0.1)); // a new file, same name
    const fixtures::Signal rest = DecodeRest(*source);
    EXPECT_EQ(first.Frames() + rest.Frames(), 20000);
    EXPECT_EQ(fixtures::ToInt16(rest.samples[0]), fixtures::CounterValue(10000));
    EXPECT_FALSE(source->Failed());
}

TEST(BadInput, FileCutShortWhileOpenEndsEarly)
{
    ScratchDir dir;
    fixtures::WriteWav(dir.File("c.wav"), fixtures::Counter(20000));
    fixtures::WriteWav(dir.File("t.wav"), fixtures::Tone(1000, 1.0));
    fixtures::EncodeMp3(dir.File("t.wav"), dir.File("t.mp3"));

    for (const char* name : {"c.wav", "t.mp3"}) {
        auto source = audio::OpenFileSource(dir.File(name));
        const fixtures::Signal first = DecodeRest(*source, 2000);
        fixtures::TruncateFile(dir.File(name), 2000);
        const fixtures::Signal rest = DecodeRest(*source);
        EXPECT_LT(first.Frames() + rest.Frames(), source->LengthFrames()) << name;
        EXPECT_TRUE(AllFinite(rest)) << name;
        float frame[2];
        EXPECT_EQ(source->Read(frame, 1), 0u) << name;
    }
}

} // namespace
} // namespace quillet::test
