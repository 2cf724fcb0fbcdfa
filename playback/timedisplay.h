// The elapsed time of the play as "mm:ss" (minutes not capped: 100:00 after 100 minutes),
// refreshed every 100 ms from the file's audible position or, while a CD track plays, the
// output's. UI thread only. Times in ms.
#pragma once

#include "controls/controls.h"

namespace quillet {

class AudioEngine;
class Transport;

class TimeDisplay {
public:
    static constexpr int IntervalMs = 100;

    TimeDisplay(AudioEngine& engine, const Transport& transport);

    // Refreshes TextTime; with no clock to read (nothing played yet, a CD track stopped)
    // the text stays as it is.
    void Timer2_Timer();

    [[nodiscard]] TextControl& TextTime() { return m_textTime; }

    // Whole seconds, cut down, as two-digit minutes and seconds ("00:59", "60:00").
    [[nodiscard]] static QString FormatTime(int ms);

private:
    AudioEngine& m_engine;
    const Transport& m_transport;
    TextControl m_textTime{QStringLiteral("00:00")};
};

} // namespace quillet
