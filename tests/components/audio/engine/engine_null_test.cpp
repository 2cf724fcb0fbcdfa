// The engine on the null output: what is played, in what order the notifications come, where
// the positions stand, and what bad input leads to.
#include "tests/components/audio/engine/enginerig.h"
#include "tests/fixtures/fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>

#include <sys/stat.h>

namespace quillet::test {
namespace {

using audio::OutputKind;
namespace fx = quillet::fixtures;

QString CounterWav(const NullRig& rig, int64_t frames, int rate = 44100, int channels = 2)
{
    const QString path = rig.dir.filePath("counter.wav");
    fx::WriteWav(path, fx::Counter(frames, rate, channels));
    return path;
}

TEST(EngineNull, PlaysAFileBitExactlyAndEndsWithOneStop)
{
    NullRig rig(OutputKind::NullFast);
    const QString path = CounterWav(rig, 100000);
    WaveOut& out = rig.engine->waveOut();
    rig.PlayFile(path);
    EXPECT_EQ(rig.starts->count(), 1); // raised before Start returned
    EXPECT_EQ(rig.stops->count(), 0);
    EXPECT_EQ(out.State(), WaveOut::Started);
    out.Start(); // a second Start changes nothing
    EXPECT_EQ(rig.starts->count(), 1);

    ASSERT_TRUE(rig.WaitForStops(1));
    QTest::qWait(100);
    EXPECT_EQ(rig.stops->count(), 1);
    EXPECT_EQ(out.State(), 0);
    EXPECT_EQ(rig.Captured(), CounterSamples(0, 100000));
    EXPECT_EQ(rig.engine->audioFile().Position(), rig.engine->audioFile().Length());
    EXPECT_EQ(rig.engine->audioFile().Length(), 100000 * 1000 / 44100);
}

TEST(EngineNull, MonoIsPlayedOnBothChannelsAtItsOwnRate)
{
    NullRig rig(OutputKind::NullFast);
    const QString path = CounterWav(rig, 22050, 22050, 1);
    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForStops(1));
    const std::vector<int16_t> got = rig.Captured();
    ASSERT_EQ(got.size(), size_t(22050 * 2));
    for (size_t i = 0; i < 22050; ++i) {
        ASSERT_EQ(got[2 * i], int16_t(uint16_t(i & 0xFFFF))) << i;
        ASSERT_EQ(got[2 * i + 1], got[2 * i]) << i;
    }
    EXPECT_EQ(rig.engine->audioFile().Length(), 1000);
}

TEST(EngineNull, StopRaisesOnStopBeforeReturningAndALateEndIsDropped)
{
    NullRig rig(OutputKind::NullRealTime);
    const QString shortFile = CounterWav(rig, 2000);
    WaveOut& out = rig.engine->waveOut();
    rig.PlayFile(shortFile);
    // Let the output reach the end of the data without handling events: its end notice is
    // now queued for this thread.
    for (int i = 0; i < 200 && rig.CapturedFrames() < 2000; ++i)
        QThread::msleep(10);
    QThread::msleep(50);
    EXPECT_EQ(rig.stops->count(), 0);
    out.Stop();
    EXPECT_EQ(rig.stops->count(), 1); // from Stop itself, before it returned
    EXPECT_EQ(out.State(), 0);

    // A new play: the old play's queued end must not stop it.
    const QString longFile = rig.dir.filePath("long.wav");
    fx::WriteWav(longFile, fx::Counter(44100 * 20));
    rig.PlayFile(longFile);
    QTest::qWait(100);
    EXPECT_EQ(rig.stops->count(), 1);
    EXPECT_EQ(out.State(), WaveOut::Started);
    out.Stop();
    EXPECT_EQ(rig.stops->count(), 2);
    out.Stop(); // nothing plays: no further notice
    EXPECT_EQ(rig.stops->count(), 2);
}

TEST(EngineNull, PauseSeekResetRestartContinuesAtTheNewPlaceWithNothingStale)
{
    NullRig rig(OutputKind::NullRealTime);
    const QString path = CounterWav(rig, 44100 * 4);
    AudioFile& file = rig.engine->audioFile();
    WaveOut& out = rig.engine->waveOut();
    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForFrames(4410));
    out.Pause();
    EXPECT_EQ(out.State(), WaveOut::Started | WaveOut::Paused);
    QTest::qWait(50);
    const size_t before = rig.CapturedFrames();
    QTest::qWait(100);
    EXPECT_EQ(rig.CapturedFrames(), before); // paused: nothing flows

