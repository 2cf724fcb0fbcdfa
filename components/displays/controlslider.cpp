#include "components/displays/controlslider.h"

#include "components/displays/displaylook.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace quillet {

ControlSlider::ControlSlider(const QString& objectName, SliderControl& control,
                             Qt::Orientation orientation, QSize thumb, QWidget* parent)
    : QWidget(parent), m_control(control), m_orientation(orientation), m_designThumb(thumb),
      m_thumb(thumb)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setEnabled(m_control.Enabled());
    connect(&m_control, &SliderControl::positionChanged, this, &ControlSlider::ShowPosition);
    connect(&m_control, &SliderControl::maximumChanged, this, &ControlSlider::ShowPosition);
    connect(&m_control, &SliderControl::enabledChanged, this, &QWidget::setEnabled);
}

void ControlSlider::SetSteps(int smallStep, int pageStep)
{
    m_smallStep = std::max(smallStep, 1);
    m_pageStep = std::max(pageStep, 1);
}

void ControlSlider::ScaleThumb(qreal scale)
{
    m_thumb = QSize(int(std::lround(m_designThumb.width() * scale)),
                    int(std::lround(m_designThumb.height() * scale)));
    update();
}

int ControlSlider::Travel() const
{
    const int length =
        m_orientation == Qt::Horizontal ? width() - m_thumb.width() : height() - m_thumb.height();
    return std::max(length, 0);
}

QRect ControlSlider::ThumbRectFor(int position) const
{
    const int range = m_control.Maximum() - m_control.Minimum();
    const double fraction = range > 0 ? double(position - m_control.Minimum()) / range : 0.0;
    const int along = int(std::lround(fraction * Travel()));
    if (m_orientation == Qt::Horizontal)
        return QRect(QPoint(along, (height() - m_thumb.height()) / 2), m_thumb);
    return QRect(QPoint((width() - m_thumb.width()) / 2, Travel() - along), m_thumb);
}

int ControlSlider::PositionAt(QPoint point) const
{
    const int along = (m_orientation == Qt::Horizontal ? point.x() : point.y()) - m_grabOffset;
    double fraction = Travel() > 0 ? std::clamp(double(along) / Travel(), 0.0, 1.0) : 0.0;
    if (m_orientation == Qt::Vertical)
        fraction = 1.0 - fraction;
    // In doubles: a long track's milliseconds times the travel would overflow an int.
    const double range = double(m_control.Maximum()) - m_control.Minimum();
    return m_control.Minimum() + int(std::lround(fraction * range));
}

// A step by click, key or wheel: grab, move and release at once, and only when the position
// really changes.
void ControlSlider::Put(int position)
{
    if (!m_control.Enabled() || m_grabbed)
        return;
    position = std::clamp(position, m_control.Minimum(), m_control.Maximum());
    if (position == m_control.Position())
        return;
    m_control.BeginTrack();
    m_control.SetPosition(position);
    m_control.EndTrack();
}

void ControlSlider::Release()
{
    if (!m_grabbed)
        return;
    m_grabbed = false;
    m_control.EndTrack();
    update();
}

void ControlSlider::ShowPosition()
{
    const QRect thumb = ThumbRect();
    if (thumb != m_shownThumb)
        update();
}

void ControlSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_control.Enabled() || m_grabbed) {
        event->ignore();
        return;
    }
    // Only the place along the track counts: a press above or below a horizontal thumb (or
    // beside a vertical one) still grabs it.
    const QPoint at = event->position().toPoint();
    const QRect thumb = ThumbRect();
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int along = horizontal ? at.x() : at.y();
    const int thumbStart = horizontal ? thumb.left() : thumb.top();
    const int thumbEnd = horizontal ? thumb.right() : thumb.bottom();
    if (along >= thumbStart && along <= thumbEnd) {
        m_grabOffset = along - thumbStart;
        m_grabbed = true;
        m_control.BeginTrack();
        update();
        return;
    }
    const bool towardsMaximum = horizontal ? along > thumbEnd : along < thumbStart;
    Put(m_control.Position() + (towardsMaximum ? m_pageStep : -m_pageStep));
}

void ControlSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (m_grabbed)
        m_control.SetPosition(PositionAt(event->position().toPoint()));
}

void ControlSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Release();
}

void ControlSlider::focusInEvent(QFocusEvent* event)
{
    m_focusCue.FocusIn(*event);
    QWidget::focusInEvent(event); // repaints
}

void ControlSlider::keyPressEvent(QKeyEvent* event)
{
    if (!m_focusCue.Shown(*this)) {
        m_focusCue.KeyPressed();
        update();
    }
    const int position = m_control.Position();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        Put(position - m_smallStep);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        Put(position + m_smallStep);
        break;
    case Qt::Key_PageDown:
        Put(position - m_pageStep);
        break;
    case Qt::Key_PageUp:
        Put(position + m_pageStep);
        break;
    case Qt::Key_Home:
        Put(m_control.Minimum());
        break;
    case Qt::Key_End:
        Put(m_control.Maximum());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

// Turning the wheel away from the user raises the position, one small step per notch.
void ControlSlider::wheelEvent(QWheelEvent* event)
{
    if (!m_control.Enabled()) {
        event->ignore();
        return;
    }
    const QPoint angle = event->angleDelta();
    m_wheelAngle += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = m_wheelAngle / 120;
    m_wheelAngle -= notches * 120;
    if (notches != 0)
        Put(m_control.Position() + notches * m_smallStep);
    event->accept();
}

void ControlSlider::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QWidget::enterEvent(event);
}

void ControlSlider::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QWidget::leaveEvent(event);
}

// A slider disabled under a held thumb lets it go, so every grab ends with a release.
void ControlSlider::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        Release();
    QWidget::changeEvent(event);
}

void ControlSlider::PaintThumb(QPainter& painter)
{
    const QRect thumb = ThumbRect();
    m_shownThumb = thumb;
    if (!isEnabled()) {
        painter.fillRect(thumb, QColor::fromRgb(look::ThumbDisabled));
        return;
    }
    const bool lit = m_hovered || m_grabbed;
    painter.fillRect(thumb, QColor::fromRgb(lit ? look::ThumbBodyHover : look::ThumbBody));
    const QColor highlight = QColor::fromRgb(look::ThumbHighlight);
    const QColor shade = QColor::fromRgb(look::ThumbShade);
    painter.fillRect(thumb.left(), thumb.top(), thumb.width(), 1, highlight);
    painter.fillRect(thumb.left(), thumb.top(), 1, thumb.height(), highlight);
    painter.fillRect(thumb.left(), thumb.bottom(), thumb.width(), 1, shade);
    painter.fillRect(thumb.right(), thumb.top(), 1, thumb.height(), shade);
    if (m_focusCue.Shown(*this)) {
        painter.setPen(QColor::fromRgb(look::Accent));
        painter.drawRect(thumb.adjusted(0, 0, -1, -1));
    }
}

} // namespace quillet
