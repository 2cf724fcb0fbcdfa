// Control state: change notifications are raised inside the put, once per real change,
// and a put that re-enters from a notification sees the state it caused.
#include "controls/controls.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ScrollBarControl, NotifiesOnlyRealChangesAndClamps)
{
    ScrollBarControl bar(-16000, 16000, 0);
    QList<int> seen;
    QObject::connect(&bar, &ScrollBarControl::changed, [&](int v) { seen.append(v); });
    bar.SetValue(0);
    bar.SetValue(500);
    bar.SetValue(500);
    bar.SetValue(99999);
    bar.SetValue(-99999);
    EXPECT_EQ(seen, (QList<int>{500, 16000, -16000}));
    EXPECT_EQ(bar.Value(), -16000);
}

TEST(ScrollBarControl, ANotificationSeesTheNewValueAndMayPutAgain)
{
    ScrollBarControl bar(0, 100, 0);
    QList<int> seen;
    QObject::connect(&bar, &ScrollBarControl::changed, [&](int v) {
        seen.append(bar.Value());
        if (v == 50)
            bar.SetValue(60); // re-entrant put from inside the notification
    });
    bar.SetValue(50);
    EXPECT_EQ(seen, (QList<int>{50, 60}));
    EXPECT_EQ(bar.Value(), 60);
}

TEST(SliderControl, PositionIsAlwaysWithinZeroAndMaximum)
{
    SliderControl slider(100);
    QSignalSpy moved(&slider, &SliderControl::positionChanged);
    slider.SetPosition(150);
    EXPECT_EQ(slider.Position(), 100);
    slider.SetPosition(-5);
    EXPECT_EQ(slider.Position(), 0);
    slider.SetPosition(80);
    slider.SetMaximum(40); // the thumb follows a shrinking range
    EXPECT_EQ(slider.Position(), 40);
    slider.SetMaximum(-3);
    EXPECT_EQ(slider.Maximum(), 0);
    EXPECT_EQ(slider.Position(), 0);
    EXPECT_EQ(moved.count(), 5); // 100, 0, 80, 40, 0
}

TEST(ButtonControl, TwoStateButtonHoldsItsNewStateWhenTheClickArrives)
{
    ButtonControl latch(true);
    QList<bool> atClick;
    QObject::connect(&latch, &ButtonControl::clicked, [&] { atClick.append(latch.Pushed()); });
    latch.Click();
    latch.Click();
    EXPECT_EQ(atClick, (QList<bool>{true, false}));

    ButtonControl plain;
    QSignalSpy clicks(&plain, &ButtonControl::clicked);
    plain.Click();
    EXPECT_FALSE(plain.Pushed());
    plain.SetVisible(false);
    plain.Click(); // a hidden button cannot be pressed
    EXPECT_EQ(clicks.count(), 1);
}

TEST(TextAndMenuControls, NotifyOnlyRealChanges)
{
    TextControl text("00:00");
    MenuItemControl item;
    QSignalSpy textSpy(&text, &TextControl::textChanged);
    QSignalSpy itemSpy(&item, &MenuItemControl::checkedChanged);
    text.SetText("00:00");
    text.SetText("00:01");
    item.SetChecked(false);
    item.SetChecked(true);
    item.SetChecked(true);
    EXPECT_EQ(textSpy.count(), 1);
    EXPECT_EQ(itemSpy.count(), 1);
    EXPECT_TRUE(item.Checked());
}

} // namespace
} // namespace quillet
