// A skinned label: its skin element as background (if the skin has it) and its text centred
// over it in the widget's font and window-text colour. UI thread only. Sizes in pixels.
#pragma once

#include "components/skin/skinnedwidget.h"

namespace quillet {

class SkinLabelWidget : public SkinnedWidget<SkinLabel> {
    Q_OBJECT
public:
    SkinLabelWidget(const QString& objectName, const QString& element, const QString& text,
                    QWidget* parent = nullptr);

    [[nodiscard]] TextControl& Control() override { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TextControl m_text;
};

} // namespace quillet
