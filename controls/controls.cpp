#include "controls/controls.h"

#include <algorithm>

namespace quillet {

ButtonControl::ButtonControl(bool twoState, QObject* parent) : QObject(parent), m_twoState(twoState)
{
}

void ButtonControl::SetPushed(bool pushed)
{
    if (pushed == m_pushed)
        return;
    m_pushed = pushed;
    emit pushedChanged(m_pushed);
}

void ButtonControl::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit visibleChanged(m_visible);
}

void ButtonControl::Click()
{
    if (!m_visible)
        return;
    if (m_twoState)
        SetPushed(!m_pushed);
    emit clicked();
}

ScrollBarControl::ScrollBarControl(int minimum, int maximum, int value, QObject* parent)
    : QObject(parent), m_minimum(std::min(minimum, maximum)), m_maximum(std::max(minimum, maximum)),
      m_value(std::clamp(value, m_minimum, m_maximum))
{
}

void ScrollBarControl::SetValue(int value)
{
    value = std::clamp(value, m_minimum, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    emit changed(m_value);
}

SliderControl::SliderControl(int maximum, QObject* parent) : SliderControl(0, maximum, parent) {}

SliderControl::SliderControl(int minimum, int maximum, QObject* parent)
    : QObject(parent), m_minimum(minimum), m_maximum(std::max(maximum, minimum)),
      m_position(std::clamp(0, m_minimum, m_maximum))
{
}

void SliderControl::SetPosition(int position)
{
    position = std::clamp(position, m_minimum, m_maximum);
    if (position == m_position)
        return;
    m_position = position;
    emit positionChanged(m_position);
}

void SliderControl::SetMaximum(int maximum)
{
    maximum = std::max(maximum, m_minimum);
    if (maximum != m_maximum) {
        m_maximum = maximum;
        emit maximumChanged(m_maximum);
    }
    SetPosition(m_position); // re-clamp
}

void SliderControl::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit enabledChanged(m_enabled);
}

void SliderControl::BeginTrack()
{
    if (!m_enabled || m_tracking)
        return;
    m_tracking = true;
    emit OnTrack();
}

void SliderControl::EndTrack()
{
    if (!m_tracking)
        return;
    m_tracking = false;
    emit OnTrackEnd();
}

void MenuItemControl::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    emit checkedChanged(m_checked);
}

void TextControl::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged(m_text);
}

} // namespace quillet
