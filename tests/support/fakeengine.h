// A stand-in for the audio chain in unit tests: every call on every interface of the
// engine is recorded in order as "Control.Member" (a put adds "=value", e.g.
// "AudioFile.FileName=/x.mp3", "WaveOut.Start"), any member can be made to throw
// ComponentError on demand, and WaveOut keeps the real output's state rules: OnStart before
// Start returns, OnStop before Stop returns but only when something was started or paused;
// and the engine's gapless joins: a file prepared while a file plays is joined on at the end
// of the data instead of a stop, and dropped by Pause, a seek and Stop.
// UI thread. Times in ms, sectors as given.
#pragma once

#include "playback/audioengine.h"

#include <QHash>
#include <QMetaObject>
#include <QSet>
#include <QStringList>

#include <memory>
#include <vector>

namespace quillet::test {

// The log and failure switches shared by all the fake's parts.
struct FakeCalls {
    QStringList calls;
    QSet<QString> failing; // "Control.Member" names that throw ComponentError

    // Records the call, then throws when it was asked to fail (the failed call stays in the
    // log: the caller did make it).
    void Record(const QString& member, const QString& value = {})
    {
        calls.append(value.isNull() ? member : member + QLatin1Char('=') + value);
        if (failing.contains(member))
            throw ComponentError(("failing on demand: " + member).toStdString());
    }
};

class FakeAudioFile : public AudioFile {
public:
    explicit FakeAudioFile(FakeCalls& calls) : m_calls(calls) {}
    void SetFileName(const QString& path) override
    {
        m_calls.Record("AudioFile.FileName", path);
        Open(path);
    }
    QString FileName() const override { return m_fileName; }
    int Position() const override { return position; }
    void SetPosition(int ms) override
    {
        m_calls.Record("AudioFile.Position", QString::number(ms));
        position = ms;
        next.clear();
    }
    int Length() const override { return length; }
    void SetOutput(const QString& name) override { m_calls.Record("AudioFile.Output", name); }
    bool PrepareNext(const QString& path) override
    {
        m_calls.Record("AudioFile.PrepareNext", path);
        if (!playing)
            return false;
        next = path;
        return true;
    }
    bool CancelNext() override
    {
        m_calls.Record("AudioFile.CancelNext");
        next.clear();
        return true;
    }
    // The prepared file becomes the one that plays, from its start.
    void Open(const QString& path)
    {
        m_fileName = path;
        length = lengths.value(path, length);
        position = 0;
        next.clear();
    }

    int length = 0;
    int position = 0; // where the play has got to; a test moves it without a recorded call
    QHash<QString, int> lengths; // by path; others keep `length`
    QString next;                // prepared to follow
    bool playing = false;        // kept by the wave output

private:
    FakeCalls& m_calls;
    QString m_fileName;
};

class FakeCdReader : public CDReader, public CdTracks {
public:
    explicit FakeCdReader(FakeCalls& calls) : m_calls(calls) {}
    void Open() override { m_calls.Record("CDReader.Open"); }
    void Close() override { m_calls.Record("CDReader.Close"); }
    bool Ready() const override { return ready; }
    bool DirectoryValid() const override { return ready && tocReadable; }
    const CdTracks& Tracks() const override { return *this; }
    void SelectRange(int start, int end) override
    {
        m_calls.Record("CDReader.SelectRange", QStringLiteral("%1,%2").arg(start).arg(end));
    }
    void SetOutput(const QString& name) override { m_calls.Record("CDReader.Output", name); }
    int Count() const override { return int(tracks.size()); }
    CdTrack Item(int index) const override
    {
        if (index < 0 || index >= Count())
            throw ComponentError("no such track");
        return tracks[index];
    }

