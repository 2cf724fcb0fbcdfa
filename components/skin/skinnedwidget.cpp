#include "components/skin/skinnedwidget.h"

#include <QPainter>

namespace quillet {

QPalette PaintPalette(const QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setCurrentColorGroup(widget.isEnabled() ? QPalette::Active : QPalette::Disabled);
    return palette;
}

QRect DrawPlainFace(QPainter& painter, const QRect& rect, const QPalette& palette, bool sunken)
{
    painter.save();
    painter.setPen(palette.color(QPalette::Dark));
    painter.setBrush(palette.color(sunken ? QPalette::Mid : QPalette::Button));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
    const QRect content = rect.adjusted(1, 1, -1, -1);
    return sunken ? content.translated(1, 1) : content;
}

void DrawFocusMark(QPainter& painter, const QRect& rect, const QPalette& palette)
{
    painter.save();
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlpha(160);
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace quillet
