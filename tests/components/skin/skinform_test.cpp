// The skin form loads a skin file, renders its elements at the size and pixel ratio asked,
// picks state variants with their fallback, and is left without a skin by a bad file.
#include "components/skin/skinform.h"

#include "tests/components/skin/skintesting.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quillet {
namespace {

using namespace test;

QColor Opaque(const QImage& image, int x, int y)
{
    QColor colour = image.pixelColor(x, y);
    colour.setAlpha(255);
    return colour;
}

TEST(SkinForm, RendersAnElementFromItsBoundsIntoTheSizeAndRatioAsked)
{
    QTemporaryDir dir;
    SvgSkinForm form;
    form.SetSkinFile(WriteTestSkin(dir));
    ASSERT_TRUE(form.SkinLoaded());
    EXPECT_TRUE(form.HasElement("ButtonPlay"));
    EXPECT_FALSE(form.HasElement("ButtonStop"));
    EXPECT_FALSE(form.HasElement("Empty")); // exists, but nothing to draw
    EXPECT_EQ(form.ElementSize("HScrollVolume.thumb"), QSizeF(10, 10));

    // The 30 × 6 strip (two 3 px bands) stretched to 60 × 12, then at twice the pixels: the
    // seam between the bands lands exactly halfway, crisp.
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap strip = form.Pixmap("PictureEqualizer", {60, 12}, ratio);
        ASSERT_FALSE(strip.isNull());
        EXPECT_EQ(strip.size(), QSize(60, 12) * ratio);
        EXPECT_EQ(strip.devicePixelRatio(), ratio);
        EXPECT_EQ(strip.deviceIndependentSize(), QSizeF(60, 12));
        const QImage image = strip.toImage();
        const int seam = int(6 * ratio);
        EXPECT_EQ(Opaque(image, 0, seam - 1), StripTopColour) << ratio;
        EXPECT_EQ(Opaque(image, image.width() - 1, seam), StripBottomColour) << ratio;
    }
    // Asked again, the same rendering comes back.
    EXPECT_EQ(form.Pixmap("ButtonPlay", {20, 10}, 1).cacheKey(),
              form.Pixmap("ButtonPlay", {20, 10}, 1).cacheKey());

    EXPECT_TRUE(form.Pixmap("ButtonStop", {20, 10}, 1).isNull());
    EXPECT_TRUE(form.Pixmap("Empty", {20, 10}, 1).isNull());
    EXPECT_TRUE(form.Pixmap("ButtonPlay", {0, 10}, 1).isNull());
}

TEST(SkinForm, AStateVariantFallsBackToTheNextAndThenToTheElement)
{
    QTemporaryDir dir;
    SvgSkinForm form;
    form.SetSkinFile(WriteTestSkin(dir));
    EXPECT_EQ(form.StateElement("ButtonShuffle", {".pushed.hover", ".pushed"}),
              "ButtonShuffle.pushed");
    EXPECT_EQ(form.StateElement("ButtonPlay", {".pushed.hover", ".pushed"}), "ButtonPlay");
    EXPECT_EQ(form.StateElement("ButtonPlay", {".hover"}), "ButtonPlay.hover");
    EXPECT_EQ(form.StateElement("ButtonStop", {".hover"}), "ButtonStop");
    EXPECT_EQ(form.StateElement("ButtonPlay", {}), "ButtonPlay");
}

TEST(SkinForm, AMissingOrBrokenFileLeavesNoSkinAndEveryPutRepaints)
{
    QTemporaryDir dir;
    SvgSkinForm form;
    QSignalSpy changes(&form, &SvgSkinForm::skinChanged);
    const QString good = WriteTestSkin(dir);
    const QString broken = dir.filePath("broken.skn");
    WriteFile(broken, "<svg xmlns=\"http://www.w3.org/2000/svg\"><g id=\"ButtonPlay\">");
    const QString missing = dir.filePath("Missing/default.skn");

    for (const QString& bad : {missing, broken, dir.path(), QString()}) {
        form.SetSkinFile(good);
        ASSERT_TRUE(form.SkinLoaded());
        ASSERT_FALSE(form.Pixmap("ButtonPlay", {20, 10}, 1).isNull());
        form.SetSkinFile(bad);
        EXPECT_FALSE(form.SkinLoaded()) << bad.toStdString();
        EXPECT_EQ(form.SkinFile(), bad);
        EXPECT_FALSE(form.HasElement("ButtonPlay"));
        EXPECT_TRUE(form.Pixmap("ButtonPlay", {20, 10}, 1).isNull()) << bad.toStdString();
    }
    EXPECT_EQ(changes.count(), 8);

    // A new file under the same name is drawn afresh, not from the old file's renderings.
    form.SetSkinFile(good);
    (void)form.Pixmap("ButtonPlay", {20, 10}, 1);
    QByteArray recoloured = TestSkin();
    recoloured.replace("#ff0000", "#0000ff");
    WriteTestSkin(dir, recoloured);
    form.SetSkinFile(good);
    EXPECT_EQ(Opaque(form.Pixmap("ButtonPlay", {20, 10}, 1).toImage(), 5, 5), PlayPressedColour);
}

TEST(SkinForm, TheWindowBackgroundIsTheFormElementOrThePaletteWindowColourWhereExposed)
{
    QTemporaryDir dir;
    SvgSkinForm form;
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
    const QRect window(0, 0, 80, 60);
    const QRect exposed(40, 30, 40, 30);
    const auto paint = [&] {
        QImage image(window.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintForm(painter, form, window, exposed, palette);
        return image;
    };
    EXPECT_EQ(Opaque(paint(), 79, 59), QColor(0x11, 0x22, 0x33));
    form.SetSkinFile(WriteTestSkin(dir));
    const QImage skinned = paint();
    EXPECT_EQ(Opaque(skinned, 40, 30), FormCornerColour);
    EXPECT_EQ(Opaque(skinned, 79, 59), FormCornerColour);
    EXPECT_EQ(Opaque(skinned, 39, 29), QColor(Qt::white)); // not exposed: left alone
}

} // namespace
} // namespace quillet
