#include "tests/support/fakeengine.h"

#include <QMetaObject>

namespace quillet::test {

void FakeCalls::Record(const QString& member, const QString& value)
{
    calls.append(value.isNull() ? member : member + QLatin1Char('=') + value);
    if (failing.contains(member))
        throw ComponentError(("failing on demand: " + member).toStdString());
}

void FakeAudioFile::SetFileName(const QString& path)
{
    m_calls.Record("AudioFile.FileName", path);
    m_fileName = path;
    position = 0;
}

void FakeAudioFile::SetPosition(int ms)
{
    m_calls.Record("AudioFile.Position", QString::number(ms));
    position = ms;
}

void FakeCdReader::SelectRange(int trackStart, int trackEnd)
{
    m_calls.Record("CDReader.SelectRange", QStringLiteral("%1,%2").arg(trackStart).arg(trackEnd));
}

CdTrack FakeCdReader::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw ComponentError("no such track");
    return tracks[index];
}

namespace {

class FakeBand : public EqBand {
public:
    FakeBand(FakeCalls& calls, int index) : m_calls(calls), m_index(index) {}
    void SetGain(double dB) override
    {
        m_calls.Record(QStringLiteral("Eq.Filters.Item(%1).Gain").arg(m_index),
                       QString::number(dB));
        m_gain = dB;
    }
    double Gain() const override { return m_gain; }

private:
    FakeCalls& m_calls;
    int m_index;
    double m_gain = 0;
};

} // namespace

void FakeEq::Add(double lowEdge, double highEdge, int reserved)
{
    m_calls.Record("Eq.Filters.Add",
                   QStringLiteral("%1,%2,%3").arg(lowEdge).arg(highEdge).arg(reserved));
    m_bands.push_back(std::make_unique<FakeBand>(m_calls, Count()));
}

EqBand& FakeEq::Item(int index)
{
    if (index < 0 || index >= Count())
        throw ComponentError("no such band");
    return *m_bands[size_t(index)];
}

int FakeWaveOut::DeviceCount()
{
    m_calls.Record("WaveOut.DeviceCount");
    return deviceCount;
}

void FakeWaveOut::Start()
{
    m_calls.Record("WaveOut.Start");
    if (m_state & Started)
        return;
    m_state = Started;
    ++m_generation;
    emit OnStart();
}

void FakeWaveOut::Pause()
{
    m_calls.Record("WaveOut.Pause");
    m_state |= Paused; // also when stopped, as the real output does; a Start clears it
}

void FakeWaveOut::Restart()
{
    m_calls.Record("WaveOut.Restart");
    m_state &= ~Paused;
}

void FakeWaveOut::Stop()
{
    m_calls.Record("WaveOut.Stop");
    const bool active = m_state != 0;
    m_state = 0;
    ++m_generation;
    if (active)
        emit OnStop();
}

void FakeWaveOut::Finish()
{
    const int stamp = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, stamp] {
            if (stamp != m_generation || !(m_state & Started))
                return;
            m_state = 0;
            emit OnStop();
        },
        Qt::QueuedConnection);
}

} // namespace quillet::test
