#include "components/skin/skinbutton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace quillet {

SkinButtonWidget::SkinButtonWidget(const QString& objectName, const QString& element,
                                   const QString& caption, bool twoState, QWidget* parent)
    : SkinButtonWidget(objectName, element, caption, std::make_unique<ButtonControl>(twoState),
                       parent)
{
}

SkinButtonWidget::SkinButtonWidget(const QString& objectName, const QString& element,
                                   const QString& caption, ButtonControl& control, QWidget* parent)
    : SkinnedWidget(objectName, element, parent), m_control(&control), m_caption(caption)
{
    setFocusPolicy(Qt::TabFocus); // reachable by keyboard; a click leaves the focus where it was
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(caption); // the skin's artwork says it only to the eye
    // A hidden button keeps its place, so a layout around it never shifts.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    if (!control.Visible())
        setVisible(false);
    connect(&control, &ButtonControl::visibleChanged, this, &QWidget::setVisible);
    connect(&control, &ButtonControl::pushedChanged, this, qOverload<>(&QWidget::update));
}

SkinButtonWidget::SkinButtonWidget(const QString& objectName, const QString& element,
                                   const QString& caption, std::unique_ptr<ButtonControl> own,
                                   QWidget* parent)
    : SkinButtonWidget(objectName, element, caption, *own, parent)
{
    m_own = std::move(own);
}

void SkinButtonWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pushed = m_control->TwoState() && m_control->Pushed();
    QPixmap face;
    if (!isEnabled())
        face = SkinPixmap(SkinElement(), {".disabled"}, size());
    else if (m_down)
        face = SkinPixmap(SkinElement(), {".pressed"}, size());
    else if (pushed && m_hover)
        face = SkinPixmap(SkinElement(), {".pushed.hover", ".pushed"}, size());
    else if (pushed)
        face = SkinPixmap(SkinElement(), {".pushed"}, size());
    else if (m_hover)
        face = SkinPixmap(SkinElement(), {".hover"}, size());
    else
        face = SkinPixmap(SkinElement(), {}, size());

    if (face.isNull())
        DrawPlain(painter, m_down || pushed);
    else
        painter.drawPixmap(0, 0, face);
    if (m_focusCue.Shown(*this))
        DrawFocusMark(painter, rect(), PaintPalette(*this));
}

void SkinButtonWidget::DrawPlain(QPainter& painter, bool sunken)
{
    const QPalette palette = PaintPalette(*this);
    const QRect content = DrawPlainFace(painter, rect(), palette, sunken);
    // As large as the face allows, up to 11/8 of the button's font (which follows the
    // window's size).
    QFont small = font();
    const int largest = small.pixelSize() > 0 ? small.pixelSize() * 11 / 8 : 11;
    small.setPixelSize(std::max(7, std::min(height() * 3 / 4, largest)));
    painter.setFont(small);
    painter.setPen(palette.color(QPalette::ButtonText));
    painter.drawText(content, Qt::AlignCenter, m_caption);
}

void SkinButtonWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_control->Visible()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_held = true;
    SetDown(true);
}

void SkinButtonWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_held)
        SetDown(rect().contains(event->position().toPoint()));
}

void SkinButtonWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_held) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_held = false;
    SetDown(false);
    if (rect().contains(event->position().toPoint()))
        m_control->Click();
}

void SkinButtonWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_focusCue.Shown(*this)) {
        m_focusCue.KeyPressed();
        update();
    }
    switch (event->key()) {
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            SetDown(true);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            m_control->Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SkinButtonWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (m_down && !m_held) {
        SetDown(false);
        m_control->Click();
    }
}

void SkinButtonWidget::enterEvent(QEnterEvent*)
{
    SetHover(true);
}

void SkinButtonWidget::leaveEvent(QEvent*)
{
    SetHover(false);
}

void SkinButtonWidget::focusInEvent(QFocusEvent* event)
{
    m_focusCue.FocusIn(*event);
    update();
}

// Losing the focus while Space is held cancels that press.
void SkinButtonWidget::focusOutEvent(QFocusEvent*)
{
    if (!m_held)
        SetDown(false);
    update();
}

// A button disabled or hidden under a press forgets it: the release never comes to it.
void SkinButtonWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_held = false;
        SetDown(false);
    }
    QWidget::changeEvent(event);
}

void SkinButtonWidget::hideEvent(QHideEvent*)
{
    m_held = false;
    m_down = false;
    m_hover = false;
}

void SkinButtonWidget::SetDown(bool down)
{
    if (down == m_down)
        return;
    m_down = down;
    update();
}

void SkinButtonWidget::SetHover(bool hover)
{
    if (hover == m_hover)
        return;
    m_hover = hover;
    update();
}

} // namespace quillet
