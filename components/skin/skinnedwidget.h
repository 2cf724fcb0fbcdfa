// What every skinned widget shares: its skin element, the form it draws from once attached,
// and the pieces of the plain look drawn when there is no skin. UI thread only. Sizes in
// device-independent pixels.
#pragma once

#include "components/skin/skinform.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <initializer_list>

class QPainter;

namespace quillet {

template <typename Interface> class SkinnedWidget : public QWidget, public Interface {
public:
    // Takes the look from form's skin from now on and repaints whenever a skin file is put.
    // A form other than the SVG one has no skin to draw from: the plain look stays.
    void AttachSkin(SkinForm& form) override
    {
        QObject::disconnect(m_repaint);
        m_form = dynamic_cast<SvgSkinForm*>(&form);
        if (m_form)
            m_repaint =
                connect(m_form, &SvgSkinForm::skinChanged, this, qOverload<>(&QWidget::update));
        update();
    }
    [[nodiscard]] QString SkinElement() const override { return m_element; }
    void SetSize(int width, int height) override { setFixedSize(width, height); }

protected:
    SkinnedWidget(const QString& objectName, const QString& element, QWidget* parent)
        : QWidget(parent), m_element(element)
    {
        setObjectName(objectName);
    }

    // The attached form, or null (never attached, or the form is gone).
    [[nodiscard]] const SvgSkinForm* Form() const { return m_form.data(); }
    // The first variant of element (element + suffix, else element) rendered at size for this
    // widget's screen; null when there is nothing to draw it from: then the plain look.
    [[nodiscard]] QPixmap SkinPixmap(const QString& element,
                                     std::initializer_list<const char*> suffixes, QSize size) const
    {
        if (!m_form)
            return {};
        return m_form->Pixmap(m_form->StateElement(element, suffixes), size, devicePixelRatioF());
    }

private:
    QString m_element;
    QPointer<SvgSkinForm> m_form;
    QMetaObject::Connection m_repaint;
};

// The widget's palette in the colour group of its state (disabled or not).
[[nodiscard]] QPalette PaintPalette(const QWidget& widget);
// A flat plain button face: 1 px border, filled darker and with its content shifted by a
// pixel when sunken (held down or latched). Returns the content rectangle.
QRect DrawPlainFace(QPainter& painter, const QRect& rect, const QPalette& palette, bool sunken);
// The discreet keyboard-focus mark: a dotted 1 px rectangle just inside rect.
void DrawFocusMark(QPainter& painter, const QRect& rect, const QPalette& palette);

} // namespace quillet
