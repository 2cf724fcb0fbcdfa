// The title marquee: every 200 ms the scroll text turns left by one character and the
// display shows it one step further on, so a title runs from right to left through
// TextDisplay and wraps around. An empty scroll text leaves the display alone.
// UI thread only.
#pragma once

#include <QtGlobal>

namespace quillet {

class SongDetails;

class TitleScroller {
public:
    static constexpr int IntervalMs = 200;

    explicit TitleScroller(SongDetails& songDetails) : m_songDetails(songDetails) {}

    void TimerScroller_Timer() { Turn(1); }
    // As many steps at once (none for 0 or less), e.g. those missed while nobody could see
    // the display.
    void Turn(qint64 steps);

private:
    SongDetails& m_songDetails;
};

} // namespace quillet
