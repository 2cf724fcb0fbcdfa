// The no-skin controls keep widget and state object in step both ways, and notify once; bound
// to a routine's state they show it and report only the user's input.
#include "ui/plainskin.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(PlainSkin, WidgetsAndTheirStateFollowEachOther)
{
    PlainSkinScrollBar bar("SkinScrollBarVolume", "HScrollVolume", 0, 32000, 16000);
    QSignalSpy changes(&bar.Control(), &ScrollBarControl::changed);
    EXPECT_EQ(bar.value(), 16000);
    bar.setValue(100); // the user moves the thumb
    EXPECT_EQ(bar.Control().Value(), 100);
    bar.Control().SetValue(31000); // a routine puts a value
    EXPECT_EQ(bar.value(), 31000);
    EXPECT_EQ(changes.count(), 2);

    PlainSkinButton shuffle("SkinButtonShuffle", "ButtonShuffle", "shuffle", true);
    shuffle.show();
    QList<bool> atClick;
    QObject::connect(&shuffle.Control(), &ButtonControl::clicked,
                     [&] { atClick.append(shuffle.Control().Pushed()); });
    QTest::mouseClick(&shuffle, Qt::LeftButton);
    EXPECT_TRUE(shuffle.isChecked());
    shuffle.Control().SetPushed(false); // a routine clears the latch
    EXPECT_FALSE(shuffle.isChecked());
    shuffle.Control().SetVisible(false);
    EXPECT_FALSE(shuffle.isVisible());
    QTest::mouseClick(&shuffle, Qt::LeftButton);
    EXPECT_EQ(atClick, QList<bool>{true}); // the hidden button was not pressed
}

TEST(PlainSkin, BoundControlsLeaveTheDecisionToTheirRoutine)
{
    MenuItemControl mark;
    QAction item("&Shuffle");
    int runs = 0;
    BindCheckItem(item, mark, [&] { ++runs; }); // a routine that leaves the mark as it is
    item.trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(item.isChecked());
    mark.SetChecked(true);
    EXPECT_TRUE(item.isChecked());

    SliderControl position(0, 10000);
    PlainSlider slider("Slider1", position, Qt::Horizontal);
    QSignalSpy grabs(&position, &SliderControl::OnTrack);
    QSignalSpy releases(&position, &SliderControl::OnTrackEnd);
    slider.setSliderDown(true); // the user holds the thumb…
    slider.setSliderPosition(4000);
    EXPECT_EQ(position.Position(), 4000);
    position.SetEnabled(false); // …when the play ends under it: the drag still ends
    EXPECT_FALSE(slider.isEnabled());
    EXPECT_FALSE(position.Tracking());
    EXPECT_EQ(releases.count(), 1);
    position.SetMaximum(2000); // a routine's change is shown, never reported as a drag
    EXPECT_EQ(slider.value(), 2000);
    EXPECT_EQ(grabs.count(), 1);
}

} // namespace
} // namespace quillet
