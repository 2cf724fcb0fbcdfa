// The title marquee: each tick turns the scroll text left by one character and shows it one
// step further on, so a title enters from the right, runs through and comes round again.
#include "tags/songdetails.h"
#include "tests/support/testsupport.h"
#include "ui/titlescroller.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

void Tick(TitleScroller& scroller, int times)
{
    for (int i = 0; i < times; ++i)
        scroller.TimerScroller_Timer();
}

TEST(TitleScroller, ATitleEntersFromTheRightOneCharacterPerTickAndComesRound)
{
    SongDetails details;
    TitleScroller scroller(details);
    const QString blanks(SongDetails::DisplayWidth, u' ');
    const QString title = "-- ABC - SONG --";
    details.SetScrollTitle(blanks + title);
    details.SetTextDisplay(blanks);

    Tick(scroller, 1); // the display runs one step ahead of the stored text
    EXPECT_EQ(details.ScrollTitle(), blanks.mid(1) + title + " ");
    EXPECT_EQ(details.TextDisplay(), blanks.mid(2) + title + "  ");

    Tick(scroller, 49);
    EXPECT_EQ(details.ScrollTitle(), title + blanks);
    EXPECT_EQ(details.TextDisplay(), title.mid(1) + blanks + "-");

    Tick(scroller, int(title.size())); // one full turn
    EXPECT_EQ(details.ScrollTitle(), blanks + title);
    scroller.Turn(50 + 3 * (blanks.size() + title.size())); // steps missed, caught up at once
    EXPECT_EQ(details.TextDisplay(), title.mid(1) + blanks + "-");

    // An empty text leaves the display alone.
    details.SetScrollTitle("");
    details.SetTextDisplay("left over");
    Tick(scroller, 3);
    EXPECT_EQ(details.TextDisplay(), "left over");
}

} // namespace
} // namespace quillet
