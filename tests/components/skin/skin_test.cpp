// The skin form renders a skin file's elements (or nothing after a bad file); the skinned
// widgets draw their element in each state, or the plain look, and turn input into their
// control's clicks and values. The test skin is plain coloured blocks, so one pixel's colour
// tells which element and which state variant was drawn.
#include "components/skin/skinbutton.h"
#include "components/skin/skinlabel.h"
#include "components/skin/skinpicture.h"
#include "components/skin/skinscrollbar.h"

#include "tests/support/testsupport.h"

#include <QApplication>
#include <QBuffer>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <sys/stat.h>

// Readable colours in test failure messages.
inline void PrintTo(const QColor& colour, std::ostream* out)
{
    *out << colour.name().toStdString();
}

namespace quillet {
namespace {

using test::WriteFile;

const QColor FormCornerColour{"#c0c0c0"}, PlayColour{"#ff0000"}, PlayHoverColour{"#00ff00"},
    PlayPressedColour{"#0000ff"}, PlayDisabledColour{"#808080"}, ShuffleColour{"#ff00ff"},
    ShuffleHoverColour{"#00ff80"}, ShufflePushedColour{"#ffff00"}, TrackColour{"#000080"},
    ThumbColour{"#ffffff"}, LabelColour{"#004000"}, StripTopColour{"#00ffff"},
    StripBottomColour{"#ff8000"}, PlainButton{"#336699"}, PlainSunken{"#663300"};

// Form 40 × 30 (its lower right quarter lighter), buttons 20 × 10, track 100 × 10, thumb
// 10 × 10, strip 30 × 6 (two 3 px bands). The variants lie apart from their elements.
QByteArray TestSkin()
{
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="800" height="200">
  <g id="form"><rect x="0" y="0" width="40" height="30" fill="#203040"/>
    <rect x="20" y="15" width="20" height="15" fill="#c0c0c0"/></g>
  <g id="ButtonPlay"><rect x="100" y="0" width="20" height="10" fill="#ff0000"/></g>
  <g id="ButtonPlay.hover"><rect x="100" y="20" width="20" height="10" fill="#00ff00"/></g>
  <g id="ButtonPlay.pressed"><rect x="100" y="40" width="20" height="10" fill="#0000ff"/></g>
  <g id="ButtonPlay.disabled"><rect x="100" y="60" width="20" height="10" fill="#808080"/></g>
  <g id="ButtonShuffle"><rect x="200" y="0" width="20" height="10" fill="#ff00ff"/></g>
  <g id="ButtonShuffle.hover"><rect x="200" y="20" width="20" height="10" fill="#00ff80"/></g>
  <g id="ButtonShuffle.pushed"><rect x="200" y="40" width="20" height="10" fill="#ffff00"/></g>
  <g id="HScrollVolume"><rect x="300" y="0" width="100" height="10" fill="#000080"/></g>
  <g id="HScrollVolume.thumb"><rect x="300" y="20" width="10" height="10" fill="#ffffff"/></g>
  <g id="Label"><rect x="500" y="0" width="20" height="10" fill="#004000"/></g>
  <g id="PictureEqualizer"><rect x="600" y="0" width="30" height="3" fill="#00ffff"/>
    <rect x="600" y="3" width="30" height="3" fill="#ff8000"/></g>
  <g id="Empty"/>
</svg>
)";
}

QColor Opaque(const QImage& image, QPoint point)
{
    QColor colour = image.pixelColor(point);
    colour.setAlpha(255);
    return colour;
}

QColor PixelAt(QWidget& widget, QPoint point)
{
    return Opaque(widget.grab().toImage(), point);
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
        palette.setColor(QPalette::Window, Qt::black);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
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

void Hover(QWidget& widget, bool inside)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, inside ? static_cast<QEvent*>(&enter) : &leave);
}

