// A stand-in for the audio chain in unit tests: every call on every interface of the
// engine is recorded in order as "Control.Member" (a put adds "=value", e.g.
// "AudioFile.FileName=/x.mp3", "WaveOut.Start"), any member can be made to throw
// ComponentError on demand, and WaveOut raises OnStart/OnStop before Start/Stop return, as
// the real output does. UI thread. Times in ms, sectors as given.
#pragma once

#include "playback/audioengine.h"

#include <QSet>
#include <QStringList>

#include <memory>

namespace quillet::test {

// The log and failure switches shared by all the fake's parts.
struct FakeCalls {
    QStringList calls;
    QSet<QString> failing; // "Control.Member" names that throw ComponentError

    // Records the call, then throws when it was asked to fail (the failed call stays in the
    // log: the caller did make it).
    void Record(const QString& member, const QString& value = {});
};

class FakeEngine : public AudioEngine {
public:
    FakeEngine();
    ~FakeEngine() override;

    // The calls made so far, in order, and a fresh start.
    [[nodiscard]] const QStringList& Calls() const;
    void ClearCalls();
    // Makes member ("WaveOut.Start", "CDReader.Close", …) throw ComponentError from now on.
    void FailOn(const QString& member);
    void StopFailing();

    // Test controls of the fake world.
    void SetDeviceCount(int count);
    void SetFileLength(int ms);
    void SetCdTracks(const QList<CdTrack>& tracks, bool ready = true);
    // The data ran out: the output stops by itself and raises OnStop, queued to the UI
    // thread as the real engine does (process events to deliver it).
    void FinishPlaying();

    AudioFile& audioFile() override;
    CDReader& cdReader() override;
    Eq& eq() override;
    MasterVolume& masterVolume() override;
    WaveOut& waveOut() override;
    const Connector& connector() const override;

private:
    struct Parts;
    std::shared_ptr<FakeCalls> m_calls;
    std::unique_ptr<Parts> m_parts;
};

} // namespace quillet::test
