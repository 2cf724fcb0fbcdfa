// The no-skin controls keep widget and state object in step both ways, and notify once.
#include "ui/plainskin.h"

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

} // namespace
} // namespace quillet
