#include "components/displays/bandslider.h"

#include "components/displays/displaylook.h"

#include <QPainter>

namespace quillet {

BandSlider::BandSlider(const QString& objectName, SliderControl& control, QWidget* parent)
    : ControlSlider(objectName, control, Qt::Vertical, QSize(ThumbWidth, ThumbHeight), parent)
{
    SetSteps(DefaultSmallStep, DefaultPageStep);
    resize(DesignWidth, DesignHeight);
}

void BandSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int x = width() / 2 - 1;
    const QSize thumb = ThumbRect().size();
    const int top = thumb.height() / 2;
    painter.fillRect(
        x, top, 3, height() - 2 * top,
        QColor::fromRgb(isEnabled() ? look::SliderGroove : look::SliderGrooveDisabled));
    painter.fillRect(x + 1, top, 1, height() - 2 * top, QColor::fromRgb(look::Black));
    if (Control().Minimum() <= 0 && Control().Maximum() >= 0) {
        const int y = ThumbRectFor(0).center().y();
        const QColor mark = QColor::fromRgb(look::SliderMark);
        const int markLength = (width() - thumb.width()) / 2;
        painter.fillRect(0, y, markLength, 1, mark);
        painter.fillRect(width() - markLength, y, markLength, 1, mark);
    }
    PaintThumb(painter);
}

} // namespace quillet
