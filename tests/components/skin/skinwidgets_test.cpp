// The skinned widgets draw their element in each state (or the plain look without one), turn
// the user's input into their control's clicks and values, and repaint from the control.
#include "components/skin/skinbutton.h"
#include "components/skin/skinlabel.h"
#include "components/skin/skinpicture.h"
#include "components/skin/skinscrollbar.h"

#include "tests/components/skin/skintesting.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using namespace test;

const QColor PlainButton{0x33, 0x66, 0x99};
const QColor PlainSunken{0x66, 0x33, 0x00};

// A shown window holding the widgets under test, with a skin form on the test skin.
struct SkinWorld {
    SkinWorld()
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Button, PlainButton);
        palette.setColor(QPalette::Mid, PlainSunken);
        palette.setColor(QPalette::Window, Qt::black);
        palette.setColor(QPalette::WindowText, Qt::yellow);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.resize(200, 100);
        window.show();
        form.SetSkinFile(WriteTestSkin(dir));
    }
    template <typename Widget> Widget& Place(Widget* widget, QRect place)
    {
        widget->setParent(&window);
        widget->setGeometry(place);
        widget->show();
        widget->AttachSkin(form);
        return *widget;
    }

    QTemporaryDir dir;
    SvgSkinForm form;
    QWidget window;
};

void Hover(QWidget& widget, bool inside)
{
    if (inside) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&widget, &leave);
    }
}

