// The engine through the private PulseAudio server: what the null sink's monitor captures.
#include "tests/components/audio/engine/enginerig.h"
#include "tests/components/audio/engine/soundcapture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>

namespace quillet::test {
namespace {

namespace fx = quillet::fixtures;

class EnginePulse : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GT(out.DeviceCount(), 0) << "the test's sound server must run"; }
    // Plays a file to its end; what was heard of it.
    std::vector<int16_t> PlayToEnd(const QString& path, SoundCapture& capture)
    {
        capture.Clear();
        const int count = rig.stops->count();
        rig.PlayFile(path);
        EXPECT_TRUE(rig.WaitForStops(count + 1));
        QTest::qWait(100); // the capture's own lag
        return Sounding(capture.Samples());
    }
    static bool WaitForHeard(SoundCapture& capture, size_t frames)
    {
        return QTest::qWaitFor([&] { return Sounding(capture.Samples()).size() >= 2 * frames; },
                               5000);
    }

    EngineRig rig{audio::OutputKind::Pulse};
    WaveOut& out = rig.engine->waveOut();
};

TEST_F(EnginePulse, AToneIsHeardAtItsLevelAndVolumeAndBalanceShapeIt)
{
    const QString path = rig.WriteWav(fx::Tone(1000, 0.6, 44100, 2, 0.5));
    SoundCapture capture;
    ASSERT_TRUE(capture.Running());
    const auto Peak = [](const std::vector<int16_t>& s, size_t channel) {
        int peak = 0;
        for (size_t i = channel; i < s.size(); i += 2)
            peak = std::max(peak, std::abs(int(s[i])));
        return peak;
    };
    std::vector<int16_t> heard = PlayToEnd(path, capture);
    EXPECT_NEAR(double(heard.size() / 2), 0.6 * 44100, 600);
    int crossings = 0; // upward, left channel
    for (size_t i = 2; i < heard.size(); i += 2)
        crossings += heard[i - 2] < 0 && heard[i] >= 0;
    EXPECT_NEAR(crossings * 44100.0 / double(heard.size() / 2), 1000.0, 5.0);
    EXPECT_NEAR(Peak(heard, 0), 16384, 60);
    EXPECT_NEAR(Peak(heard, 1), 16384, 60);

    // A new stream starts at the volume set: not even a burst at volume 0.
    rig.engine->masterVolume().SetVolume(0);
    EXPECT_TRUE(PlayToEnd(path, capture).empty());

    rig.engine->masterVolume().SetVolume(32000);
    rig.engine->masterVolume().SetBalance(16000);
    heard = PlayToEnd(path, capture);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(Peak(heard, 0), 0);
    EXPECT_NEAR(Peak(heard, 1), 16384, 60);
}

TEST_F(EnginePulse, PauseAndSeekLoseAndRepeatNothingAndTheEndIsToldOnceAfterTheLastSample)
{
    const std::vector<int16_t> counter = CounterSamples(0, 3 * 44100);
    const QString path = rig.WriteWav(fx::Counter(3 * 44100));
    SoundCapture capture;
    rig.PlayFile(path);
    EXPECT_EQ(rig.starts->count(), 1); // before Start returned
    out.Start();                       // a second Start changes nothing
    EXPECT_EQ(rig.starts->count(), 1);
    EXPECT_EQ(out.State(), WaveOut::Started);
    ASSERT_TRUE(WaitForHeard(capture, 44100 / 4));
    out.Pause();
    QTest::qWait(150);
    const size_t paused = Sounding(capture.Samples()).size();
    QTest::qWait(200);
    EXPECT_EQ(Sounding(capture.Samples()).size(), paused); // paused: nothing flows
    out.Restart();
    ASSERT_TRUE(WaitForHeard(capture, 44100 * 8 / 10));
    // The program's seek: pause, put the position, drop what is queued, resume.
    out.Pause();
    rig.engine->audioFile().SetPosition(2000);
    out.Reset();
    out.Restart();

    QElapsedTimer clock;
    clock.start();
    qint64 allHeardAt = -1;
    qint64 stopAt = -1;
    QObject::connect(&out, &WaveOut::OnStop, [&] { stopAt = clock.elapsed(); });
    (void)QTest::qWaitFor(
        [&] {
            const std::vector<int16_t> heard = Sounding(capture.Samples());
            if (allHeardAt < 0 && heard.size() >= 44100 * 34 / 10 && heard.back() == counter.back())
                allHeardAt = clock.elapsed();
            return allHeardAt >= 0 && stopAt >= 0;
        },
        5000);
    ASSERT_GE(stopAt, 0);
    ASSERT_GE(allHeardAt, 0);
    // The capture itself lags a little (its 20 ms fragments and the pipe).
    EXPECT_GE(stopAt, allHeardAt - 60);
    EXPECT_LE(stopAt, allHeardAt + 400);
    QTest::qWait(300);
    EXPECT_EQ(rig.stops->count(), 1);
    EXPECT_EQ(out.State(), 0);

    // The heard sound is the file from its start up to some frame, then from 2000 ms on.
    const std::vector<int16_t> heard = Sounding(capture.Samples());
    const auto prefix = std::ranges::mismatch(heard, counter).in1;
    ASSERT_GE(prefix - heard.begin(), 2 * 44100 * 8 / 10);
    EXPECT_EQ(std::vector<int16_t>(prefix, heard.end()), CounterSamples(88200, 44100));
}

// A server that stops answering (stopped, not gone) is waited for once; after that, asking for
// devices or playing answers at once (none, refused) instead of holding the window for the
// server's full wait on every Play. One that dies ends the play. Either way, once it answers
// again it is found and heard.
TEST_F(EnginePulse, AFrozenOrDeadServerIsFoundAndHeardWhenItReturns)
{
    struct Restore {
        ~Restore()
        {
            SoundServer("thaw");
            SoundServer("start");
        }
    } restoreWhateverHappens;
    const QString path = rig.WriteWav(fx::Counter(5 * 44100));
    const auto expectFoundAndHeard = [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return out.DeviceCount() > 0; }, 5000));
        SoundCapture capture;
        rig.PlayFile(path);
        EXPECT_TRUE(WaitForHeard(capture, 2205));
    };
    ASSERT_TRUE(SoundServer("freeze"));
    EXPECT_EQ(out.DeviceCount(), 0);
    QElapsedTimer again;
    again.start();
    EXPECT_EQ(out.DeviceCount(), 0);
    EXPECT_THROW(rig.PlayFile(path), ComponentError);
    EXPECT_LT(again.elapsed(), 3000); // less than one of the server's waits, for both
    ASSERT_TRUE(SoundServer("thaw"));
    expectFoundAndHeard();

    ASSERT_TRUE(SoundServer("stop"));
    ASSERT_TRUE(rig.WaitForStops(1, 5s));
    EXPECT_EQ(out.State(), 0);
    EXPECT_EQ(out.DeviceCount(), 0);
    EXPECT_THROW(rig.PlayFile(path), ComponentError);
    ASSERT_TRUE(SoundServer("start"));
    expectFoundAndHeard();
    out.Stop();
    EXPECT_EQ(rig.stops->count(), 2); // before Stop returned
}

} // namespace
} // namespace quillet::test
