#include "tests/support/fakeengine.h"

#include <QMetaObject>

#include <vector>

namespace quillet::test {

void FakeCalls::Record(const QString& member, const QString& value)
{
    calls.append(value.isNull() ? member : member + QLatin1Char('=') + value);
    if (failing.contains(member))
        throw ComponentError(("failing on demand: " + member).toStdString());
}

namespace {

class FakeAudioFile : public AudioFile {
public:
    explicit FakeAudioFile(std::shared_ptr<FakeCalls> calls) : m_calls(std::move(calls)) {}
    void SetFileName(const QString& path) override
    {
        m_calls->Record("AudioFile.FileName", path);
        m_fileName = path;
        m_position = 0;
    }
    QString FileName() const override { return m_fileName; }
    int Position() const override { return m_position; }
    void SetPosition(int ms) override
    {
        m_calls->Record("AudioFile.Position", QString::number(ms));
        m_position = ms;
    }
    int Length() const override { return length; }
    void SetOutput(const QString& name) override { m_calls->Record("AudioFile.Output", name); }

    int length = 0;

private:
    std::shared_ptr<FakeCalls> m_calls;
    QString m_fileName;
    int m_position = 0;
};

class FakeTracks : public CdTracks {
public:
    int Count() const override { return int(tracks.size()); }
    CdTrack Item(int index) const override
    {
        if (index < 0 || index >= Count())
            throw ComponentError("no such track");
        return tracks[index];
    }
    QList<CdTrack> tracks;
};

class FakeCdReader : public CDReader {
public:
    explicit FakeCdReader(std::shared_ptr<FakeCalls> calls) : m_calls(std::move(calls)) {}
    void Open() override { m_calls->Record("CDReader.Open"); }
    void Close() override { m_calls->Record("CDReader.Close"); }
    bool Ready() const override { return ready; }
    bool DirectoryValid() const override { return ready; }
    const CdTracks& Tracks() const override { return tracks; }
    void SelectRange(int trackStart, int trackEnd) override
    {
        m_calls->Record("CDReader.SelectRange",
                        QStringLiteral("%1,%2").arg(trackStart).arg(trackEnd));
    }
    void SetOutput(const QString& name) override { m_calls->Record("CDReader.Output", name); }

    bool ready = false;
    FakeTracks tracks;

private:
    std::shared_ptr<FakeCalls> m_calls;
};

class FakeBand : public EqBand {
public:
    FakeBand(std::shared_ptr<FakeCalls> calls, int index)
        : m_calls(std::move(calls)), m_index(index)
    {
    }
    void SetGain(double dB) override
    {
        m_calls->Record(QStringLiteral("Eq.Filters.Item(%1).Gain").arg(m_index),
                        QString::number(dB));
        m_gain = dB;
    }
    double Gain() const override { return m_gain; }

private:
    std::shared_ptr<FakeCalls> m_calls;
    int m_index;
    double m_gain = 0;
};

class FakeBands : public EqBands {
public:
    explicit FakeBands(std::shared_ptr<FakeCalls> calls) : m_calls(std::move(calls)) {}
    void Add(double lowEdge, double highEdge, int reserved) override
    {
        m_calls->Record("Eq.Filters.Add",
                        QStringLiteral("%1,%2,%3").arg(lowEdge).arg(highEdge).arg(reserved));
        m_bands.push_back(std::make_unique<FakeBand>(m_calls, Count()));
    }
    int Count() const override { return int(m_bands.size()); }
    EqBand& Item(int index) override
    {
        if (index < 0 || index >= Count())
            throw ComponentError("no such band");
        return *m_bands[size_t(index)];
    }

private:
    std::shared_ptr<FakeCalls> m_calls;
    std::vector<std::unique_ptr<FakeBand>> m_bands;
};

class FakeEq : public Eq {
public:
    explicit FakeEq(std::shared_ptr<FakeCalls> calls) : bands(std::move(calls)) {}
    EqBands& Filters() override { return bands; }
    FakeBands bands;
};

class FakeVolume : public MasterVolume {
public:
    explicit FakeVolume(std::shared_ptr<FakeCalls> calls) : m_calls(std::move(calls)) {}
    void SetVolume(int volume) override
    {
        m_calls->Record("MasterVolume.Volume", QString::number(volume));
    }
    void SetBalance(int balance) override
    {
        m_calls->Record("MasterVolume.Balance", QString::number(balance));
    }

private:
    std::shared_ptr<FakeCalls> m_calls;
};

class FakeWaveOut : public WaveOut {
public:
    explicit FakeWaveOut(std::shared_ptr<FakeCalls> calls) : m_calls(std::move(calls)) {}
    int DeviceCount() override
    {
        m_calls->Record("WaveOut.DeviceCount");
        return deviceCount;
    }
    void Start() override
    {
        m_calls->Record("WaveOut.Start");
        if (m_state & Started)
            return;
        m_state = Started;
        ++generation;
        emit OnStart();
    }
    void Pause() override
    {
        m_calls->Record("WaveOut.Pause");
        if (m_state & Started)
            m_state |= Paused;
    }
    void Restart() override
    {
        m_calls->Record("WaveOut.Restart");
        m_state &= ~Paused;
    }
    void Reset() override { m_calls->Record("WaveOut.Reset"); }
    void Stop() override
    {
        m_calls->Record("WaveOut.Stop");
        m_state = 0;
        ++generation;
        emit OnStop();
    }
    void Close() override { m_calls->Record("WaveOut.Close"); }
    int State() const override { return m_state; }
    int Position() const override { return 0; }