void Wheel(QWidget& widget, QPoint turn)
{
    QWheelEvent wheel(QPointF(5, 5), widget.mapToGlobal(QPointF(5, 5)), {}, turn, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
}

TEST(SkinButtonWidget, EachStateDrawsItsVariantAndAMissingVariantItsFallback)
{
    SkinWorld world;
    auto& play =
        world.Place(new SkinButtonWidget("SkinButtonPlay", "ButtonPlay", ""), {0, 0, 40, 20});
    const QPoint middle(20, 10);
    EXPECT_EQ(PixelAt(play, middle), PlayColour);
    Hover(play, true);
    EXPECT_EQ(PixelAt(play, middle), PlayHoverColour);
    QTest::mousePress(&play, Qt::LeftButton, {}, middle);
    EXPECT_EQ(PixelAt(play, middle), PlayPressedColour);
    QTest::mouseMove(&play, {60, 10}); // held, but dragged off the button
    EXPECT_EQ(PixelAt(play, middle), PlayHoverColour);
    QTest::mouseRelease(&play, Qt::LeftButton, {}, {60, 10});
    Hover(play, false);
    play.setEnabled(false);
    EXPECT_EQ(PixelAt(play, middle), PlayDisabledColour);

    // Latched: ".pushed" stands in for the missing ".pushed.hover", never the unlatched hover.
    ButtonControl latch(true);
    auto& shuffle =
        world.Place(new SkinButtonWidget("SkinButtonShuffle", "ButtonShuffle", "shuffle", latch),
                    {50, 0, 40, 20});
    EXPECT_EQ(PixelAt(shuffle, middle), ShuffleColour);
    latch.SetPushed(true); // a routine's put shows at once
    EXPECT_EQ(PixelAt(shuffle, middle), ShufflePushedColour);
    Hover(shuffle, true);
    EXPECT_EQ(PixelAt(shuffle, middle), ShufflePushedColour);
    latch.SetPushed(false);
    EXPECT_EQ(PixelAt(shuffle, middle), ShuffleHoverColour);
}

TEST(SkinButtonWidget, WithoutItsElementOrASkinItDrawsPlainlyAndStillClicks)
{
    SkinWorld world;
    auto& stop =
        world.Place(new SkinButtonWidget("SkinButtonStop", "ButtonStop", "stop"), {0, 0, 40, 20});
    auto& play =
        world.Place(new SkinButtonWidget("SkinButtonPlay", "ButtonPlay", "play"), {50, 0, 40, 20});
    SkinButtonWidget unattached("SkinButtonAdd", "ButtonPlay", "add", false, &world.window);
    unattached.setGeometry(100, 0, 40, 20);
    unattached.show();
    world.form.SetSkinFile(world.dir.filePath("nowhere.skn")); // and the skin goes away

    for (SkinButtonWidget* button : {&stop, &play, &unattached}) {
        EXPECT_EQ(PixelAt(*button, {3, 3}), PlainButton) << button->objectName().toStdString();
        QSignalSpy clicks(&button->Control(), &ButtonControl::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, {20, 10});
        EXPECT_EQ(PixelAt(*button, {3, 3}), PlainSunken);
        QTest::mouseRelease(button, Qt::LeftButton, {}, {20, 10});
        EXPECT_EQ(clicks.count(), 1);
    }
}

TEST(SkinButtonWidget, ClicksComeFromALeftClickInsideOrTheKeysAndNeverWhenHidden)
{
    SkinWorld world;
    auto& shuffle =
        world.Place(new SkinButtonWidget("SkinButtonShuffle", "ButtonShuffle", "shuffle", true),
                    {0, 0, 40, 20});
    ButtonControl& control = shuffle.Control();
    QList<bool> pushedAtClick;
    QObject::connect(&control, &ButtonControl::clicked,
                     [&] { pushedAtClick.append(control.Pushed()); });

    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    EXPECT_EQ(pushedAtClick, QList<bool>{true}); // the latch already holds the new state
    QTest::mouseClick(&shuffle, Qt::RightButton, {}, {20, 10});
    QTest::mousePress(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::mouseRelease(&shuffle, Qt::LeftButton, {}, {45, 10}); // let go outside
    EXPECT_EQ(pushedAtClick.size(), 1);
    EXPECT_TRUE(control.Pushed());

    QTest::keyClick(&shuffle, Qt::Key_Space);
    QTest::keyClick(&shuffle, Qt::Key_Return);
    QTest::keyClick(&shuffle, Qt::Key_Enter);
    QTest::keyClick(&shuffle, Qt::Key_A);
    EXPECT_EQ(pushedAtClick, (QList<bool>{true, false, true, false}));

    control.SetVisible(false);
    EXPECT_FALSE(shuffle.isVisible());
    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::keyClick(&shuffle, Qt::Key_Return);
    EXPECT_EQ(pushedAtClick.size(), 4);
    control.SetVisible(true);
    EXPECT_TRUE(shuffle.isVisible());
    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    EXPECT_EQ(pushedAtClick.size(), 5);
}

// A bar of 110 × 10: the thumb (10 px) travels 100 px over the values 0…1000.
struct BarWorld : SkinWorld {
    BarWorld() { bar.SetSteps(10, 100); }
    SkinScrollBarWidget& bar =
        Place(new SkinScrollBarWidget("SkinScrollBarVolume", "HScrollVolume", 0, 1000, 500),
              {0, 0, 110, 10});
    QSignalSpy changes{&bar.Control(), &ScrollBarControl::changed};
};

TEST(SkinScrollBarWidget, TheThumbSitsAtTheValueAndAPressBesideItPagesOnce)
{
    BarWorld world;
    SkinScrollBarWidget& bar = world.bar;
    EXPECT_EQ(bar.ThumbRect(), QRect(50, 0, 10, 10));
    EXPECT_EQ(PixelAt(bar, {55, 5}), ThumbColour);
    EXPECT_EQ(PixelAt(bar, {20, 5}), TrackColour);

    QTest::mouseClick(&bar, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(bar.Control().Value(), 400);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {105, 5});
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {105, 5});
    EXPECT_EQ(bar.Control().Value(), 600);
    EXPECT_EQ(world.changes.count(), 3);
    EXPECT_EQ(bar.ThumbRect().left(), 60);

    bar.Control().SetValue(1000);
    EXPECT_EQ(bar.ThumbRect().left(), 100);
    EXPECT_EQ(PixelAt(bar, {105, 5}), ThumbColour);
    bar.Control().SetValue(-50); // clamped
    EXPECT_EQ(bar.Control().Value(), 0);
    EXPECT_EQ(bar.ThumbRect().left(), 0);
    bar.Control().SetValue(0); // the same value: nothing to tell
    EXPECT_EQ(world.changes.count(), 5);
}

TEST(SkinScrollBarWidget, DraggingTheThumbSetsEveryValueOnTheWayAndStopsAtTheEnds)
{
    BarWorld world;
    SkinScrollBarWidget& bar = world.bar;
    QTest::mousePress(&bar, Qt::LeftButton, {}, {53, 5}); // 3 px into the thumb
    QTest::mouseMove(&bar, {73, 5});
    EXPECT_EQ(bar.Control().Value(), 700);
    QTest::mouseMove(&bar, {52, 5});
    EXPECT_EQ(bar.Control().Value(), 490);
    QTest::mouseMove(&bar, {400, 5});
    EXPECT_EQ(bar.Control().Value(), 1000);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, {400, 5});
    QTest::mouseMove(&bar, {10, 5}); // let go: moves do nothing
    EXPECT_EQ(bar.Control().Value(), 1000);
    EXPECT_EQ(world.changes.count(), 3);
}

