// The skinned buttons draw their element in each state, or the plain look, and turn input into
// their control's clicks. The window's test moves the skinned scroll bars. The test skin is plain
// coloured blocks, so one pixel's colour tells which element and which state variant was drawn.
#include "components/skin/skinbutton.h"

#include "tests/support/testsupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Readable colours in test failure messages.
inline void PrintTo(const QColor& colour, std::ostream* out)
{
    *out << colour.name().toStdString();
}

namespace quillet {
namespace {

using test::WriteFile;

const QColor PlayColour{"#ff0000"}, PlayHoverColour{"#00ff00"}, PlayPressedColour{"#0000ff"},
    PlayDisabledColour{"#808080"}, ShuffleColour{"#ff00ff"}, ShuffleHoverColour{"#00ff80"},
    ShufflePushedColour{"#ffff00"}, PlainButton{"#336699"}, PlainSunken{"#663300"};

// Buttons 20 × 10. The variants lie apart from their elements.
QByteArray TestSkin()
{
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="800" height="200">
  <g id="ButtonPlay"><rect x="100" y="0" width="20" height="10" fill="#ff0000"/></g>
  <g id="ButtonPlay.hover"><rect x="100" y="20" width="20" height="10" fill="#00ff00"/></g>
  <g id="ButtonPlay.pressed"><rect x="100" y="40" width="20" height="10" fill="#0000ff"/></g>
  <g id="ButtonPlay.disabled"><rect x="100" y="60" width="20" height="10" fill="#808080"/></g>
  <g id="ButtonShuffle"><rect x="200" y="0" width="20" height="10" fill="#ff00ff"/></g>
  <g id="ButtonShuffle.hover"><rect x="200" y="20" width="20" height="10" fill="#00ff80"/></g>
  <g id="ButtonShuffle.pushed"><rect x="200" y="40" width="20" height="10" fill="#ffff00"/></g>
</svg>
)";
}

QColor PixelAt(QWidget& widget, QPoint point)
{
    QColor colour = widget.grab().toImage().pixelColor(point);
    colour.setAlpha(255);
    return colour;
}

// A skin form on the test skin; with a shown window holding the widgets under test.
struct SkinWorld {
    SkinWorld()
    {
        WriteFile(skinPath, TestSkin());
        form.SetSkinFile(skinPath);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Button, PlainButton);
        palette.setColor(QPalette::Mid, PlainSunken);
        window.setPalette(palette);
        window.resize(200, 100);
        window.show();
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
    QString skinPath = dir.filePath("Skins/default.skn");
    SvgSkinForm form;
    QWidget window;
};

void Hover(QWidget& widget)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&widget, &enter);
}

TEST(SkinButtonWidget, EachStateDrawsItsVariantOrTheNextOneDown)
{
    SkinWorld world;
    auto& play =
        world.Place(new SkinButtonWidget("SkinButtonPlay", "ButtonPlay", ""), {0, 0, 40, 20});
    const QPoint middle(20, 10);
    EXPECT_EQ(PixelAt(play, middle), PlayColour);
    Hover(play);
    EXPECT_EQ(PixelAt(play, middle), PlayHoverColour);
    QTest::mousePress(&play, Qt::LeftButton, {}, middle);
    EXPECT_EQ(PixelAt(play, middle), PlayPressedColour);
    QTest::mouseMove(&play, {60, 10}); // held, but dragged off the button
    EXPECT_EQ(PixelAt(play, middle), PlayHoverColour);
    QTest::mouseRelease(&play, Qt::LeftButton, {}, {60, 10});
    play.setEnabled(false);
    EXPECT_EQ(PixelAt(play, middle), PlayDisabledColour);

    ButtonControl latch(true);
    auto& shuffle =
        world.Place(new SkinButtonWidget("SkinButtonShuffle", "ButtonShuffle", "shuffle", latch),
                    {50, 0, 40, 20});
    QTest::mousePress(&shuffle, Qt::LeftButton, {}, middle); // no ".pressed": the element
    EXPECT_EQ(PixelAt(shuffle, middle), ShuffleColour);
    QTest::mouseRelease(&shuffle, Qt::LeftButton, {}, {60, 10});
    latch.SetPushed(true);
    Hover(shuffle); // ".pushed" stands in for ".pushed.hover", never the unlatched hover
    EXPECT_EQ(PixelAt(shuffle, middle), ShufflePushedColour);
    latch.SetPushed(false);
    EXPECT_EQ(PixelAt(shuffle, middle), ShuffleHoverColour);
}

// Clicks come from a left click let go inside, or the keys; a latch already holds its new
// state when the click is told. Without a skin a button draws plainly
// and still clicks.
TEST(SkinButtonWidget, ClicksComeFromALeftClickInsideOrTheKeysSkinnedOrPlain)
{
    SkinWorld world;
    auto& shuffle =
        world.Place(new SkinButtonWidget("SkinButtonShuffle", "ButtonShuffle", "shuffle", true),
                    {50, 0, 40, 20});
    ButtonControl& control = shuffle.Control();
    QList<bool> pushedAtClick;
    QObject::connect(&control, &ButtonControl::clicked,
                     [&] { pushedAtClick.append(control.Pushed()); });
    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::mouseClick(&shuffle, Qt::RightButton, {}, {20, 10});
    QTest::mousePress(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::mouseRelease(&shuffle, Qt::LeftButton, {}, {45, 10}); // let go outside
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_A})
        QTest::keyClick(&shuffle, key);
    EXPECT_EQ(pushedAtClick, (QList<bool>{true, false, true}));
    ButtonControl hidden; // hidden from the start: stays hidden when its window shows
    hidden.SetVisible(false);
    QWidget other;
    SkinButtonWidget late("SkinButtonStop", "ButtonPlay", "stop", hidden, &other);
    other.show();
    EXPECT_FALSE(late.isVisible());

    control.SetPushed(false);
    world.form.SetSkinFile(world.dir.filePath("nowhere.skn"));
    EXPECT_EQ(PixelAt(shuffle, {3, 3}), PlainButton);
    QTest::mousePress(&shuffle, Qt::LeftButton, {}, {20, 10});
    EXPECT_EQ(PixelAt(shuffle, {3, 3}), PlainSunken);
    QTest::mouseRelease(&shuffle, Qt::LeftButton, {}, {20, 10});
    EXPECT_EQ(pushedAtClick.size(), 4);
}

} // namespace
} // namespace quillet
