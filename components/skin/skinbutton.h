// A skinned push button: drawn from its skin element in its state (hover, held down, disabled,
// latched), or plainly with its caption when there is no skin. It shows a button control (its
// own or a routine's) and reports clicks into it. UI thread only. Sizes in pixels.
#pragma once

#include "components/skin/focuscue.h"

#include "components/skin/skinnedwidget.h"

#include <memory>

namespace quillet {

// A click is a left press and release inside the button, Space released, or Return/Enter
// pressed while it has the keyboard focus. A hidden button (Control().Visible() false) is
// hidden: neither drawn nor pressed.
class SkinButtonWidget : public SkinnedWidget<SkinButton> {
    Q_OBJECT
public:
    // objectName: the control's name ("SkinButtonAdd"); element: its skin element ("ButtonAdd");
    // caption: the text of the plain look (a skin's artwork carries its own).
    SkinButtonWidget(const QString& objectName, const QString& element, const QString& caption,
                     bool twoState = false, QWidget* parent = nullptr);
    // Shows control (latch, two-state kind, visibility), which outlives the widget.
    SkinButtonWidget(const QString& objectName, const QString& element, const QString& caption,
                     ButtonControl& control, QWidget* parent = nullptr);

    [[nodiscard]] ButtonControl& Control() override { return *m_control; }
    [[nodiscard]] const QString& Caption() const { return m_caption; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    SkinButtonWidget(const QString& objectName, const QString& element, const QString& caption,
                     std::unique_ptr<ButtonControl> own, QWidget* parent);
    void SetDown(bool down);
    void SetHover(bool hover);
    void DrawPlain(QPainter& painter, bool sunken);

    std::unique_ptr<ButtonControl> m_own;
    ButtonControl* m_control;
    QString m_caption;
    bool m_held = false; // a left press began inside and has not been released
    bool m_down = false; // drawn held down: held with the pointer inside, or Space held
    bool m_hover = false;
    FocusCue m_focusCue;
};

} // namespace quillet
