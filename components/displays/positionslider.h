// The playback position slider: black, a 20 × 10 thumb, no scale, a pointing-hand cursor,
// bound to the transport's position control (0 … the track's length). UI thread. Positions
// and steps in ms, sizes in pixels.
#pragma once

#include "components/displays/controlslider.h"

namespace quillet {

class PositionSlider : public ControlSlider {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 295;
    static constexpr int DesignHeight = 17;
    static constexpr int ThumbWidth = 20;
    static constexpr int ThumbHeight = 10;
    static constexpr int DefaultSmallStep = 5000; // ms
    static constexpr int DefaultPageStep = 30000;

    PositionSlider(const QString& objectName, SliderControl& control, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillet
