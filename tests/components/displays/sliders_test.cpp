// The position and band sliders: what the user's mouse, keys and wheel report to the control,
// and how a routine's puts are shown.
#include "components/displays/bandslider.h"
#include "components/displays/displaylook.h"
#include "components/displays/positionslider.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace quillet::test {
namespace {

// What the control tells the routines, in order: "begin", each new position, "end".
class Reports : public QObject {
public:
    explicit Reports(SliderControl& control)
    {
        connect(&control, &SliderControl::OnTrack, this, [this] { m_seen << "begin"; });
        connect(&control, &SliderControl::positionChanged, this,
                [this](int position) { m_seen << QString::number(position); });
        connect(&control, &SliderControl::OnTrackEnd, this, [this] { m_seen << "end"; });
    }
    QStringList Take() { return std::exchange(m_seen, {}); }

private:
    QStringList m_seen;
};

QStringList Step(int position)
{
    return {"begin", QString::number(position), "end"};
}

void Wheel(QWidget& widget, int angle)
{
    const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

struct PositionRig {
    PositionRig()
    {
        control.SetPosition(60000);
        slider.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&slider));
    }
    SliderControl control{100000};
    PositionSlider slider{"Slider1", control};
    Reports reports{control};
};

// A drag grabs, moves and releases; a click beside the thumb, a key or a wheel notch steps
// once each (a step past the end reports nothing; half a notch waits for the other half).
TEST(PositionSlider, DragClicksKeysAndWheelReportTheUsersMoves)
{
    PositionRig rig;
    rig.control.SetPosition(0);
    rig.reports.Take();
    const QPoint grab = rig.slider.ThumbRect().center() + QPoint(0, 3); // below its middle
    QTest::mousePress(&rig.slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&rig.slider, grab + QPoint(275 / 2, 0)); // half the thumb's travel
    EXPECT_NEAR(rig.control.Position(), 50000, 400);
    const int middle = rig.control.Position();
    QTest::mouseMove(&rig.slider, QPoint(1000, 8)); // beyond the end: the maximum
    QTest::mouseRelease(&rig.slider, Qt::LeftButton, {}, QPoint(1000, 8));
    EXPECT_EQ(rig.reports.Take(), (QStringList{"begin", QString::number(middle), "100000", "end"}));
    EXPECT_EQ(rig.slider.ThumbRect(), QRect(275, 3, 20, 10));

    rig.control.SetPosition(60000);
    rig.reports.Take();
    QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_EQ(rig.reports.Take(), Step(30000));
    for (int expected : {60000, 90000, 100000}) {
        QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, QPoint(290, 8));
        EXPECT_EQ(rig.reports.Take(), Step(expected));
    }
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Home, 0},       {Qt::Key_Right, 5000},
                                            {Qt::Key_PageUp, 35000}, {Qt::Key_Left, 30000},
                                            {Qt::Key_PageDown, 0},   {Qt::Key_End, 100000},
                                            {Qt::Key_Down, 95000},   {Qt::Key_Up, 100000}};
    for (const auto& [key, expected] : keys) {
        QTest::keyClick(&rig.slider, key);
        EXPECT_EQ(rig.reports.Take(), Step(expected)) << key;
    }
    QTest::keyClick(&rig.slider, Qt::Key_End);
    EXPECT_EQ(rig.reports.Take(), QStringList());
    const std::pair<int, QStringList> turns[] = {
        {-120, Step(95000)}, {60, QStringList()}, {60, Step(100000)}};
    for (const auto& [angle, expected] : turns) {
        Wheel(rig.slider, angle);
        EXPECT_EQ(rig.reports.Take(), expected) << angle;
    }
}

// A routine's puts are shown, clamped, and never reported as the user's; a disabled slider
// takes no input, and disabling ends a grab.
TEST(PositionSlider, ARoutinesPutsAreShownAndADisabledSliderTakesNoInput)
{
    PositionRig rig;
    rig.reports.Take();
    rig.control.SetPosition(250000);
    EXPECT_EQ(rig.reports.Take(), QStringList{"100000"}); // no grab, no release
    EXPECT_EQ(rig.slider.ThumbRect(), QRect(275, 3, 20, 10));
    rig.control.SetMaximum(10000);
    rig.control.SetPosition(5000);
    EXPECT_EQ(rig.slider.ThumbRect().left(), 138); // 275 / 2, rounded
    QApplication::processEvents();
    QImage image = rig.slider.grab().toImage(); // what is drawn is where the thumb is
    const QRgb thumb = image.pixel(rig.slider.ThumbRect().center());
    EXPECT_TRUE(thumb == look::ThumbBody || thumb == look::ThumbBodyHover) << thumb;
    EXPECT_EQ(image.pixel(20, 1), look::Black);

    rig.control.SetEnabled(false);
    rig.reports.Take();
    QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, rig.slider.ThumbRect().center());
    QTest::mouseClick(&rig.slider, Qt::LeftButton, {}, QPoint(2, 8));
    QTest::keyClick(&rig.slider, Qt::Key_Home);
    Wheel(rig.slider, 120);
    EXPECT_EQ(rig.reports.Take(), QStringList());
    EXPECT_EQ(rig.control.Position(), 5000);
    EXPECT_EQ(rig.slider.grab().toImage().pixel(rig.slider.ThumbRect().center()),
              look::ThumbDisabled);

    rig.control.SetEnabled(true);
    QTest::mousePress(&rig.slider, Qt::LeftButton, {}, rig.slider.ThumbRect().center());
    rig.control.SetEnabled(false); // e.g. the track ended under the user's hand
    EXPECT_EQ(rig.reports.Take(), (QStringList{"begin", "end"}));
    QTest::mouseRelease(&rig.slider, Qt::LeftButton, {}, QPoint(2, 8));
    EXPECT_EQ(rig.reports.Take(), QStringList());
}

TEST(BandSlider, PlusSixteenAtTheTopZeroMarkedInTheMiddleStepsOfOneAndFour)
{
    SliderControl band(-16, 16);
    BandSlider slider("SliderBand0", band);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    Reports reports(band);

    EXPECT_EQ(slider.ThumbRect(), QRect(2, 18, 13, 5));
    const QImage image = slider.grab().toImage();
    EXPECT_EQ(image.pixel(0, 20), look::SliderMark);
    EXPECT_EQ(image.pixel(16, 20), look::SliderMark);
    band.SetPosition(16);
    EXPECT_EQ(slider.ThumbRect().top(), 0);
    band.SetPosition(-16);
    EXPECT_EQ(slider.ThumbRect().bottom(), 40);
    reports.Take();

    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(8, 2)); // above the thumb
    EXPECT_EQ(reports.Take(), Step(-12));
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_EQ(reports.Take(), Step(-11));

    const QPoint grab = slider.ThumbRect().center();
    QTest::mousePress(&slider, Qt::LeftButton, {}, grab);
    QTest::mouseMove(&slider, QPoint(8, -30)); // dragged up past the top
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(8, -30));
    EXPECT_EQ(reports.Take(), (QStringList{"begin", "16", "end"}));
}

} // namespace
} // namespace quillet::test
