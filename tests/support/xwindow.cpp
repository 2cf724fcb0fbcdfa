#include "tests/support/xwindow.h"

#include <QElapsedTimer>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillet::test {
namespace {

// A window property's bytes when it has the given type; empty when it has not.
QByteArray Property(Display* display, Window window, const char* name, Atom wanted)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QByteArray bytes;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False,
                           wanted, &type, &format, &count, &after, &data) == Success &&
        data && type == wanted)
        bytes = QByteArray(reinterpret_cast<const char*>(data),
                           int(count) * (format == 32 ? int(sizeof(long)) : format / 8));
    if (data)
        XFree(data);
    return bytes;
}

// The title as Qt sets it on every window.
QString TitleOf(Display* display, Window window)
{
    return QString::fromUtf8(
        Property(display, window, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False)));
}

qint64 PidOf(Display* display, Window window)
{
    const QByteArray pid = Property(display, window, "_NET_WM_PID", XA_CARDINAL);
    return pid.size() == sizeof(long) ? qint64(*reinterpret_cast<const long*>(pid.data())) : 0;
}

// Windows of other clients come and go between listing and asking about them; such a request
// then fails (and is treated as "not this window") instead of ending the test process.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

XDisplay::XDisplay() : m_display(XOpenDisplay(nullptr))
{
    XSetErrorHandler(IgnoreXError);
}

XDisplay::~XDisplay()
{
    if (m_display)
        XCloseDisplay(m_display);
}

QList<unsigned long> XDisplay::WindowsTitled(const QString& title, qint64 pid)
{
    QList<unsigned long> found;
    if (!m_display)
        return found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_display, children[i], &attributes) &&
            attributes.map_state == IsViewable && TitleOf(m_display, children[i]) == title &&
            (pid == 0 || PidOf(m_display, children[i]) == pid))
            found.append(children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

unsigned long XDisplay::WaitForWindow(const QString& title, qint64 pid, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        const QList<unsigned long> windows = WindowsTitled(title, pid);
        if (!windows.isEmpty())
            return windows.first();
        QThread::msleep(2);
    } while (clock.elapsed() < timeoutMs);
    return 0;
}

} // namespace quillet::test
