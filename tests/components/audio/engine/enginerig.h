// Helpers for the engine's tests: an engine counting its notifications (on a null output, its
// sound captured in memory); waits that give up after a bound. UI (test) thread.
#pragma once

#include "components/audio/engine.h"
#include "tests/fixtures/fixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace quillet::test {

using namespace std::chrono_literals;

class EngineRig {
public:
    explicit EngineRig(audio::OutputKind kind, const QString& cdDevice = {})
    {
        audio::EngineOptions options;
        options.output = kind;
        options.cdDevice = cdDevice;
        options.nullCapture = [this](const int16_t* stereo, size_t frames) {
            std::lock_guard lock(m_mutex);
            m_captured.insert(m_captured.end(), stereo, stereo + frames * 2);
        };
        engine = audio::CreateAudioEngine(options);
        starts = std::make_unique<QSignalSpy>(&engine->waveOut(), &WaveOut::OnStart);
        stops = std::make_unique<QSignalSpy>(&engine->waveOut(), &WaveOut::OnStop);
    }
    ~EngineRig() { engine.reset(); } // before the capture it writes into

    [[nodiscard]] std::vector<int16_t> Captured() const
    {
        std::lock_guard lock(m_mutex);
        return m_captured;
    }
    [[nodiscard]] size_t CapturedFrames() const { return Captured().size() / 2; }
    void ClearCapture()
    {
        std::lock_guard lock(m_mutex);
        m_captured.clear();
    }
    bool WaitForStops(int count, std::chrono::milliseconds bound = 10s)
    {
        return QTest::qWaitFor([&] { return stops->count() >= count; }, int(bound.count()));
    }
    bool WaitForFrames(size_t frames, std::chrono::milliseconds bound = 10s)
    {
        return QTest::qWaitFor([&] { return CapturedFrames() >= frames; }, int(bound.count()));
    }
    QString WriteWav(const fixtures::Signal& signal, const QString& name = "file.wav") const
    {
        const QString path = dir.filePath(name);
        fixtures::WriteWav(path, signal);
        return path;
    }
    // Plays a file from its start (what the program's play does).
    void PlayFile(const QString& path)
    {
        engine->waveOut().Stop();
        engine->audioFile().SetOutput("Eq");
        engine->audioFile().SetFileName(path);
        engine->waveOut().Start();
    }

    QTemporaryDir dir;
    std::unique_ptr<AudioEngine> engine;
    std::unique_ptr<QSignalSpy> starts;
    std::unique_ptr<QSignalSpy> stops;

private:
    mutable std::mutex m_mutex;
    std::vector<int16_t> m_captured;
};

// The interleaved 16-bit samples the sample-counter fixture holds from `frame` on.
inline std::vector<int16_t> CounterSamples(int64_t fromFrame, int64_t frames)
{
    std::vector<int16_t> out;
    for (int64_t n = fromFrame * 2; n < (fromFrame + frames) * 2; ++n)
        out.push_back(int16_t(uint16_t(n & 0xFFFF)));
    return out;
}

} // namespace quillet::test