    // The end of the data, delivered later on the UI thread; dropped when a newer play or
    // a stop came first.
    void Finish()
    {
        const int stamp = generation;
        QMetaObject::invokeMethod(
            this,
            [this, stamp] {
                if (stamp != generation || !(m_state & Started))
                    return;
                m_state = 0;
                emit OnStop();
            },
            Qt::QueuedConnection);
    }

    int deviceCount = 1;
    int generation = 0;

private:
    std::shared_ptr<FakeCalls> m_calls;
    int m_state = 0;
};

class FakeConnector : public Connector {
public:
    bool Levels(float&, float&) const override { return false; }
    bool Spectrum(std::span<float, SpectrumBins>) const override { return false; }
    int Scope(std::span<float>) const override { return 0; }
};

} // namespace

struct FakeEngine::Parts {
    explicit Parts(const std::shared_ptr<FakeCalls>& calls)
        : file(calls), cd(calls), eq(calls), volume(calls), out(calls)
    {
    }
    FakeAudioFile file;
    FakeCdReader cd;
    FakeEq eq;
    FakeVolume volume;
    FakeWaveOut out;
    FakeConnector connector;
};

FakeEngine::FakeEngine()
    : m_calls(std::make_shared<FakeCalls>()), m_parts(std::make_unique<Parts>(m_calls))
{
}

FakeEngine::~FakeEngine() = default;

const QStringList& FakeEngine::Calls() const
{
    return m_calls->calls;
}
void FakeEngine::ClearCalls()
{
    m_calls->calls.clear();
}
void FakeEngine::FailOn(const QString& member)
{
    m_calls->failing.insert(member);
}
void FakeEngine::StopFailing()
{
    m_calls->failing.clear();
}
void FakeEngine::SetDeviceCount(int count)
{
    m_parts->out.deviceCount = count;
}
void FakeEngine::SetFileLength(int ms)
{
    m_parts->file.length = ms;
}

void FakeEngine::SetCdTracks(const QList<CdTrack>& tracks, bool ready)
{
    m_parts->cd.tracks.tracks = tracks;
    m_parts->cd.ready = ready;
}

void FakeEngine::FinishPlaying()
{
    m_parts->out.Finish();
}

AudioFile& FakeEngine::audioFile()
{
    return m_parts->file;
}
CDReader& FakeEngine::cdReader()
{
    return m_parts->cd;
}
Eq& FakeEngine::eq()
{
    return m_parts->eq;
}
MasterVolume& FakeEngine::masterVolume()
{
    return m_parts->volume;
}
WaveOut& FakeEngine::waveOut()
{
    return m_parts->out;
}
const Connector& FakeEngine::connector() const
{
    return m_parts->connector;
}

} // namespace quillet::test