    bool ready = false;
    bool tocReadable = true; // false: a disc whose table of contents cannot be read
    QList<CdTrack> tracks;

private:
    FakeCalls& m_calls;
};

class FakeEq : public Eq, public EqBands {
public:
    explicit FakeEq(FakeCalls& calls) : m_calls(calls) {}
    EqBands& Filters() override { return *this; }
    void Add(double low, double high, int reserved) override
    {
        m_calls.Record("Eq.Filters.Add",
                       QStringLiteral("%1,%2,%3").arg(low).arg(high).arg(reserved));
        m_bands.push_back(std::make_unique<Band>(m_calls, Count()));
    }
    int Count() const override { return int(m_bands.size()); }
    EqBand& Item(int index) override
    {
        if (index < 0 || index >= Count())
            throw ComponentError("no such band");
        return *m_bands[size_t(index)];
    }

private:
    struct Band : EqBand {
        Band(FakeCalls& calls, int index) : calls(calls), index(index) {}
        void SetGain(double dB) override
        {
            calls.Record(QStringLiteral("Eq.Filters.Item(%1).Gain").arg(index),
                         QString::number(dB));
            gain = dB;
        }
        double Gain() const override { return gain; }
        FakeCalls& calls;
        int index;
        double gain = 0;
    };
    FakeCalls& m_calls;
    std::vector<std::unique_ptr<Band>> m_bands;
};

class FakeWaveOut : public WaveOut {
public:
    FakeWaveOut(FakeCalls& calls, FakeAudioFile& file) : m_calls(calls), m_file(file) {}
    int DeviceCount() override { return m_calls.Record("WaveOut.DeviceCount"), 1; }
    void Start() override
    {
        m_calls.Record("WaveOut.Start");
        if (m_state & Started)
            return;
        m_state = Started;
        ++m_generation;
        m_file.playing = true;
        emit OnStart();
    }
    // Also when stopped, as the real output does; a Start clears it.
    void Pause() override
    {
        m_calls.Record("WaveOut.Pause");
        m_state |= Paused;
        m_file.next.clear();
    }
    void Restart() override { m_calls.Record("WaveOut.Restart"), m_state &= ~Paused; }
    void Reset() override { m_calls.Record("WaveOut.Reset"); }
    void Stop() override
    {
        m_calls.Record("WaveOut.Stop");
        const bool active = m_state != 0;
        m_state = 0;
        ++m_generation;
        m_file.playing = false;
        m_file.next.clear();
        if (active)
            emit OnStop();
    }
    void Close() override { m_calls.Record("WaveOut.Close"); }
    int State() const override { return m_state; }
    int Position() const override { return position; }
    // The end of the data, delivered later on the UI thread (process events to deliver it);
    // dropped when a newer play or a stop came first. With a file prepared, the end is the
    // join: that file is heard from its start in the same play.
    void Finish()
    {
        Later([this] {
            if (!m_file.next.isEmpty()) {
                m_file.Open(m_file.next);
                emit OnNextStarted();
                return;
            }
            m_state = 0;
            m_file.playing = false;
            emit OnStop();
        });
    }
    // The file that plays has been decoded to its end (told later, as Finish).
    void Decoded()
    {
        Later([this] { emit OnSourceDecoded(); });
    }

    int position = 0; // time played, as the CD clock reads it

private:
    template <typename F> void Later(F f)
    {
        QMetaObject::invokeMethod(
            this,
            [this, f, stamp = m_generation] {
                if (stamp == m_generation && (m_state & Started))
                    f();
            },
            Qt::QueuedConnection);
    }

    FakeCalls& m_calls;
    FakeAudioFile& m_file;
    int m_state = 0;
    int m_generation = 0;
};

// The whole chain; the parts are public so tests set up the fake world directly
// (file.length, cd.tracks, cd.ready, out.Finish()). It is its own master volume, and its
// display feed is silence: nothing is ever sounding.
class FakeEngine : public AudioEngine, public MasterVolume, private Connector {
public:
    // The calls made so far, in order, and a fresh start.
    [[nodiscard]] const QStringList& Calls() const { return m_log.calls; }
    void ClearCalls() { m_log.calls.clear(); }
    // Makes member ("WaveOut.Start", "CDReader.Close", …) throw ComponentError from now on.
    void FailOn(const QString& member) { m_log.failing.insert(member); }

    AudioFile& audioFile() override { return file; }
    CDReader& cdReader() override { return cd; }
    Eq& eq() override { return equalizer; }
    MasterVolume& masterVolume() override { return *this; }
    void SetVolume(int v) override { m_log.Record("MasterVolume.Volume", QString::number(v)); }
    void SetBalance(int b) override { m_log.Record("MasterVolume.Balance", QString::number(b)); }
    WaveOut& waveOut() override { return out; }
    const Connector& connector() const override { return *this; }
    bool Levels(float&, float&) const override { return false; }
    bool Spectrum(std::span<float, SpectrumBins>) const override { return false; }
    int Scope(std::span<float>) const override { return 0; }

private:
    FakeCalls m_log;

public:
    FakeAudioFile file{m_log};
    FakeCdReader cd{m_log};
    FakeEq equalizer{m_log};
    FakeWaveOut out{m_log, file};
};

} // namespace quillet::test
