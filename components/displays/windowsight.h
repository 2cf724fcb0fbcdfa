// Whether a top-level window can be seen: shown, not minimised and exposed on the screen (X
// unmaps a minimised window, so it is not exposed). Follows the window's Show, Hide and
// WindowStateChange events and its screen window's Expose events, so nothing polls. One watch
// serves everything that rests while nobody can see the window (the live displays, the time
// display, the title marquee). UI thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace quillet {

class WindowSight : public QObject {
    Q_OBJECT
public:
    explicit WindowSight(QObject* parent = nullptr) : QObject(parent) {}

    // Watches this widget's top-level window from here on (none: nothing is watched and the
    // window counts as seen, so those who follow it keep running).
    void Watch(QWidget* widget);
    [[nodiscard]] bool Seen() const { return m_seen; }

signals:
    // Raised on each change of Seen().
    void SeenChanged(bool seen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow();

    QPointer<QWidget> m_window;  // the watched top-level window
    QPointer<QWindow> m_surface; // its window on the screen, once it has one
    bool m_seen = true;
};

} // namespace quillet
