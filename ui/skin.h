// The skin as the program sees it: a skin form that loads the skin file, and skinned
// buttons, scroll bars and labels that take their look from it once attached. The state the
// routines use (a button's latch, visibility and clicks, a scroll bar's value and changes,
// a label's text) lives in the control objects of controls/, so routines never touch a
// widget. UI thread only. Sizes in pixels.
#pragma once

#include "controls/controls.h"

#include <QString>

namespace quillet {

class SkinForm {
public:
    virtual ~SkinForm() = default;
    // Loads the skin file; the window and every attached control repaint from it. A missing
    // or unreadable file leaves the controls in their plain look, working as before.
    virtual void SetSkinFile(const QString& path) = 0;
    [[nodiscard]] virtual QString SkinFile() const = 0;
    [[nodiscard]] virtual bool SkinLoaded() const = 0;
};

// Everything skinned: draws itself from its own element of the form's skin once attached.
class SkinControl {
public:
    virtual ~SkinControl() = default;
    virtual void AttachSkin(SkinForm& form) = 0;
    [[nodiscard]] virtual QString SkinElement() const = 0; // "ButtonPlay", "HScrollVolume"…
    virtual void SetSize(int width, int height) = 0;       // the host's size of the control
};

// Pushed, visibility and the click notification are those of Control(). A two-state button
// toggles Pushed before the click arrives; a hidden one is neither drawn nor pressed.
class SkinButton : public SkinControl {
public:
    [[nodiscard]] virtual ButtonControl& Control() = 0;
};

// Value and its change notification (raised by a put that changes it, or by the user).
class SkinScrollBar : public SkinControl {
public:
    [[nodiscard]] virtual ScrollBarControl& Control() = 0;
};

class SkinLabel : public SkinControl {
public:
    [[nodiscard]] virtual TextControl& Control() = 0;
};

} // namespace quillet