TEST(SkinScrollBarWidget, WheelAndKeysStepByTheirStepsWithinTheRange)
{
    BarWorld world;
    SkinScrollBarWidget& bar = world.bar;
    const auto value = [&] { return bar.Control().Value(); };
    Wheel(bar, {0, 120});
    EXPECT_EQ(value(), 510);
    Wheel(bar, {0, -240});
    EXPECT_EQ(value(), 490);
    Wheel(bar, {0, 60}); // half a notch: nothing yet
    EXPECT_EQ(value(), 490);
    Wheel(bar, {0, 60});
    EXPECT_EQ(value(), 500);

    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Right, 510}, {Qt::Key_Left, 500},   {Qt::Key_PageUp, 600}, {Qt::Key_PageDown, 500},
        {Qt::Key_End, 1000},  {Qt::Key_Right, 1000}, {Qt::Key_Home, 0},     {Qt::Key_Left, 0}};
    for (const auto& [key, expected] : keys) {
        QTest::keyClick(&bar, key);
        EXPECT_EQ(value(), expected) << QTest::toString(key);
    }
    EXPECT_EQ(world.changes.count(), 9); // the two steps past an end raised nothing
}

TEST(SkinScrollBarWidget, TheThumbIsAsWideAsItsArtAtTheBarsHeightOrPlainlyNine)
{
    SkinWorld world;
    ScrollBarControl volume(0, 32000, 0);
    auto& bar = world.Place(new SkinScrollBarWidget("SkinScrollBarVolume", "HScrollVolume", volume),
                            {0, 20, 73, 9});
    EXPECT_EQ(bar.ThumbRect(), QRect(0, 0, 9, 9)); // 10 × 10 art at 9 px high
    volume.SetValue(32000);
    EXPECT_EQ(bar.ThumbRect(), QRect(64, 0, 9, 9));

    auto& plain =
        world.Place(new SkinScrollBarWidget("SkinScrollBarBalance", "NoSuchBar", -100, 100, 0),
                    {0, 40, 109, 12});
    EXPECT_EQ(plain.ThumbRect(), QRect(50, 0, 9, 12));
    EXPECT_EQ(PixelAt(plain, {54, 6}), PlainButton);
}

TEST(SkinLabelAndPicture, DrawTheirElementUnderTheTextOrLeaveTheWindowShowing)
{
    SkinWorld world;
    auto& label = world.Place(new SkinLabelWidget("SkinLabelVolume", "Label", ""), {0, 0, 40, 20});
    const auto hasText = [&] {
        const QImage image = label.grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor c = image.pixelColor(x, y); c.red() > 160 && c.green() > 160)
                    return true;
        return false;
    };
    EXPECT_EQ(PixelAt(label, {1, 1}), LabelColour);
    EXPECT_FALSE(hasText());
    label.Control().SetText("Vol");
    EXPECT_TRUE(hasText());
    EXPECT_EQ(label.Control().Text(), "Vol");

    auto& strip =
        world.Place(new SkinPicture("PictureEqualizer", "PictureEqualizer"), {0, 30, 60, 12});
    const auto windowAt = [&](QPoint point) {
        return world.window.grab().toImage().pixelColor(strip.mapTo(&world.window, point));
    };
    EXPECT_EQ(windowAt({30, 2}), StripTopColour);
    EXPECT_EQ(windowAt({30, 9}), StripBottomColour);
    world.form.SetSkinFile({});
    EXPECT_EQ(windowAt({30, 2}), QColor(Qt::black));
}

} // namespace
} // namespace quillet
