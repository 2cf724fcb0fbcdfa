#include "ui/plainskin.h"

namespace quillet {

PlainSkinButton::PlainSkinButton(const QString& objectName, const QString& element,
                                 const QString& caption, bool twoState, QWidget* parent)
    : QPushButton(caption, parent), m_element(element), m_control(twoState)
{
    setObjectName(objectName);
    setCheckable(twoState);
    setFocusPolicy(Qt::NoFocus);
    // The widget reports presses; the control decides (latch, hidden) and notifies.
    connect(this, &QPushButton::clicked, &m_control, [this] {
        m_control.Click();
        setChecked(m_control.Pushed());
    });
    connect(&m_control, &ButtonControl::pushedChanged, this, &QPushButton::setChecked);
    connect(&m_control, &ButtonControl::visibleChanged, this, &QWidget::setVisible);
}

PlainSkinScrollBar::PlainSkinScrollBar(const QString& objectName, const QString& element,
                                       int minimum, int maximum, int value, QWidget* parent)
    : QScrollBar(Qt::Horizontal, parent), m_element(element), m_control(minimum, maximum, value)
{
    setObjectName(objectName);
    setRange(m_control.Minimum(), m_control.Maximum());
    setValue(m_control.Value());
    connect(this, &QScrollBar::valueChanged, &m_control, &ScrollBarControl::SetValue);
    connect(&m_control, &ScrollBarControl::changed, this, &QScrollBar::setValue);
}

PlainSkinLabel::PlainSkinLabel(const QString& objectName, const QString& element,
                               const QString& text, QWidget* parent)
    : QLabel(text, parent), m_element(element), m_control(text)
{
    setObjectName(objectName);
    connect(&m_control, &TextControl::textChanged, this, &QLabel::setText);
}

} // namespace quillet
