#include "tests/support/xwindow.h"

#include <QElapsedTimer>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quillet::test {
namespace {

QString TitleOf(Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data && type == utf8) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
    } else {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = QString::fromLocal8Bit(name);
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    return title;
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
        data && format == 32 && count == 1)
        pid = qint64(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

// Windows of other clients come and go between listing and asking about them; such a request
// then fails (and is treated as "not this window") instead of ending the test process.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

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

QByteArray XDisplay::Pixels(unsigned long window)
{
    XWindowAttributes attributes;
    if (!m_display || !XGetWindowAttributes(m_display, window, &attributes))
        return {};
    XImage* image =
        XGetImage(m_display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    QByteArray pixels(image->data, image->bytes_per_line * image->height);
    XDestroyImage(image);
    return pixels;
}

bool XDisplay::RequestClose(unsigned long window)
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

} // namespace quillet::test
