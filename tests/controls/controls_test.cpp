// Control state: change notifications are raised inside the put, once per real change,
// and a put that re-enters from a notification sees the state it caused.
#include "controls/controls.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Controls, ValuesAreClampedAndOnlyRealChangesNotifyEvenWhenReentered)
{
    ScrollBarControl bar(-16000, 16000, 0);
    QList<int> seen;
    QObject::connect(&bar, &ScrollBarControl::changed, [&](int v) {
        seen.append(bar.Value());
        if (v == 50)
            bar.SetValue(60);
    });
    for (int v : {0, 500, 500, 99999, -99999, 50})
        bar.SetValue(v);
    EXPECT_EQ(seen, (QList<int>{500, 16000, -16000, 50, 60}));

    SliderControl slider(100);
    QList<int> moved;
    QObject::connect(&slider, &SliderControl::positionChanged,
                     [&] { moved.append(slider.Position()); });
    for (int p : {150, -5, 80})
        slider.SetPosition(p);
    slider.SetMaximum(40); // the thumb follows a shrinking range
    slider.SetMaximum(-3);
    EXPECT_EQ(moved, (QList<int>{100, 0, 80, 40, 0}));
}

TEST(Controls, ATwoStateButtonHoldsItsNewStateWhenTheClickArrivesAndHiddenOnesCannotBePressed)
{
    ButtonControl latch(true);
    QList<bool> atClick;
    QObject::connect(&latch, &ButtonControl::clicked, [&] { atClick.append(latch.Pushed()); });
    latch.Click();
    latch.Click();
    latch.SetVisible(false);
    latch.Click();
    EXPECT_EQ(atClick, (QList<bool>{true, false}));
    EXPECT_FALSE(latch.Pushed());
}

} // namespace
} // namespace quillet
