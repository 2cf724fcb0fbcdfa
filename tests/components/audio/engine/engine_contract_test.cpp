// What the program relies on from the engine for gapless joins, run against the real engine
// (null output, in real time) and against the fake the program's own tests use, so that the
// fake cannot drift from the engine.
#include "tests/components/audio/engine/enginerig.h"
#include "tests/support/fakeengine.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <functional>

namespace quillet::test {
namespace {

namespace fx = quillet::fixtures;

// One engine with two files of one format that follow each other (a, then b of 300 ms) and a
// file of another rate.
class World {
public:
    virtual ~World() = default;
    [[nodiscard]] virtual AudioEngine& Engine() = 0;
    virtual void Decoded() = 0;        // the file that plays has been decoded to its end
    virtual void Advance() = 0;        // the join is heard, or the play ends
    virtual void ExpectHeardWhole() {} // a followed by b, every sample once

    void Play(const QString& path)
    {
        Engine().audioFile().SetOutput("Eq");
        Engine().audioFile().SetFileName(path);
        Engine().waveOut().Start();
        decodedSeen = int(decoded->count());
        endsSeen = int(stops->count() + joins->count());
    }
    void Spy()
    {
        stops = std::make_unique<QSignalSpy>(&Engine().waveOut(), &WaveOut::OnStop);
        joins = std::make_unique<QSignalSpy>(&Engine().waveOut(), &WaveOut::OnNextStarted);
        decoded = std::make_unique<QSignalSpy>(&Engine().waveOut(), &WaveOut::OnSourceDecoded);
    }

    QString a, b, other;
    std::unique_ptr<QSignalSpy> stops, joins, decoded;
    int decodedSeen = 0; // notices of this play the test has waited for
    int endsSeen = 0;
};

constexpr int64_t FramesA = 26460, FramesB = 13230; // 0.6 s and 0.3 s at 44.1 kHz

class RealWorld : public World {
public:
    RealWorld()
    {
        // One counter cut in two: heard whole, it counts on across the join.
        const fx::Signal whole = fx::Counter(FramesA + FramesB);
        fx::Signal first = whole, second = whole;
        first.samples.resize(FramesA * 2);
        second.samples.erase(second.samples.begin(), second.samples.begin() + FramesA * 2);
        a = m_rig.WriteWav(first, "a.wav");
        b = m_rig.WriteWav(second, "b.wav");
        other = m_rig.WriteWav(fx::Tone(440, 0.3, 22050), "other.wav");
        Spy();
    }
    AudioEngine& Engine() override { return *m_rig.engine; }
    // A notice may have come already (a short file's end is told right after its start).
    void Decoded() override
    {
        const int seen = decodedSeen++;
        EXPECT_TRUE(QTest::qWaitFor([&] { return decoded->count() > seen; }, 5000));
    }
    void Advance() override
    {
        const int seen = endsSeen++;
        EXPECT_TRUE(QTest::qWaitFor([&] { return stops->count() + joins->count() > seen; }, 5000));
    }
    void ExpectHeardWhole() override
    {
        EXPECT_EQ(m_rig.Captured(), CounterSamples(0, FramesA + FramesB));
    }

private:
    EngineRig m_rig{audio::OutputKind::NullRealTime};
};

class FakeWorld : public World {
public:
    FakeWorld()
    {
        a = "/m/a.wav", b = "/m/b.wav", other = "/m/other.wav";
        m_engine.file.lengths = {{a, 600}, {b, 300}, {other, 300}};
        m_engine.file.otherFormat = {other};
        Spy();
    }
    AudioEngine& Engine() override { return m_engine; }
    void Decoded() override
    {
        m_engine.out.Decoded();
        QCoreApplication::sendPostedEvents();
    }
    void Advance() override
    {
        m_engine.out.Finish();
        QCoreApplication::sendPostedEvents();
    }

private:
    FakeEngine m_engine;
};

using MakeWorld = std::function<std::unique_ptr<World>()>;

class GaplessContract : public ::testing::TestWithParam<MakeWorld> {
protected:
    std::unique_ptr<World> w = GetParam()();
    AudioFile& file = w->Engine().audioFile();
    WaveOut& out = w->Engine().waveOut();
};

// A prepared file follows in the same play and is the source once heard; cancel, pause, seek
// and stop drop it.
TEST_P(GaplessContract, APreparedFileFollowsInTheSamePlayUnlessDropped)
{
    w->Play(w->a);
    w->Decoded();
    EXPECT_FALSE(file.PrepareNext(w->other)); // another rate: reopened at the end instead
    EXPECT_TRUE(file.PrepareNext(w->b));
    EXPECT_EQ(file.FileName(), w->a);
    w->Advance();
    EXPECT_EQ(w->joins->count(), 1);
    EXPECT_EQ(w->stops->count(), 0);
    EXPECT_EQ(out.State(), WaveOut::Started);
    EXPECT_EQ(file.FileName(), w->b);
    EXPECT_EQ(file.Length(), 300);
    w->Decoded(); // b's own end is told too; nothing prepared: the play ends there
    w->Advance();
    EXPECT_EQ(w->stops->count(), 1);
    EXPECT_EQ(w->joins->count(), 1);
    w->ExpectHeardWhole();
    EXPECT_FALSE(file.PrepareNext(w->b)); // nothing plays

    const std::vector<std::pair<const char*, std::function<void()>>> drops = {
        {"cancel", [&] { EXPECT_TRUE(file.CancelNext()); }},
        {"pause", [&] { out.Pause(), out.Restart(); }},
        {"seek", [&] { out.Pause(), file.SetPosition(300), out.Reset(), out.Restart(); }},
        {"stop", [&] { out.Stop(); }},
    };
    int stops = 1;
    for (const auto& [name, drop] : drops) {
        SCOPED_TRACE(name);
        w->Play(w->a);
        w->Decoded();
        ASSERT_TRUE(file.PrepareNext(w->b));
        drop();
        if (out.State() != 0)
            w->Advance();
        EXPECT_EQ(w->stops->count(), ++stops);
        EXPECT_EQ(w->joins->count(), 1);
        EXPECT_EQ(file.FileName(), w->a);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, GaplessContract,
                         ::testing::Values(MakeWorld([] { return std::make_unique<RealWorld>(); }),
                                           MakeWorld([] { return std::make_unique<FakeWorld>(); })),
                         [](const auto& info) { return info.index == 0 ? "Real" : "Fake"; });

} // namespace
} // namespace quillet::test
