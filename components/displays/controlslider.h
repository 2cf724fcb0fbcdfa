// A slider bound to a routine's SliderControl (the look is the subclass's): it shows the
// control's range, position and enabled state and reports the user's input the way the
// routines expect. Pressing the thumb grabs it (BeginTrack), dragging moves it (SetPosition),
// letting go releases it (EndTrack); a click beside the thumb is a page step towards the
// click, and a key or a wheel notch a small or page step, each a grab, one move and a release
// at once. Positions put by a routine are shown, never reported back; a disabled slider takes
// no input. UI thread. Positions and steps in the control's units, sizes in pixels.
#pragma once

#include "components/skin/focuscue.h"

#include "controls/controls.h"

#include <QWidget>

class QPainter;

namespace quillet {

class ControlSlider : public QWidget {
    Q_OBJECT
public:
    [[nodiscard]] SliderControl& Control() const { return m_control; }
    void SetSteps(int smallStep, int pageStep);
    [[nodiscard]] int SmallStep() const { return m_smallStep; }
    [[nodiscard]] int PageStep() const { return m_pageStep; }
    // Where the thumb is drawn for the control's position (horizontal: the minimum at the
    // left; vertical: the maximum at the top).
    [[nodiscard]] QRect ThumbRect() const { return ThumbRectFor(m_control.Position()); }
    [[nodiscard]] bool Grabbed() const { return m_grabbed; }
    // The thumb at a multiple of its design size, in a window laid out larger.
    void ScaleThumb(qreal scale);

protected:
    ControlSlider(const QString& objectName, SliderControl& control, Qt::Orientation orientation,
                  QSize thumb, QWidget* parent);

    [[nodiscard]] QRect ThumbRectFor(int position) const;
    [[nodiscard]] bool Hovered() const { return m_hovered; }
    // The thumb in the shared look (every paint event draws it): a light grey body with a 1 px
    // highlight, lighter under the pointer or while held, framed in the accent colour while it has
    // the keyboard focus, flat and dark when disabled.
    void PaintThumb(QPainter& painter);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    [[nodiscard]] int Travel() const;
    [[nodiscard]] int PositionAt(QPoint point) const; // for a drag that holds the thumb there
    void Put(int position);
    void Release();
    void ShowPosition();

    SliderControl& m_control;
    Qt::Orientation m_orientation;
    QSize m_designThumb;
    QSize m_thumb;
    int m_smallStep = 1;
    int m_pageStep = 4;
    bool m_grabbed = false;
    bool m_hovered = false;
    int m_grabOffset = 0; // where along the thumb it was grabbed
    int m_wheelAngle = 0; // eighths of a degree not yet turned into a step
    QRect m_shownThumb;
    FocusCue m_focusCue;
};

} // namespace quillet
