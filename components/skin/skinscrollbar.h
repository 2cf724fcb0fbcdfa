// A skinned horizontal scroll bar: the track is its skin element, the thumb the element
// + ".thumb" scaled to the bar's height; plainly a thin groove and a 9 px thumb without a skin.
// It shows a scroll-bar control (its own or a routine's) and puts every user move into it.
// UI thread only. Positions in pixels; values and steps in the control's units.
#pragma once

#include "components/skin/focuscue.h"

#include "components/skin/skinnedwidget.h"

#include <QBasicTimer>

#include <memory>

namespace quillet {

// The value runs linearly from Minimum at the left to Maximum at the right end of the thumb's
// travel. Input: a press beside the thumb pages one large step towards the pointer (repeating
// while held, until the thumb reaches it); dragging the thumb; the wheel (away from the user:
// up) and Left/Right small steps; PageUp/PageDown large steps; Home/End the ends.
class SkinScrollBarWidget : public SkinnedWidget<SkinScrollBar> {
    Q_OBJECT
public:
    static constexpr int PlainThumbWidth = 9;

    SkinScrollBarWidget(const QString& objectName, const QString& element, int minimum, int maximum,
                        int value, QWidget* parent = nullptr);
    // Shows control (its range and value), which outlives the widget.
    SkinScrollBarWidget(const QString& objectName, const QString& element,
                        ScrollBarControl& control, QWidget* parent = nullptr);

    [[nodiscard]] ScrollBarControl& Control() override { return *m_control; }
    void SetSteps(int small, int large); // each at least 1
    [[nodiscard]] int SmallStep() const { return m_small; }
    [[nodiscard]] int LargeStep() const { return m_large; }
    // Where the thumb is drawn for the current value.
    [[nodiscard]] QRect ThumbRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    SkinScrollBarWidget(const QString& objectName, const QString& element,
                        std::unique_ptr<ScrollBarControl> own, QWidget* parent);
    [[nodiscard]] int ThumbWidth() const;
    [[nodiscard]] int Travel() const; // pixels the thumb's left edge can move
    [[nodiscard]] int ValueAt(int thumbLeft) const;
    void Step(int delta);
    void PageTowardsPointer();
    void LetGo();

    std::unique_ptr<ScrollBarControl> m_own;
    ScrollBarControl* m_control;
    int m_small = 1;
    int m_large = 1;
    int m_grip = -1;    // while dragging: the pointer's distance from the thumb's left edge
    int m_paging = 0;   // while a press beside the thumb is held: -1 left, +1 right
    int m_pointerX = 0; // where that press is held
    int m_wheel = 0;    // wheel turn not yet worth a step, in eighths of a degree
    bool m_hover = false;
    QBasicTimer m_repeat;
    FocusCue m_focusCue;
};

} // namespace quillet
