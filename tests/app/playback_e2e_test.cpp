// The program in this process playing through the real engine on the private sound server
// (what its sink's monitor captures is what a listener hears). The tests drive the routines the
// window calls and let the event loop run, so the output's notifications and the program's timers
// act as they do in the running program.
#include "app/program.h"
#include "components/audio/engine.h"
#include "tests/app/cutsine.h"
#include "tests/app/heardtracks.h"
#include "tests/components/audio/engine/soundcapture.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/fakedialogs.h"
#include "tests/support/testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace quillet {
namespace {

namespace fx = fixtures;
using test::HeardStretch;
using test::HeardStretches;
using test::SoundCapture;

constexpr double Rate = test::CaptureRate;

// The program with its ending left to the test: the unload sequence runs in full, then the
// test process goes on.
class TestProgram : public Program {
public:
    using Program::Program;

protected:
    void EndProcess() override {}
};

class PlaybackEndToEnd : public ::testing::Test {
protected:
    void TearDown() override
    {
        program.reset(); // before the engine it plays through
        engine.reset();
    }

    // A new start of the program on a new audio chain, in the same program directory.
    TestProgram& Start()
    {
        program.reset();
        engine = audio::CreateAudioEngine({});
        program = std::make_unique<TestProgram>(*engine, dialogs, ProgramDir());
        program->Form_Load();
        return *program;
    }
    [[nodiscard]] bool ServerRuns() { return engine->waveOut().DeviceCount() > 0; }
    [[nodiscard]] QString ProgramDir() const { return dir.path() + "/"; }
    QString Wav(const QString& name, const fx::Signal& signal) const
    {
        const QString path = dir.filePath(name);
        fx::WriteWav(path, signal);
        return path;
    }

    // Plays the selected entry to its end (continuous play off); the capture of it.
    std::vector<int16_t> PlayToEnd(SoundCapture& capture)
    {
        capture.Clear();
        program->transport().PlaySelected();
        EXPECT_TRUE(program->transport().Playing());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !program->transport().Playing(); }, 10000));
        QTest::qWait(100); // the capture's own lag
        return capture.Samples();
    }
    // Level of what sounded, its first and last quarter second left out (filter settling).
    static double MiddleLevelDb(const std::vector<int16_t>& heard)
    {
        const std::vector<HeardStretch> stretches = HeardStretches(heard);
        if (stretches.empty())
            return -1000;
        const size_t margin = size_t(Rate / 4);
        return test::RmsDb(heard, stretches.front().first + margin, stretches.back().end - margin);
    }

    QTemporaryDir dir;
    test::FakeDialogs dialogs;
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<TestProgram> program;
};

TEST_F(PlaybackEndToEnd,
       ASineCutInTwoJoinsSampleExactlyAndContinuousPlayGoesOnInOrderUnlessThePlayChanges)
{
    test::WriteFile(dir.filePath("xquilletmp3.ini"),
                    "[display]\ncontinuousPlay=1\nvolume=100\n[equalizer]\nequalizerPreset=4\n");
    TestProgram& p = Start();
    ASSERT_TRUE(ServerRuns()) << "the test's sound server must run";
    const test::CutSine sine(dir.path());
    const test::HeardJoin reference =
        test::MeasureJoin(sine.mpg123, sine.samples, sine.Cut, sine.mpg123);
    ASSERT_EQ(reference.gapFrames, 0);

    struct Pair {
        const char* name;
        const QString* files;
        bool lossless;
    };
    SoundCapture capture;
    for (const Pair& pair : {Pair{"wav", sine.wav, true}, Pair{"flac", sine.flac, true},
                             Pair{"mp3", sine.mp3, false}}) {
        SCOPED_TRACE(pair.name);
        p.playlist().ClearPlaylist();
        for (int i = 0; i < 2; ++i)
            p.mediaFiles().AddMediaFile(pair.files[i]);
        test::HeardJoin join;
        // A loaded machine may starve the sound server before the join: such a play says
        // nothing about the join, and is played again (at most three times).
        for (int attempt = 0; attempt < 3 && (attempt == 0 || join.leadError > 2); ++attempt) {
            p.playlist().Select(0);
            QTest::qWait(200); // the capture's lag: the last play's tail has arrived
            capture.Clear();
            p.transport().PlaySelected();
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return test::Sounding(capture.Samples()).size() >= sine.samples.size() + 8820;
                },
                8000));
            p.transport().StopPlayback();
            join = test::MeasureJoin(capture.Samples(), sine.samples, sine.Cut,
                                     pair.lossless ? sine.samples : sine.mpg123);
        }
        EXPECT_LE(join.leadError, 2);
        EXPECT_EQ(join.gapFrames, 0);
        if (pair.lossless)
            EXPECT_EQ(join.firstDifference, -1) << "the file ends at " << sine.Cut;
        else
            EXPECT_LE(join.joinError, reference.joinError + 1.0);
    }

    // Played on, the entries are heard in order, each whole (an MP3's encoder delay and
    // padding not heard), and the first again after the last; a change before the join keeps
    // the prepared entry from being heard.
    QStringList tones;
    for (int hz : {440, 880, 660, 550})
        tones << Wav(QString("%1.wav").arg(hz), fx::Tone(hz, 0.7));
    fx::EncodeMp3(tones[1], dir.filePath("880.mp3"));
    tones[1] = dir.filePath("880.mp3");
    struct Change {
        const char* name;
        std::function<void()> make;
        std::vector<double> heard; // the pitches heard first, in order
    };
    const std::vector<Change> changes = {
        {"nothing", [] {}, {440, 880, 660, 550, 440}},
        {"list cleared", [&] { p.playlist().ClearPlaylist(); }, {440}},
        {"stop", [&] { p.transport().StopPlayback(); }, {}},
        {"continuous play off", [&] { p.endOfTrack().contPlay_Click(); }, {440}},
        {"selection moved", [&] { p.playlist().Select(2); }, {440, 550}},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const bool playedOn = change.heard.size() == 5;
        if (!p.endOfTrack().contPlay().Checked())
            p.endOfTrack().contPlay_Click();
        p.playlist().ClearPlaylist();
        for (const QString& tone : tones)
            p.mediaFiles().AddMediaFile(tone);
        p.playlist().Select(0);
        QSignalSpy decoded(&p.transport(), &Transport::SourceDecoded);
        capture.Clear();
        p.transport().PlaySelected();
        ASSERT_TRUE(decoded.wait(3000)); // the next entry has been prepared
        change.make();
        // After the end: nothing, or the entry after the one the selection moved to.
        QTest::qWait(playedOn ? 3200 : 2000);
        p.transport().StopPlayback();
        // A tone broken by a starved server (under load) is one tone heard; a piece of it too
        // short to tell its pitch belongs to the tone it broke from.
        std::vector<HeardStretch> heard;
        std::vector<double> pitches;
        for (const HeardStretch& s : HeardStretches(capture.Samples(), 44, true)) {
            const bool piece = s.Ms() < 50;
            if (!pitches.empty() && (piece || pitches.back() == std::round(s.hz / 10) * 10)) {
                heard.back().end = s.end;
                continue;
            }
            if (piece)
                continue;
            heard.push_back(s);
            pitches.push_back(std::round(s.hz / 10) * 10);
        }
        EXPECT_EQ(std::ranges::count(pitches, 880.0), playedOn ? 1 : 0);
        pitches.resize(std::min(pitches.size(), change.heard.size()));
        EXPECT_EQ(pitches, change.heard);
        for (size_t i = 0; playedOn && i < 2 && i < heard.size(); ++i)
            EXPECT_NEAR(heard[i].Ms(), 700, 25) << i;
    }
}