// The form draws an element at the ratio asked, nothing where there is none, and the window
// background from "form" where exposed (the palette's colour without a skin).
TEST(SkinForm, DrawsElementsAtTheRatioAskedAndTheFormWhereExposed)
{
    SkinWorld world;
    // The 30 × 6 strip stretched to 60 × 12 at twice the pixels: the seam between the bands
    // lands exactly halfway, crisp. (At one pixel per unit the strip picture shows it.)
    const QPixmap strip = world.form.Pixmap("PictureEqualizer", {60, 12}, 2);
    EXPECT_EQ(strip.size(), QSize(120, 24));
    EXPECT_EQ(strip.devicePixelRatio(), 2);
    EXPECT_EQ(Opaque(strip.toImage(), {0, 11}), StripTopColour);
    EXPECT_EQ(Opaque(strip.toImage(), {119, 12}), StripBottomColour);
    EXPECT_TRUE(world.form.Pixmap("Empty", {20, 10}, 1).isNull()); // exists, nothing to draw
    EXPECT_TRUE(world.form.Pixmap("ButtonPlay", {0, 10}, 1).isNull());

    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
    const auto paint = [&] {
        QImage image(80, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintForm(painter, world.form, {0, 0, 80, 60}, {40, 30, 40, 30}, palette);
        return image;
    };
    const QImage skinned = paint();
    EXPECT_EQ(Opaque(skinned, {40, 30}), FormCornerColour);
    EXPECT_EQ(Opaque(skinned, {79, 59}), FormCornerColour);
    EXPECT_EQ(Opaque(skinned, {39, 29}), QColor(Qt::white)); // not exposed: left alone
    world.form.SetSkinFile({});
    EXPECT_EQ(Opaque(paint(), {79, 59}), QColor(0x11, 0x22, 0x33));
}

TEST(SkinForm, AMissingOrBrokenFileLeavesNoSkinAndANewFileIsDrawnAfresh)
{
    SkinWorld world;
    SvgSkinForm& form = world.form;
    QSignalSpy changes(&form, &SvgSkinForm::skinChanged);
    const QString broken = world.dir.filePath("broken.skn");
    WriteFile(broken, "<svg xmlns=\"http://www.w3.org/2000/svg\"><g id=\"ButtonPlay\">");

    // Files that would block or never end are as unreadable as a missing one.
    ASSERT_EQ(::mkfifo(QFile::encodeName(world.dir.filePath("fifo.skn")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", world.dir.filePath("zero.skn")));
    for (const QString& bad : {world.dir.filePath("Missing/default.skn"), broken, world.dir.path(),
                               world.dir.filePath("fifo.skn"), world.dir.filePath("zero.skn")}) {
        form.SetSkinFile(world.skinPath);
        ASSERT_FALSE(form.Pixmap("ButtonPlay", {20, 10}, 1).isNull());
        form.SetSkinFile(bad);
        EXPECT_FALSE(form.SkinLoaded()) << bad.toStdString();
        EXPECT_EQ(form.SkinFile(), bad);
        EXPECT_TRUE(form.Pixmap("ButtonPlay", {20, 10}, 1).isNull()) << bad.toStdString();
    }
    EXPECT_EQ(changes.count(), 10);

    // A new file under the same name is drawn afresh, not from the old file's renderings.
    form.SetSkinFile(world.skinPath);
    (void)form.Pixmap("ButtonPlay", {20, 10}, 1);
    WriteFile(world.skinPath, TestSkin().replace("#ff0000", "#0000ff"));
    form.SetSkinFile(world.skinPath);
    EXPECT_EQ(Opaque(form.Pixmap("ButtonPlay", {20, 10}, 1).toImage(), {5, 5}), PlayPressedColour);
}

// A skin draws only what it holds: an image or style sheet it names by a path is never read;
// an embedded data: image is drawn.
TEST(SkinForm, NothingOutsideTheSkinFileIsRead)
{
    SkinWorld world;
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(PlayColour);
    const QString png = world.dir.filePath("outside.png");
    ASSERT_TRUE(red.save(png));
    WriteFile(world.dir.filePath("outside.css"), "rect { fill: #ff0000 }");
    QByteArray embedded;
    {
        QBuffer buffer(&embedded);
        red.save(&buffer, "PNG");
    }
    const QByteArray image = "<image width='20' height='10' xlink:href='";
    const struct {
        const char* name;
        QByteArray before, inside;
        bool drawnRed;
    } cases[] = {
        {"path", "", image + png.toUtf8() + "'/>", false},
        {"style sheet",
         "<?xml-stylesheet type=\"text/css\" href=\"" + world.dir.filePath("outside.css").toUtf8() +
             "\"?>",
         "", false},
        {"data URI", "", image + "data:image/png;base64," + embedded.toBase64() + "'/>", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(world.skinPath, "<?xml version=\"1.0\"?>" + c.before +
                                      "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                      "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"90\" "
                                      "height=\"10\"><g id=\"ButtonPlay\"><rect width=\"20\" "
                                      "height=\"10\"/>" +
                                      c.inside + "</g></svg>");
        world.form.SetSkinFile(world.skinPath);
        EXPECT_EQ(Opaque(world.form.Pixmap("ButtonPlay", {20, 10}, 1).toImage(), {5, 5}) ==
                      PlayColour,
                  c.drawnRed);
    }
}

TEST(SkinButtonWidget, EachStateDrawsItsVariantOrTheNextOneDown)
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

    ButtonControl latch(true);
    auto& shuffle =
        world.Place(new SkinButtonWidget("SkinButtonShuffle", "ButtonShuffle", "shuffle", latch),
                    {50, 0, 40, 20});
    QTest::mousePress(&shuffle, Qt::LeftButton, {}, middle); // no ".pressed": the element
    EXPECT_EQ(PixelAt(shuffle, middle), ShuffleColour);
    QTest::mouseRelease(&shuffle, Qt::LeftButton, {}, {60, 10});
    latch.SetPushed(true); // a routine's put shows at once
    EXPECT_EQ(PixelAt(shuffle, middle), ShufflePushedColour);
    // ".pushed" stands in for the missing ".pushed.hover", never the unlatched hover.
    Hover(shuffle, true);
    EXPECT_EQ(PixelAt(shuffle, middle), ShufflePushedColour);
    latch.SetPushed(false);
    EXPECT_EQ(PixelAt(shuffle, middle), ShuffleHoverColour);
}

// Without a skin (or never attached to one) a button draws plainly and still clicks. Clicks
// come from a left click let go inside, or the keys, and never while hidden; a latch already
// holds its new state when the click is told.
TEST(SkinButtonWidget, ClicksComeFromALeftClickInsideOrTheKeysSkinnedOrPlain)
{
    SkinWorld world;
    auto& shuffle = world.Place(
        new SkinButtonWidget("SkinButtonShuffle", "ButtonShuffle", "shuffle", true), {50, 0, 40, 20});
    SkinButtonWidget unattached("SkinButtonAdd", "ButtonPlay", "add", false, &world.window);
    unattached.setGeometry(100, 0, 40, 20);
    unattached.show();
    ButtonControl& control = shuffle.Control();
    QList<bool> pushedAtClick;
    QObject::connect(&control, &ButtonControl::clicked,
                     [&] { pushedAtClick.append(control.Pushed()); });
    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::mouseClick(&shuffle, Qt::RightButton, {}, {20, 10});
    QTest::mousePress(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::mouseRelease(&shuffle, Qt::LeftButton, {}, {45, 10}); // let go outside
    EXPECT_EQ(pushedAtClick, QList<bool>{true});
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A})
        QTest::keyClick(&shuffle, key);
    EXPECT_EQ(pushedAtClick, (QList<bool>{true, false, true, false}));
    control.SetVisible(false);
    EXPECT_FALSE(shuffle.isVisible());
    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    QTest::keyClick(&shuffle, Qt::Key_Return);
    control.SetVisible(true);
    QTest::mouseClick(&shuffle, Qt::LeftButton, {}, {20, 10});
    EXPECT_EQ(pushedAtClick.size(), 5);
    ButtonControl hidden; // hidden from the start: stays hidden when its window shows
    hidden.SetVisible(false);
    QWidget other;
    SkinButtonWidget late("SkinButtonStop", "ButtonPlay", "stop", hidden, &other);
    other.show();
    EXPECT_FALSE(late.isVisible());

    control.SetPushed(false);
    world.form.SetSkinFile(world.dir.filePath("nowhere.skn"));
    for (SkinButtonWidget* button : {&shuffle, &unattached}) {
        EXPECT_EQ(PixelAt(*button, {3, 3}), PlainButton) << button->objectName().toStdString();
        QSignalSpy clicks(&button->Control(), &ButtonControl::clicked);
        QTest::mousePress(button, Qt::LeftButton, {}, {20, 10});
        EXPECT_EQ(PixelAt(*button, {3, 3}), PlainSunken);
        QTest::mouseRelease(button, Qt::LeftButton, {}, {20, 10});
        EXPECT_EQ(clicks.count(), 1);
    }
}

// A bar of 110 × 10: the thumb (10 px) travels 100 px over the values 0…1000. A press beside
// the thumb pages once, a drag sets every value on the way, wheel and keys step within the
// range; the thumb is as wide as its art at the bar's height, or plainly nine.
TEST(SkinScrollBarWidget, PressDragWheelAndKeysMoveTheValueAndTheThumbFollowsTheArt)
{
    SkinWorld world;
    auto& bar = world.Place(
        new SkinScrollBarWidget("SkinScrollBarVolume", "HScrollVolume", 0, 1000, 500),
        {0, 0, 110, 10});
    bar.SetSteps(10, 100);
    const auto value = [&] { return bar.Control().Value(); };
    QSignalSpy changes{&bar.Control(), &ScrollBarControl::changed};
    EXPECT_EQ(PixelAt(bar, {55, 5}), ThumbColour);
    EXPECT_EQ(PixelAt(bar, {20, 5}), TrackColour);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(value(), 400);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {105, 5});
    QTest::mouseClick(&bar, Qt::LeftButton, {}, {105, 5});
    EXPECT_EQ(value(), 600);
    EXPECT_EQ(bar.ThumbRect(), QRect(60, 0, 10, 10));

    QTest::mousePress(&bar, Qt::LeftButton, {}, {63, 5}); // 3 px into the thumb
    const std::pair<int, int> drag[] = {{73, 700}, {52, 490}, {400, 1000}};
    for (const auto& [x, expected] : drag) {
        QTest::mouseMove(&bar, {x, 5});
        EXPECT_EQ(value(), expected) << x;
    }
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, {400, 5});
    QTest::mouseMove(&bar, {10, 5}); // let go: moves do nothing
    EXPECT_EQ(value(), 1000);
    EXPECT_EQ(changes.count(), 6);
    EXPECT_EQ(PixelAt(bar, {105, 5}), ThumbColour);

    bar.Control().SetValue(500);
    const std::pair<int, int> turns[] = {{120, 510}, {-240, 490}, {60, 490}, {60, 500}};
    for (const auto& [turn, expected] : turns) { // half a notch waits for the next half
        QWheelEvent wheel(QPointF(5, 5), bar.mapToGlobal(QPointF(5, 5)), {}, {0, turn},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &wheel);
        EXPECT_EQ(value(), expected) << turn;
    }
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Right, 510}, {Qt::Key_Left, 500},   {Qt::Key_PageUp, 600}, {Qt::Key_PageDown, 500},
        {Qt::Key_End, 1000},  {Qt::Key_Right, 1000}, {Qt::Key_Home, 0},     {Qt::Key_Left, 0}};
    for (const auto& [key, expected] : keys) {
        QTest::keyClick(&bar, key);
        EXPECT_EQ(value(), expected) << QTest::toString(key);
    }

    ScrollBarControl volume(0, 32000, 32000);
    auto& low = world.Place(new SkinScrollBarWidget("SkinScrollBarVolume", "HScrollVolume", volume),
                            {0, 20, 73, 9});
    EXPECT_EQ(low.ThumbRect(), QRect(64, 0, 9, 9)); // 10 × 10 art at 9 px high
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
    EXPECT_EQ(PixelAt(label, {1, 1}), LabelColour);
    const QImage blank = label.grab().toImage();
    label.Control().SetText("Vol");
    EXPECT_NE(label.grab().toImage(), blank);
    EXPECT_EQ(PixelAt(label, {1, 1}), LabelColour);

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
