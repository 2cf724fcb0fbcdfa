// Watches the X display ($DISPLAY) for top-level windows being mapped, so a benchmark learns
// the moment a process's first window appears from the server itself (MapNotify on the root
// window, the window's owner from its _NET_WM_PID). Listens from construction on, so a window
// mapped before the wait begins is not missed. One thread. Times in milliseconds.
#pragma once

#include <QtGlobal>

struct _XDisplay;

namespace quillet::bench {

class MapWatch {
public:
    MapWatch();
    ~MapWatch();
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    [[nodiscard]] bool Open() const { return m_display != nullptr; }
    // The first top-level window of process pid mapped since the watch began (or since the
    // last wait for that pid), waiting up to timeoutMs; 0 when none was mapped in time.
    // Maps of other processes' windows are passed over.
    [[nodiscard]] unsigned long WaitForMap(qint64 pid, int timeoutMs);
    // Asks the window to close the way a window manager's close button does
    // (WM_DELETE_WINDOW); false when the request cannot be sent.
    bool RequestClose(unsigned long window);
    // Minimises the window as a window manager does (marked iconic, then unmapped).
    bool Iconify(unsigned long window);

private:
    ::_XDisplay* m_display = nullptr;
};

} // namespace quillet::bench
