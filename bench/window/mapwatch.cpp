#include "bench/window/mapwatch.h"

#include <QElapsedTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

namespace quillet::bench {
namespace {

// A window that is gone by the time it is asked about makes the request fail; that window
// then simply has no owner, instead of ending the benchmark.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

qint64 PidOf(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    qint64 pid = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && type == XA_CARDINAL && format == 32 && count == 1)
        pid = qint64(*reinterpret_cast<const long*>(data));
    if (data)
        XFree(data);
    return pid;
}

} // namespace

MapWatch::MapWatch() : m_display(XOpenDisplay(nullptr))
{
    if (!m_display)
        return;
    XSetErrorHandler(IgnoreXError);
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    XSync(m_display, False);
}

MapWatch::~MapWatch()
{
    if (m_display)
        XCloseDisplay(m_display);
}

unsigned long MapWatch::WaitForMap(qint64 pid, int timeoutMs)
{
    if (!m_display)
        return 0;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect &&
                PidOf(m_display, event.xmap.window) == pid)
                return event.xmap.window;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return 0;
        pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
        poll(&connection, 1, int(left));
    }
}

bool MapWatch::RequestClose(unsigned long window)
{
    if (!m_display)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(m_display, window, False, NoEventMask, &event) != 0;
    XFlush(m_display);
    return sent;
}

bool MapWatch::Iconify(unsigned long window)
{
    if (!m_display)
        return false;
    // ICCCM: the window manager marks the window iconic and unmaps it.
    const Atom state = XInternAtom(m_display, "WM_STATE", False);
    const long iconic[2] = {IconicState, None};
    XChangeProperty(m_display, window, state, state, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(iconic), 2);
    const bool unmapped = XUnmapWindow(m_display, window) != 0;
    XFlush(m_display);
    return unmapped;
}

} // namespace quillet::bench
