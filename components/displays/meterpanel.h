// The black panel that holds the level meters, their scale and captions: a silver and black
// outer bevel, and a light window-text colour that the captions and the scale placed in it
// inherit. UI thread; sizes in pixels.
#pragma once

#include <QWidget>

namespace quillet {

class MeterPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 167;
    static constexpr int DesignHeight = 41;

    explicit MeterPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillet
