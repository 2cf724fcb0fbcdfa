// The engine through the private PulseAudio server: what the null sink's monitor captures.
#include "tests/components/audio/engine/enginerig.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/fixtures/fixtures.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <cmath>

namespace quillet::test {
namespace {

namespace fx = quillet::fixtures;

class EnginePulse : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = audio::CreateAudioEngine({});
        stops = std::make_unique<QSignalSpy>(&engine->waveOut(), &WaveOut::OnStop);
        ASSERT_GT(engine->waveOut().DeviceCount(), 0) << "the test's sound server must run";
    }
    void Play(const QString& path)
    {
        engine->waveOut().Stop();
        engine->audioFile().SetOutput("Eq");
        engine->audioFile().SetFileName(path);
        engine->waveOut().Start();
    }
    bool WaitForStops(int count, int ms = 10000)
    {
        return QTest::qWaitFor([&] { return stops->count() >= count; }, ms);
    }
    QString Counter(double seconds)
    {
        const QString path = dir.filePath("counter.wav");
        fx::WriteWav(path, fx::Counter(int64_t(seconds * 44100)));
        return path;
    }

    QTemporaryDir dir;
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<QSignalSpy> stops;
};

// Zero crossings of one channel, upward, per second.
double Frequency(const std::vector<int16_t>& s, int channel)
{
    int crossings = 0;
    for (size_t i = 2 + size_t(channel); i < s.size(); i += 2)
        crossings += s[i - 2] < 0 && s[i] >= 0;
    return crossings * 44100.0 / double(s.size() / 2);
}

int Peak(const std::vector<int16_t>& s, int channel)
{
    int peak = 0;
    for (size_t i = size_t(channel); i < s.size(); i += 2)
        peak = std::max(peak, std::abs(int(s[i])));
    return peak;
}

TEST_F(EnginePulse, AToneIsHeardAtItsLevelAndVolumeAndBalanceShapeIt)
{
    const QString path = dir.filePath("tone.wav");
    fx::WriteWav(path, fx::Tone(1000, 0.6, 44100, 2, 0.5));
    SoundCapture capture;
    ASSERT_TRUE(capture.Running());

    Play(path);
    ASSERT_TRUE(WaitForStops(1));
    QTest::qWait(100);
    std::vector<int16_t> heard = Sounding(capture.Samples());
    EXPECT_NEAR(double(heard.size() / 2), 0.6 * 44100, 600);
    EXPECT_NEAR(Frequency(heard, 0), 1000.0, 5.0);
    EXPECT_NEAR(Peak(heard, 0), 16384, 60);
    EXPECT_NEAR(Peak(heard, 1), 16384, 60);

    engine->masterVolume().SetVolume(0);
    capture.Clear();
    Play(path);
    ASSERT_TRUE(WaitForStops(2));
    QTest::qWait(100);
    EXPECT_TRUE(Sounding(capture.Samples()).empty());

    engine->masterVolume().SetVolume(32000);
    engine->masterVolume().SetBalance(16000);
    capture.Clear();
    Play(path);
    ASSERT_TRUE(WaitForStops(stops->count() + 1));
    QTest::qWait(100);
    heard = Sounding(capture.Samples());
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(Peak(heard, 0), 0);
    EXPECT_NEAR(Peak(heard, 1), 16384, 60);
}

