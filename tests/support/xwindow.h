// Watching the program's real window on an X display (Xvfb in the tests): find a top-level
// window by title and process. Test thread only. Times in milliseconds.
#pragma once

#include <QList>
#include <QString>

struct _XDisplay;

namespace quillet::test {

class XDisplay {
public:
    XDisplay(); // the display named by $DISPLAY
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    [[nodiscard]] bool Open() const { return m_display != nullptr; }

    // The viewable top-level windows with exactly this title, of process pid (its
    // _NET_WM_PID; 0: of any process), so tests running side by side never see each other's.
    [[nodiscard]] QList<unsigned long> WindowsTitled(const QString& title, qint64 pid);
    // Waits until such a window is viewable; 0 when none appears in time.
    [[nodiscard]] unsigned long WaitForWindow(const QString& title, qint64 pid, int timeoutMs);

private:
    ::_XDisplay* m_display = nullptr;
};

} // namespace quillet::test
