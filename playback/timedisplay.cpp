#include "playback/timedisplay.h"

#include "platform/ignorefailure.h"
#include "playback/audioengine.h"
#include "playback/transport.h"

#include <optional>

namespace quillet {

TimeDisplay::TimeDisplay(AudioEngine& engine, const Transport& transport)
    : m_engine(engine), m_transport(transport)
{
}

QString TimeDisplay::FormatTime(int ms)
{
    const int t = ms > 0 ? ms / 1000 : 0;
    return QStringLiteral("%1:%2")
        .arg(t / 60, 2, 10, QLatin1Char('0'))
        .arg(t % 60, 2, 10, QLatin1Char('0'));
}

// The clock is the CD output while the last play was a CD track (the file source keeps its
// last file's name and would show that file's place), else the file source once a file has
// been put; a CD track that has stopped leaves the text as it was.
void TimeDisplay::Timer2_Timer()
{
    std::optional<int> clock;
    IgnoreFailure([&] {
        if (m_transport.CdOpen) {
            const WaveOut& out = m_engine.waveOut();
            if (out.State() != 0)
                clock = out.Position();
        } else if (!m_engine.audioFile().FileName().isEmpty()) {
            clock = m_engine.audioFile().Position();
        }
    });
    if (clock)
        m_textTime.SetText(FormatTime(*clock));
}

} // namespace quillet