TEST_F(EnginePulse, PauseAndSeekLoseAndRepeatNothing)
{
    const QString path = Counter(3.0);
    SoundCapture capture;
    WaveOut& out = engine->waveOut();
    Play(path);
    QTest::qWait(400);
    out.Pause();
    QTest::qWait(300);
    out.Restart();
    QTest::qWait(400);
    // The program's seek: pause, put the position, drop what is queued, resume.
    out.Pause();
    engine->audioFile().SetPosition(2000);
    out.Reset();
    out.Restart();
    ASSERT_TRUE(WaitForStops(1));
    QTest::qWait(100);

    const std::vector<int16_t> heard = Sounding(capture.Samples());
    const std::vector<int16_t> counter = Sounding(CounterSamples(0, 3 * 44100));
    // The heard sound is the file from its start up to some frame, then from 2000 ms on.
    size_t prefix = 0;
    while (prefix < heard.size() && prefix < counter.size() && heard[prefix] == counter[prefix])
        ++prefix;
    ASSERT_GT(prefix, size_t(2 * 44100 * 0.6)); // at least the 0.8 s before the seek, less latency
    const std::vector<int16_t> rest(heard.begin() + prefix, heard.end());
    const std::vector<int16_t> fromSeek = Sounding(CounterSamples(88200, 3 * 44100 - 88200));
    EXPECT_EQ(rest, fromSeek);
}

TEST_F(EnginePulse, TheEndIsToldOnceAfterTheLastSampleWasPlayed)
{
    const QString path = Counter(1.0);
    const std::vector<int16_t> counter = Sounding(CounterSamples(0, 44100));
    SoundCapture capture;
    QElapsedTimer clock;
    clock.start();
    qint64 allHeardAt = -1;
    qint64 stopAt = -1;
    QObject::connect(&engine->waveOut(), &WaveOut::OnStop, [&] { stopAt = clock.elapsed(); });
    Play(path);
    EXPECT_EQ(engine->waveOut().State(), WaveOut::Started);
    (void)QTest::qWaitFor(
        [&] {
            if (allHeardAt < 0 && Sounding(capture.Samples()).size() >= counter.size())
                allHeardAt = clock.elapsed();
            return allHeardAt >= 0 && stopAt >= 0;
        },
        5000);
    ASSERT_GE(stopAt, 0);
    ASSERT_GE(allHeardAt, 0);
    EXPECT_EQ(Sounding(capture.Samples()), counter);
    // The capture itself lags a little (its 20 ms fragments and the pipe).
    EXPECT_GE(stopAt, allHeardAt - 60);
    EXPECT_LE(stopAt, allHeardAt + 400);
    QTest::qWait(300);
    EXPECT_EQ(stops->count(), 1);
    EXPECT_EQ(engine->waveOut().State(), 0);
}

TEST_F(EnginePulse, AServerThatDiesEndsThePlayAndOneThatReturnsIsFound)
{
    struct Restart {
        ~Restart() { SoundServer("start"); }
    } restartWhateverHappens;
    const QString path = Counter(5.0);
    Play(path);
    QTest::qWait(300);
    ASSERT_TRUE(SoundServer("stop"));
    ASSERT_TRUE(WaitForStops(1, 5000));
    EXPECT_EQ(engine->waveOut().State(), 0);
    EXPECT_EQ(engine->waveOut().DeviceCount(), 0);
    EXPECT_THROW(Play(path), ComponentError);

    ASSERT_TRUE(SoundServer("start"));
    EXPECT_GT(engine->waveOut().DeviceCount(), 0);
    SoundCapture capture;
    Play(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Sounding(capture.Samples()).size() > 4410; }, 5000));
    engine->waveOut().Stop();
}

TEST_F(EnginePulse, APositionPutIsReadBackAndPlayedFrom)
{
    const QString path = Counter(3.0);
    AudioFile& file = engine->audioFile();
    WaveOut& out = engine->waveOut();
    Play(path);
    QTest::qWait(300);
    out.Pause();
    file.SetPosition(1234);
    EXPECT_EQ(file.Position(), 1234);
    out.Reset();
    EXPECT_EQ(file.Position(), 1234);
    out.Restart();
    QTest::qWait(400);
    out.Pause();
    QTest::qWait(50);
    // What has been heard since the seek, as the output counts it, is where the file stands.
    const int sinceSeek = file.Position() - 1234;
    EXPECT_GT(sinceSeek, 200);
    EXPECT_LT(sinceSeek, 600);
    out.Stop();
    EXPECT_NEAR(file.Position(), 1234 + sinceSeek, 1);
}

} // namespace
} // namespace quillet::test
