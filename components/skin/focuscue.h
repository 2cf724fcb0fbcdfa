// The keyboard-focus mark shows only while the keyboard is in use: the focus came by Tab,
// Backtab or a shortcut, or a key was pressed since. Focus given by a click or by the window
// becoming active carries no mark. UI thread only.
#pragma once

#include <QFocusEvent>
#include <QWidget>

namespace quillet {

class FocusCue {
public:
    void FocusIn(const QFocusEvent& event)
    {
        const Qt::FocusReason reason = event.reason();
        m_keyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                     reason == Qt::ShortcutFocusReason;
    }
    void KeyPressed() { m_keyboard = true; }
    [[nodiscard]] bool Shown(const QWidget& widget) const
    {
        return m_keyboard && widget.hasFocus();
    }

private:
    bool m_keyboard = false;
};

} // namespace quillet
