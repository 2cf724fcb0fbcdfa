// An equalizer band slider: vertical, 17 × 41, +16 dB at the top, a 13 × 5 thumb over a thin
// groove, with marks at 0 dB either side; bound to one band's control (−16 … 16). Its own
// background is left to the window's art. UI thread. Positions and steps in dB, sizes in
// pixels.
#pragma once

#include "components/displays/controlslider.h"

namespace quillet {

class BandSlider : public ControlSlider {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 17;
    static constexpr int DesignHeight = 41;
    static constexpr int ThumbWidth = 13;
    static constexpr int ThumbHeight = 5;
    static constexpr int DefaultSmallStep = 1; // dB
    static constexpr int DefaultPageStep = 4;

    BandSlider(const QString& objectName, SliderControl& control, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillet
