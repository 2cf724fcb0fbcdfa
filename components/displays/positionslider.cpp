#include "components/displays/positionslider.h"

#include "components/displays/displaylook.h"

#include <QPainter>

namespace quillet {

PositionSlider::PositionSlider(const QString& objectName, SliderControl& control, QWidget* parent)
    : ControlSlider(objectName, control, Qt::Horizontal, QSize(ThumbWidth, ThumbHeight), parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    SetSteps(DefaultSmallStep, DefaultPageStep);
    resize(DesignWidth, DesignHeight);
}

// A thin groove between the thumb's two end places, the played part a shade lighter.
void PositionSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(look::Black));
    const QRect thumb = ThumbRect();
    const int y = height() / 2 - 1;
    const int left = thumb.width() / 2;
    const int right = width() - thumb.width() / 2;
    if (isEnabled()) {
        painter.fillRect(left, y, right - left, 3, QColor::fromRgb(look::SliderGroove));
        painter.fillRect(left, y, thumb.center().x() - left, 3, QColor::fromRgb(look::SliderMark));
    } else {
        painter.fillRect(left, y, right - left, 3, QColor::fromRgb(look::SliderGrooveDisabled));
    }
    PaintThumb(painter);
}

} // namespace quillet
