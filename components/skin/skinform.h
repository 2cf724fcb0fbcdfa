// The skin form: loads the skin file (an SVG document whose element ids are the skin's element
// names) and renders its elements, cached, for the skinned widgets and the window background.
// UI thread only. Sizes in device-independent pixels; device pixel ratios as Qt reports them.
#pragma once

#include "ui/skin.h"

#include <QHash>
#include <QObject>
#include <QPixmap>

#include <initializer_list>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace quillet {

class SvgSkinForm : public QObject, public SkinForm {
    Q_OBJECT
public:
    explicit SvgSkinForm(QObject* parent = nullptr);
    ~SvgSkinForm() override;

    // A missing, unreadable or invalid file leaves no skin loaded, without a message; the
    // previous skin is dropped either way. skinChanged() follows every put.
    void SetSkinFile(const QString& path) override;
    [[nodiscard]] QString SkinFile() const override { return m_file; }
    [[nodiscard]] bool SkinLoaded() const override { return m_renderer != nullptr; }

    // A skin is loaded and holds a drawable element (non-empty bounds) with this id.
    [[nodiscard]] bool HasElement(const QString& element) const;
    // The element's size in the skin file; empty when it has none. Measured once per element
    // (measuring lays out the text the element holds).
    [[nodiscard]] QSizeF ElementSize(const QString& element) const;
    // The first of element + suffix that the skin holds, else element itself:
    // StateElement("ButtonShuffle", {".pushed.hover", ".pushed"}).
    [[nodiscard]] QString StateElement(const QString& element,
                                       std::initializer_list<const char*> suffixes) const;
    // The element scaled from its bounds into size × devicePixelRatio pixels, with that ratio
    // set. Null when there is no skin, no such element or the size is empty. Rendered once
    // per element, size and ratio; later calls are a look-up.
    [[nodiscard]] QPixmap Pixmap(const QString& element, QSize size, qreal devicePixelRatio) const;

signals:
    void skinChanged();

private:
    QString m_file;
    std::unique_ptr<QSvgRenderer> m_renderer;
    mutable QHash<QString, QPixmap> m_cache;
    mutable QHash<QString, QSizeF> m_sizes; // measured elements, absent ones as empty
};

// Paints the exposed part of a window's background: the element "form" stretched over area
// (the window's rectangle), or without it the palette's Window colour. The painter's device
// gives the pixel ratio.
void PaintForm(QPainter& painter, const SvgSkinForm& form, const QRect& area, const QRect& exposed,
               const QPalette& palette);

} // namespace quillet
