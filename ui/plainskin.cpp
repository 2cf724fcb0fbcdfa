#include "ui/plainskin.h"

namespace quillet {

PlainSkinButton::PlainSkinButton(const QString& objectName, const QString& element,
                                 const QString& caption, bool twoState, QWidget* parent)
    : PlainSkinned(objectName, element, parent, twoState)
{
    setText(caption);
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
    : PlainSkinned(objectName, element, parent, minimum, maximum, value)
{
    setOrientation(Qt::Horizontal);
    setRange(m_control.Minimum(), m_control.Maximum());
    setValue(m_control.Value());
    connect(this, &QScrollBar::valueChanged, &m_control, &ScrollBarControl::SetValue);
    connect(&m_control, &ScrollBarControl::changed, this, &QScrollBar::setValue);
}

PlainSkinLabel::PlainSkinLabel(const QString& objectName, const QString& element,
                               const QString& text, QWidget* parent)
    : PlainSkinned(objectName, element, parent, text)
{
    setText(text);
    connect(&m_control, &TextControl::textChanged, this, &QLabel::setText);
}

} // namespace quillet
