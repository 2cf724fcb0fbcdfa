// A window laid out at a multiple of its design, as one picture: every child's rectangle
// (each edge rounded, so neighbours stay neighbours), every font set on the window or a child,
// the width of the scroll bars of its scroll areas and the window's own size. The design is
// what the window holds when this is made. UI thread only. Sizes in pixels.
#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <vector>

namespace quillet {

class DesignScale {
public:
    explicit DesignScale(QWidget& window);

    void Apply(qreal scale);
    [[nodiscard]] qreal Scale() const { return m_scale; }

    [[nodiscard]] static QRect Scaled(const QRect& design, qreal scale);
    [[nodiscard]] static QFont Scaled(QFont design, qreal scale);

private:
    void Record(QWidget& widget);

    struct Design {
        QPointer<QWidget> widget;
        QRect place;
        QFont font;
        bool ownFont;
    };
    QWidget& m_window;
    QSize m_size;
    QFont m_font;
    std::vector<Design> m_children;
    std::vector<QPointer<QScrollBar>> m_bars;
    QPointer<QStyle> m_barStyle; // the style's scroll bars at the size, none at the design
    qreal m_scale = 1;
};

} // namespace quillet