    file.SetPosition(3000);
    EXPECT_EQ(file.Position(), 3000); // a put is read back at once
    out.Reset();
    out.Restart();
    EXPECT_EQ(out.State(), WaveOut::Started);
    ASSERT_TRUE(rig.WaitForStops(1));

    const std::vector<int16_t> got = rig.Captured();
    const int64_t seekFrame = (3000LL * 44100 + 999) / 1000;
    ASSERT_EQ(got.size(), size_t(before + (44100 * 4 - seekFrame)) * 2);
    // Exactly the frames heard before the pause, then the file from the new place on.
    const std::vector<int16_t> head(got.begin(), got.begin() + before * 2);
    EXPECT_EQ(head, CounterSamples(0, int64_t(before)));
    const std::vector<int16_t> tail(got.begin() + before * 2, got.end());
    EXPECT_EQ(tail, CounterSamples(seekFrame, 44100 * 4 - seekFrame));
}

TEST(EngineNull, PositionsFollowWhatHasBeenHeard)
{
    NullRig rig(OutputKind::NullRealTime);
    const QString path = CounterWav(rig, 44100 * 3, 44100);
    AudioFile& file = rig.engine->audioFile();
    WaveOut& out = rig.engine->waveOut();
    EXPECT_EQ(file.FileName(), "");
    file.SetFileName(path);
    EXPECT_EQ(file.FileName(), path);
    EXPECT_EQ(file.Position(), 0);
    for (int ms : {1, 999, 1234, 2999}) // stopped: a put is read back unchanged
    {
        file.SetPosition(ms);
        EXPECT_EQ(file.Position(), ms);
    }
    file.SetPosition(500);
    file.SetOutput("Eq");
    out.Start();
    ASSERT_TRUE(rig.WaitForFrames(44100 / 2));
    out.Pause();
    QTest::qWait(30);
    // Paused: the file position is the place heard, the output's the time heard.
    const int heard = int(rig.CapturedFrames() * 1000 / 44100);
    EXPECT_NEAR(file.Position(), 500 + heard, 1);
    EXPECT_NEAR(out.Position(), heard, 1);
    file.SetPosition(100000); // beyond the end: the end
    EXPECT_EQ(file.Position(), file.Length());
    file.SetPosition(-5);
    EXPECT_EQ(file.Position(), 0);
    out.Stop();
    EXPECT_EQ(file.Position(), 0);
}

TEST(EngineNull, ALostServerEndsThePlayAndAReturningOnePlaysAgain)
{
    NullRig rig(OutputKind::NullRealTime);
    const QString path = CounterWav(rig, 44100 * 5);
    WaveOut& out = rig.engine->waveOut();
    EXPECT_EQ(out.DeviceCount(), 1);
    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForFrames(4410));
    rig.server->SetPresent(false);
    ASSERT_TRUE(rig.WaitForStops(1, 2s));
    EXPECT_EQ(out.State(), 0);
    EXPECT_EQ(out.DeviceCount(), 0);
    out.Close();
    EXPECT_THROW(rig.PlayFile(path), ComponentError);
    EXPECT_EQ(out.State(), 0);

    rig.server->SetPresent(true);
    EXPECT_EQ(out.DeviceCount(), 1);
    rig.ClearCapture();
    rig.PlayFile(path);
    EXPECT_TRUE(rig.WaitForFrames(4410));
    out.Stop();
}

