// Where the program's dialogs appear and how they come and go: the main window's position as
// it stood when the menu was last opened, a dialog centred over it, and the single live copy
// of a modeless dialog. UI thread only. Positions and sizes in pixels, of the windows' outer
// frames.
#pragma once

#include <QPointer>
#include <QWidget>

namespace quillet {

class WindowPlacement {
public:
    // main: the main window, whose current size the centring uses; it outlives this object.
    explicit WindowPlacement(const QWidget& main) : m_main(main) {}

    // Keeps the left and top edges of form (the main window); both are 0 until recorded.
    void RecordMainWindowPosition(const QWidget& form);
    // Moves form so that it stands centred over the recorded position, its size unchanged.
    void CentreOverMainWindow(QWidget& form) const;

    // Half of a size difference: rounded to a whole number (a half to the even neighbour),
    // then halved with the remainder dropped, so a form larger than the main window sticks
    // out equally on both sides.
    [[nodiscard]] static int HalfDifference(double difference);

    [[nodiscard]] float RecordedLeft() const { return m_left; }
    [[nodiscard]] float RecordedTop() const { return m_top; }

private:
    const QWidget& m_main;
    float m_left = 0;
    float m_top = 0;
};

// Opens the single live copy of a modeless dialog: while one is open it is only brought
// forward (it keeps its place and contents); otherwise create() makes a new one, which is
// loaded (Form_Load: placed and filled), shown, and deleted when it is closed. live is the
// caller's handle on the copy; it empties itself when the copy is deleted.
template <typename Dialog, typename Create>
Dialog& OpenModeless(QPointer<Dialog>& live, Create create)
{
    // A copy closed a moment ago is hidden while it waits to be deleted: a new one.
    if (!live || !live->isVisible()) {
        live = create();
        live->setAttribute(Qt::WA_DeleteOnClose);
        live->Form_Load();
        live->show();
    }
    live->raise();
    live->activateWindow();
    return *live;
}

} // namespace quillet
