#include "components/displays/windowsight.h"

#include <QEvent>

namespace quillet {

void WindowSight::Watch(QWidget* widget)
{
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = widget ? widget->window() : nullptr;
    if (m_window)
        m_window->installEventFilter(this);
    Follow();
}

// What may change whether the window can be seen: shown, hidden, minimised or restored (all
// seen on the window itself), exposed or covered (seen on its window on the screen).
bool WindowSight::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
    case QEvent::Expose:
        Follow();
        break;
    default:
        break;
    }
    return false;
}

// The window on the screen exists once the window has first been shown (and again after it
// is re-created).
void WindowSight::Follow()
{
    if (!m_window)
        return;
    if (m_window->windowHandle() && m_surface != m_window->windowHandle()) {
        m_surface = m_window->windowHandle();
        m_surface->installEventFilter(this);
    }
    const bool seen =
        m_window->isVisible() && !m_window->isMinimized() && m_surface && m_surface->isExposed();
    if (seen == m_seen)
        return;
    m_seen = seen;
    emit SeenChanged(seen);
}

} // namespace quillet
