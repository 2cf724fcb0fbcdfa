#include "ui/designscale.h"

#include <QAbstractScrollArea>
#include <QProxyStyle>

#include <cmath>

namespace quillet {
namespace {

// The style's scroll bars (their width, arrows and shortest thumb) at a multiple of their size.
class ScaledBarStyle : public QProxyStyle {
public:
    explicit ScaledBarStyle(qreal scale) : m_scale(scale) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric != PM_ScrollBarExtent && metric != PM_ScrollBarSliderMin)
            return value;
        return int(std::lround(value * m_scale));
    }

private:
    qreal m_scale;
};

} // namespace

DesignScale::DesignScale(QWidget& window)
    : m_window(window), m_size(window.size()), m_font(window.font())
{
    Record(window);
}

// Every widget placed by hand; a scroll area places its own insides, and windows of their
// own (menus) are not part of the picture.
void DesignScale::Record(QWidget& widget)
{
    for (QObject* object : widget.children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow())
            continue;
        m_children.push_back(
            {child, child->geometry(), child->font(), child->testAttribute(Qt::WA_SetFont)});
        if (auto* area = qobject_cast<QAbstractScrollArea*>(child))
            m_bars.insert(m_bars.end(), {area->verticalScrollBar(), area->horizontalScrollBar()});
        else
            Record(*child);
    }
}

QRect DesignScale::Scaled(const QRect& design, qreal scale)
{
    const auto at = [scale](int design) { return int(std::lround(design * scale)); };
    return QRect(
        QPoint(at(design.left()), at(design.top())),
        QPoint(at(design.left() + design.width()) - 1, at(design.top() + design.height()) - 1));
}

QFont DesignScale::Scaled(QFont design, qreal scale)
{
    if (design.pixelSize() > 0)
        design.setPixelSize(std::max(1, int(std::lround(design.pixelSize() * scale))));
    else
        design.setPointSizeF(design.pointSizeF() * scale);
    return design;
}

void DesignScale::Apply(qreal scale)
{
    m_scale = scale;
    m_window.setFont(Scaled(m_font, scale));
    // The window owns the style, so it outlives the scroll bars that use it.
    QStyle* const barStyle = scale == 1 ? nullptr : new ScaledBarStyle(scale);
    if (barStyle)
        barStyle->setParent(&m_window);
    for (QScrollBar* bar : m_bars)
        if (bar)
            bar->setStyle(barStyle);
    delete m_barStyle;
    m_barStyle = barStyle;
    for (const Design& child : m_children) {
        if (!child.widget)
            continue;
        QWidget& widget = *child.widget;
        if (child.ownFont)
            widget.setFont(Scaled(child.font, scale));
        const QRect place = Scaled(child.place, scale);
        if (widget.minimumSize() == widget.maximumSize()) // a fixed size follows too
            widget.setFixedSize(place.size());
        widget.setGeometry(place);
    }
    const QSize size = Scaled(QRect(QPoint(), m_size), scale).size();
    if (m_window.minimumSize() == m_window.maximumSize())
        m_window.setFixedSize(size);
    else
        m_window.resize(size);
}

} // namespace quillet
