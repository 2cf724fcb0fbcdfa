#include "components/skin/skinlabel.h"

#include <QPainter>

namespace quillet {

SkinLabelWidget::SkinLabelWidget(const QString& objectName, const QString& element,
                                 const QString& text, QWidget* parent)
    : SkinnedWidget(objectName, element, parent), m_text(text)
{
    setAccessibleName(text);
    connect(&m_text, &TextControl::textChanged, this, [this](const QString& shown) {
        setAccessibleName(shown);
        update();
    });
}

void SkinLabelWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPixmap background = SkinPixmap(SkinElement(), {}, size());
    if (!background.isNull())
        painter.drawPixmap(0, 0, background);
    painter.setPen(PaintPalette(*this).color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, m_text.Text());
}

} // namespace quillet
