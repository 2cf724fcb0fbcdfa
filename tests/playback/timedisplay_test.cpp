// The elapsed-time text and the clock it reads: the file source, or the output while a CD
// track plays.
#include "tests/playback/playbackworld.h"

#include <climits>
#include <utility>

namespace quillet::test {
namespace {

TEST(TimeDisplayTest, ShowsWholeSecondsCutDownAndMinutesWithoutCap)
{
    const std::pair<int, const char*> table[] = {
        {-1500, "00:00"}, {999, "00:00"},     {1999, "00:01"},     {59999, "00:59"},
        {60000, "01:00"}, {5999999, "99:59"}, {6000000, "100:00"}, {INT_MAX, "35791:23"}};
    for (const auto& [ms, text] : table)
        EXPECT_EQ(TimeDisplay::FormatTime(ms), text) << ms;
}

TEST(TimeDisplayTest, ReadsTheFileOrTheOutputWhileACdTrackPlays)
{
    PlaybackWorld w;
    w.engine.cd.ready = true;
    w.engine.cd.tracks = {{1, 0, 1000}};
    w.Fill({"/m/a.wav", "0"});
    TimeDisplay& d = w.timeDisplay;
    auto tick = [&] {
        d.Timer2_Timer();
        return d.TextTime().Text();
    };

    w.engine.out.position = 5000; // nothing played yet: no clock
    EXPECT_EQ(tick(), "00:00");

    w.PlayEntry(0);
    w.engine.file.position = 61999;
    EXPECT_EQ(tick(), "01:01");
    w.transport.StopPlayback(); // a stopped file still shows its place
    w.engine.file.position = 30000;
    EXPECT_EQ(tick(), "00:30");

    w.PlayEntry(1); // the file source keeps its name but is not what plays
    w.engine.out.position = 125000;
    EXPECT_EQ(tick(), "02:05");
    w.transport.SkinButtonPause_Click();
    w.engine.out.position = 126000;
    EXPECT_EQ(tick(), "02:06");

    w.transport.StopPlayback(); // a stopped CD track leaves the text as it was
    w.engine.out.position = 0;
    EXPECT_EQ(tick(), "02:06");
}

} // namespace
} // namespace quillet::test