TEST(EngineNull, BadFilesFailToOpenOrEndEarlyWithoutNoise)
{
    NullRig rig(OutputKind::NullFast);
    AudioFile& file = rig.engine->audioFile();
    const QString dir = rig.dir.path();

    fx::WriteRandomBytes(dir + "/random.mp3", 200000);
    fx::WriteWav(dir + "/empty.wav", fx::Tone(1000, 0.0));
    QFile(dir + "/zero.mp3").open(QIODevice::WriteOnly);
    QDir().mkdir(dir + "/x.wav");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir + "/x.mp3").constData(), 0600), 0);
    for (const char* name : {"random.mp3", "zero.mp3", "x.wav", "x.mp3", "missing.mp3"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(file.SetFileName(dir + "/" + name), ComponentError);
        EXPECT_EQ(file.Length(), 0);
    }

    // Damaged WAV files that still open: whatever plays is the file's own tone, then OnStop.
    const fx::Signal tone = fx::Tone(1000, 1.0, 44100, 2, 0.25);
    fx::WriteWav(dir + "/huge.wav", tone);
    fx::SetWavDataSizeField(dir + "/huge.wav", 0xFFFFFFF0u);
    fx::WriteWav(dir + "/cut.wav", tone);
    fx::TruncateFile(dir + "/cut.wav", 44 + 40000 * 4 + 3);
    int stops = 0;
    for (const char* name : {"huge.wav", "cut.wav", "empty.wav"}) {
        SCOPED_TRACE(name);
        rig.ClearCapture();
        try {
            rig.PlayFile(dir + "/" + name);
        } catch (const ComponentError&) {
            continue;
        }
        ASSERT_TRUE(rig.WaitForStops(++stops));
        for (int16_t s : rig.Captured())
            ASSERT_LE(std::abs(int(s)), 8193); // the tone's peak (0.25), never more
        EXPECT_LE(rig.CapturedFrames(), size_t(44100));
    }
}

TEST(EngineNull, AFileDeletedWhilePlayingPlaysOnOrEnds)
{
    NullRig rig(OutputKind::NullRealTime);
    const QString path = CounterWav(rig, 44100);
    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForFrames(2000));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(rig.WaitForStops(1, 5s));
    const std::vector<int16_t> got = rig.Captured();
    const std::vector<int16_t> expected = CounterSamples(0, int64_t(got.size() / 2));
    EXPECT_EQ(got, expected);
}

TEST(EngineNull, TheDisplayFeedReadsWhatIsHeardNow)
{
    NullRig rig(OutputKind::NullRealTime);
    const QString path = rig.dir.filePath("tone.wav");
    // Left at half scale (−6 dB), right silent.
    fx::Signal tone = fx::Tone(1000, 3.0, 44100, 2, 0.5);
    for (int64_t f = 0; f < tone.Frames(); ++f)
        tone.samples[size_t(f * 2 + 1)] = 0;
    fx::WriteWav(path, tone);
    const Connector& feed = rig.engine->connector();
    float left = 0, right = 0;
    EXPECT_FALSE(feed.Levels(left, right)); // nothing sounds yet

    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForFrames(44100 / 4));
    ASSERT_TRUE(feed.Levels(left, right));
    EXPECT_NEAR(left, -6.02f, 0.2f);
    EXPECT_LE(right, -90.0f);

    std::array<float, Connector::SpectrumBins> bins{};
    ASSERT_TRUE(feed.Spectrum(bins));
    const auto peak = std::max_element(bins.begin(), bins.end()) - bins.begin();
    EXPECT_NEAR(double(peak), 1000.0 * 512 / 44100, 1.0);

    std::vector<float> scope(441);
    ASSERT_EQ(feed.Scope(scope), 441);
    EXPECT_NEAR(*std::max_element(scope.begin(), scope.end()), 0.25f, 0.01f);

    rig.engine->waveOut().Pause();
    EXPECT_FALSE(feed.Levels(left, right));
    rig.engine->waveOut().Stop();
    EXPECT_FALSE(feed.Spectrum(bins));
}

TEST(EngineNull, VolumeAndBalanceShapeWhatIsPlayed)
{
    NullRig rig(OutputKind::NullFast);
    const QString path = rig.dir.filePath("tone.wav");
    fx::WriteWav(path, fx::Tone(1000, 0.5, 44100, 2, 0.5));
    MasterVolume& volume = rig.engine->masterVolume();

    volume.SetVolume(0);
    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForStops(1));
    for (int16_t s : rig.Captured())
        ASSERT_EQ(s, 0);

    volume.SetVolume(32000);
    volume.SetBalance(16000);
    rig.ClearCapture();
    rig.PlayFile(path);
    ASSERT_TRUE(rig.WaitForStops(2));
    const std::vector<int16_t> got = rig.Captured();
    int peakLeft = 0, peakRight = 0;
    for (size_t i = 4410 * 2; i < got.size(); i += 2) { // past the balance ramp
        peakLeft = std::max(peakLeft, std::abs(int(got[i])));
        peakRight = std::max(peakRight, std::abs(int(got[i + 1])));
    }
    EXPECT_EQ(peakLeft, 0);
    EXPECT_NEAR(peakRight, 16384, 40);
}

} // namespace
} // namespace quillet::test
