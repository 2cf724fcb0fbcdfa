// What the load sequence asks of the main window itself: its skin, the size and skin of its
// controls, its place on the screen and its visibility. The window implements it; tests use
// a recording fake. UI thread. Sizes and positions in pixels.
#pragma once

#include <QString>

namespace quillet {

class MainWindowSteps {
public:
    virtual ~MainWindowSteps() = default;

    // Gives the skin form the skin file; the window and its attached controls repaint.
    virtual void SetSkinFile(const QString& path) = 0;
    // Sets the width and height of the skin buttons and the decorative strips.
    virtual void SizeSkinControls() = 0;
    // Attaches every skinned control to the skin form, in the window's binding order.
    virtual void AttachSkins() = 0;
    // Places the window in (true) or takes it out of (false) the always-on-top band,
    // keeping its position and size.
    virtual void SetStayOnTop(bool onTop) = 0;
    // left = (screen width − window width) / 2 and the same for top, the remainders dropped.
    virtual void CentreOnScreen() = 0;
    // Shows the window, not modal.
    virtual void ShowWindow() = 0;
};

} // namespace quillet
