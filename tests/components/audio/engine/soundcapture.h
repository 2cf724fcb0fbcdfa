// What the private sound server's null sink plays, captured bit-exactly with parec from its
// monitor (44.1 kHz s16 stereo), and the server's stop and start commands. Test thread; the
// capture grows while events are processed (QTest::qWait, qWaitFor).
#pragma once

#include <QProcess>
#include <QTest>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quillet::test {

class SoundCapture {
public:
    SoundCapture()
    {
        m_parec.start("parec", {"--latency-msec=20", "-d", "quillet_sink.monitor", "--format=s16le",
                                "--rate=44100", "--channels=2", "--raw"});
        m_started = m_parec.waitForStarted(5000);
        QTest::qWait(150); // let the recording stream settle before anything plays
    }
    ~SoundCapture()
    {
        m_parec.kill();
        m_parec.waitForFinished(5000);
    }
    [[nodiscard]] bool Running() const { return m_started; }
    // Everything captured so far, interleaved.
    const std::vector<int16_t>& Samples()
    {
        m_bytes += m_parec.readAllStandardOutput();
        m_samples.resize(size_t(m_bytes.size()) / 4 * 2); // whole frames
        if (!m_samples.empty())
            std::memcpy(m_samples.data(), m_bytes.constData(), m_samples.size() * 2);
        return m_samples;
    }
    void Clear()
    {
        m_bytes += m_parec.readAllStandardOutput();
        m_bytes.remove(0, m_bytes.size() / 4 * 4); // a partial frame begins the next capture
        m_samples.clear();
    }

private:
    QProcess m_parec;
    bool m_started = false;
    QByteArray m_bytes;
    std::vector<int16_t> m_samples;
};

// Frames whose two samples are not both zero, in order (the monitor fills every pause with
// silence; the counter fixture has almost no all-zero frames).
inline std::vector<int16_t> Sounding(const std::vector<int16_t>& samples)
{
    std::vector<int16_t> out;
    for (size_t i = 0; i + 1 < samples.size(); i += 2) {
        if (samples[i] != 0 || samples[i + 1] != 0) {
            out.push_back(samples[i]);
            out.push_back(samples[i + 1]);
        }
    }
    return out;
}

// Runs the sound-server script (QUILLET_SOUND_SERVER) on the test's server directory.
inline bool SoundServer(const char* command)
{
    const QString script = qEnvironmentVariable("QUILLET_SOUND_SERVER");
    const QString dir = qEnvironmentVariable("QUILLET_SOUND_DIR");
    if (script.isEmpty() || dir.isEmpty())
        return false;
    return QProcess::execute(script, {command, dir}) == 0;
}

} // namespace quillet::test
