#include "components/skin/skinpicture.h"

#include <QPainter>

namespace quillet {

SkinPicture::SkinPicture(const QString& objectName, const QString& element, QWidget* parent)
    : SkinnedWidget(objectName, element, parent)
{
}

void SkinPicture::paintEvent(QPaintEvent*)
{
    const QPixmap picture = SkinPixmap(SkinElement(), {}, size());
    if (!picture.isNull())
        QPainter(this).drawPixmap(0, 0, picture);
}

} // namespace quillet
