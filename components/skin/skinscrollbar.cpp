#include "components/skin/skinscrollbar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace quillet {

namespace {

// Paging while a press is held: the first repeat after a pause, then steadily (ms).
constexpr int FirstRepeatDelay = 300;
constexpr int RepeatInterval = 50;
constexpr int WheelNotch = 120; // eighths of a degree: one step of an ordinary wheel

} // namespace

SkinScrollBarWidget::SkinScrollBarWidget(const QString& objectName, const QString& element,
                                         int minimum, int maximum, int value, QWidget* parent)
    : SkinScrollBarWidget(objectName, element,
                          std::make_unique<ScrollBarControl>(minimum, maximum, value), parent)
{
}

SkinScrollBarWidget::SkinScrollBarWidget(const QString& objectName, const QString& element,
                                         std::unique_ptr<ScrollBarControl> own, QWidget* parent)
    : SkinScrollBarWidget(objectName, element, *own, parent)
{
    m_own = std::move(own);
}

SkinScrollBarWidget::SkinScrollBarWidget(const QString& objectName, const QString& element,
                                         ScrollBarControl& control, QWidget* parent)
    : SkinnedWidget(objectName, element, parent), m_control(&control)
{
    SetSteps(1, (control.Maximum() - control.Minimum()) / 10);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    connect(&control, &ScrollBarControl::changed, this, qOverload<>(&QWidget::update));
}

void SkinScrollBarWidget::SetSteps(int small, int large)
{
    m_small = std::max(small, 1);
    m_large = std::max(large, 1);
}

int SkinScrollBarWidget::ThumbWidth() const
{
    int thumb = PlainThumbWidth;
    if (const SvgSkinForm* form = Form()) {
        const QSizeF art = form->ElementSize(SkinElement() + QLatin1String(".thumb"));
        if (!art.isEmpty())
            thumb = qRound(art.width() * height() / art.height());
    }
    return std::clamp(thumb, 1, std::max(width(), 1));
}

int SkinScrollBarWidget::Travel() const
{
    return std::max(width() - ThumbWidth(), 0);
}

QRect SkinScrollBarWidget::ThumbRect() const
{
    const qint64 span = qint64(m_control->Maximum()) - m_control->Minimum();
    const int travel = Travel();
    const qint64 offset = qint64(m_control->Value()) - m_control->Minimum();
    const int left = span > 0 ? int((travel * offset * 2 + span) / (span * 2)) : 0; // rounded
    return {left, 0, ThumbWidth(), height()};
}

int SkinScrollBarWidget::ValueAt(int thumbLeft) const
{
    const int travel = Travel();
    if (travel == 0)
        return m_control->Value();
    const qint64 span = qint64(m_control->Maximum()) - m_control->Minimum();
    const qint64 left = std::clamp(thumbLeft, 0, travel);
    return int(m_control->Minimum() + (span * left * 2 + travel) / (travel * 2)); // rounded
}

void SkinScrollBarWidget::Step(int delta)
{
    m_control->SetValue(
        int(std::clamp<qint64>(qint64(m_control->Value()) + delta, INT_MIN, INT_MAX)));
}

void SkinScrollBarWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette palette = PaintPalette(*this);
    const QPixmap track = isEnabled() ? SkinPixmap(SkinElement(), {}, size())
                                      : SkinPixmap(SkinElement(), {".disabled"}, size());
    if (track.isNull())
        painter.fillRect(0, (height() - 3) / 2, width(), 3, palette.color(QPalette::Dark));
    else
        painter.drawPixmap(0, 0, track);

    const QRect thumb = ThumbRect();
    const QString thumbElement = SkinElement() + QLatin1String(".thumb");
    QPixmap face;
    if (!isEnabled())
        face = SkinPixmap(thumbElement, {".disabled"}, thumb.size());
    else if (m_grip >= 0)
        face = SkinPixmap(thumbElement, {".pressed"}, thumb.size());
    else if (m_hover)
        face = SkinPixmap(thumbElement, {".hover"}, thumb.size());
    else
        face = SkinPixmap(thumbElement, {}, thumb.size());
    if (face.isNull())
        DrawPlainFace(painter, thumb, palette, m_grip >= 0);
    else
        painter.drawPixmap(thumb.topLeft(), face);
    if (m_focusCue.Shown(*this))
        DrawFocusMark(painter, rect(), palette);
}

void SkinScrollBarWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_grip >= 0 || m_paging != 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x();
    const QRect thumb = ThumbRect();
    if (x >= thumb.left() && x <= thumb.right()) {
        m_grip = x - thumb.left();
        update();
        return;
    }
    m_paging = x < thumb.left() ? -1 : 1;
    m_pointerX = x;
    Step(m_paging * m_large);
    m_repeat.start(FirstRepeatDelay, this);
}

void SkinScrollBarWidget::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (m_grip >= 0)
        m_control->SetValue(ValueAt(x - m_grip));
    else if (m_paging != 0)
        m_pointerX = x;
}

void SkinScrollBarWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        LetGo();
    else
        QWidget::mouseReleaseEvent(event);
}

// While a press beside the thumb is held, pages on until the thumb reaches the pointer.
void SkinScrollBarWidget::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_repeat.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_repeat.start(RepeatInterval, this);
    PageTowardsPointer();
}

void SkinScrollBarWidget::PageTowardsPointer()
{
    const QRect thumb = ThumbRect();
    const bool beyond = m_paging < 0 ? m_pointerX < thumb.left() : m_pointerX > thumb.right();
    const int end = m_paging < 0 ? m_control->Minimum() : m_control->Maximum();
    if (!beyond || m_control->Value() == end) {
        m_repeat.stop();
        return;
    }
    Step(m_paging * m_large);
}

void SkinScrollBarWidget::wheelEvent(QWheelEvent* event)
{
    const QPoint turn = event->angleDelta();
    // A sideways wheel moves the bar the way it scrolls a view: to the right is up.
    m_wheel += std::abs(turn.x()) > std::abs(turn.y()) ? -turn.x() : turn.y();
    const int steps = m_wheel / WheelNotch;
    m_wheel -= steps * WheelNotch;
    if (steps != 0)
        Step(steps * m_small);
    event->accept();
}

void SkinScrollBarWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_focusCue.Shown(*this)) {
        m_focusCue.KeyPressed();
        update();
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        Step(-m_small);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        Step(m_small);
        break;
    case Qt::Key_PageDown:
        Step(-m_large);
        break;
    case Qt::Key_PageUp:
        Step(m_large);
        break;
    case Qt::Key_Home:
        m_control->SetValue(m_control->Minimum());
        break;
    case Qt::Key_End:
        m_control->SetValue(m_control->Maximum());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SkinScrollBarWidget::enterEvent(QEnterEvent*)
{
    m_hover = true;
    update();
}

void SkinScrollBarWidget::leaveEvent(QEvent*)
{
    m_hover = false;
    update();
}

void SkinScrollBarWidget::focusInEvent(QFocusEvent* event)
{
    m_focusCue.FocusIn(*event);
    update();
}

void SkinScrollBarWidget::focusOutEvent(QFocusEvent*)
{
    update();
}

// Disabled or hidden under a press: the release never comes, so the press ends here.
void SkinScrollBarWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        LetGo();
    QWidget::changeEvent(event);
}

void SkinScrollBarWidget::hideEvent(QHideEvent*)
{
    LetGo();
    m_hover = false;
}

void SkinScrollBarWidget::LetGo()
{
    m_repeat.stop();
    m_paging = 0;
    if (m_grip >= 0) {
        m_grip = -1;
        update();
    }
}

} // namespace quillet