TEST_F(PlaybackEndToEnd, TheVolumeIsKeptAtCloseTheNextStartPlaysAtItFullBassCutsAndPauseHolds)
{
    {
        TestProgram& first = Start();
        first.volumeBalance().SkinScrollBarVolume().SetValue(75);
        first.Form_Unload();
    }
    EXPECT_EQ(ReadIniString("display", "volume", dir.filePath("xquilletmp3.ini")), "75");

    // A fresh chain starts at full volume: only the program's start-up can lower it.
    TestProgram& second = Start();
    ASSERT_TRUE(ServerRuns()) << "the test's sound server must run";
    EXPECT_EQ(second.volumeBalance().SkinScrollBarVolume().Value(), 75);
    second.mediaFiles().AddMediaFile(Wav("pink.wav", fx::PinkNoise(2.0)));
    second.equalizer().default_Click();
    SoundCapture capture;
    const double at75 = MiddleLevelDb(PlayToEnd(capture));
    second.volumeBalance().SkinScrollBarVolume().SetValue(100);
    const double at100 = MiddleLevelDb(PlayToEnd(capture));
    ASSERT_GT(at100, -40) << "the noise was not heard";
    // 75 sends 24000 of 32000; the volume stage's gain is the cube of that fraction.
    EXPECT_NEAR(at75 - at100, 60 * std::log10(24000.0 / 32000.0), 0.2);
    second.equalizer().fullbass_Click();
    EXPECT_NEAR(MiddleLevelDb(PlayToEnd(capture)) - at100, -16, 1.5);

    // Pause holds the sound and the time; a second Pause resumes.
    second.equalizer().default_Click();
    second.playlist().ClearPlaylist();
    second.mediaFiles().AddMediaFile(Wav("tone.wav", fx::Tone(440, 3.0)));
    capture.Clear();
    const auto heardFrames = [&] { return test::Sounding(capture.Samples()).size() / 2; };
    TimeDisplay& time = second.timeDisplay();

    second.transport().PlaySelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->audioFile().Position() >= 1300; }, 5000));
    second.transport().SkinButtonPause_Click();
    QTest::qWait(200); // what was on its way to the sink has arrived
    const size_t atPause = heardFrames();
    QTest::qWait(1200); // a running play would have reached the next second by now
    EXPECT_EQ(heardFrames(), atPause);
    time.Timer2_Timer();
    EXPECT_EQ(time.TextTime().Text(), "00:01");

    second.transport().SkinButtonPause_Click();
    // Heard lags the audible position a little, so this is past two seconds.
    ASSERT_TRUE(QTest::qWaitFor([&] { return heardFrames() > atPause + Rate * 0.8; }, 3000));
    time.Timer2_Timer();
    EXPECT_EQ(time.TextTime().Text(), "00:02");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second.transport().Playing(); }, 5000));
    QTest::qWait(100);
    // The pause lost nothing and repeated nothing.
    EXPECT_NEAR(double(heardFrames()), 3.0 * Rate, Rate / 100);
}

} // namespace
} // namespace quillet
