// A decorative picture drawn from its skin element (the strips and spheres of the window);
// without a skin it draws nothing and the window's background shows through. UI thread only.
// Sizes in pixels.
#pragma once

#include "components/skin/skinnedwidget.h"

namespace quillet {

class SkinPicture : public SkinnedWidget<SkinControl> {
    Q_OBJECT
public:
    SkinPicture(const QString& objectName, const QString& element, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillet
