#include "components/displays/windowsight.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace quillet {

WindowSight::~WindowSight()
{
    if (m_coverWatched)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

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
// seen on the window itself), exposed or not (seen on its window on the screen).
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

// Covered or uncovered, as the X server tells the window.
bool WindowSight::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_VISIBILITY_NOTIFY)
        return false;
    const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
    if (visibility->window == m_coverWatched) {
        m_covered = visibility->state == XCB_VISIBILITY_FULLY_OBSCURED;
        Follow();
    }
    return false;
}

// Adds visibility changes to what the X server sends about the window, keeping the events the
// toolkit asked for. Elsewhere than on X nothing is covered.
void WindowSight::WatchCover()
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto window = xcb_window_t(m_surface->winId());
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!attributes)
        return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    std::free(attributes);
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    if (!m_coverWatched)
        QCoreApplication::instance()->installNativeEventFilter(this);
    m_coverWatched = window;
    m_covered = false;
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
    if (m_surface && m_surface->handle() && m_coverWatched != quint32(m_surface->winId()))
        WatchCover();
    const bool seen = m_window->isVisible() && !m_window->isMinimized() && m_surface &&
                      m_surface->isExposed() && !m_covered;
    if (seen == m_seen)
        return;
    m_seen = seen;
    emit SeenChanged(seen);
}

} // namespace quillet
