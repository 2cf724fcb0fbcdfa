#include "components/displays/meterpanel.h"

#include "components/displays/displaylook.h"

#include <QPainter>

namespace quillet {

MeterPanel::MeterPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(look::Black));
    colours.setColor(QPalette::WindowText, QColor::fromRgb(look::PanelText));
    setPalette(colours);
    resize(DesignWidth, DesignHeight);
}

// Raised edge: silver along the top and left, black along the bottom and right.
void MeterPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width(), h = height();
    painter.fillRect(rect(), QColor::fromRgb(look::Black));
    const QColor silver = QColor::fromRgb(look::PanelSilver);
    painter.fillRect(0, 0, w - 1, 1, silver);
    painter.fillRect(0, 0, 1, h - 1, silver);
}

} // namespace quillet
