// Whether a top-level window can be seen: shown, not minimised, exposed on the screen (X
// unmaps a minimised window, so it is not exposed) and, on X, not fully covered by other
// windows (the toolkit does not tell that apart, so the window asks the X server for its
// visibility changes too; under a compositing manager X reports no window covered). Follows
// events only, so nothing polls. One watch serves everything that rests while nobody can see
// the window (the live displays, the time display, the title marquee). UI thread.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace quillet {

class WindowSight : public QObject, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit WindowSight(QObject* parent = nullptr) : QObject(parent) {}
    ~WindowSight() override;

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
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override;
    void Follow();
    void WatchCover();

    QPointer<QWidget> m_window;  // the watched top-level window
    QPointer<QWindow> m_surface; // its window on the screen, once it has one
    quint32 m_coverWatched = 0;  // the X window whose visibility changes come to us
    bool m_covered = false;      // fully covered, as X last reported
    bool m_seen = true;
};

} // namespace quillet
