#include "components/skin/skinform.h"
#include "components/skin/selfcontained.h"

#include "platform/readfile.h"

#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>

namespace quillet {

namespace {

// A window repaints a few dozen elements at one or two sizes each; far more than this means
// sizes keep changing, and the old renderings are of no further use.
constexpr qsizetype MaxCachedPixmaps = 512;

// The largest skin file read, in bytes: many times any real skin's drawing.
constexpr qint64 MaxSkinBytes = 32 * 1024 * 1024;

} // namespace

SvgSkinForm::SvgSkinForm(QObject* parent) : QObject(parent) {}

SvgSkinForm::~SvgSkinForm() = default;

void SvgSkinForm::SetSkinFile(const QString& path)
{
    m_file = path;
    m_renderer.reset();
    m_cache.clear();
    m_sizes.clear();
    // Read it ourselves: a missing skin is an ordinary case, not worth a warning on the
    // console; a FIFO, a device or a runaway file is as unreadable as a missing one.
    QByteArray content;
    if (ReadRegularFile(path, MaxSkinBytes, content) == 0) {
        auto renderer = std::make_unique<QSvgRenderer>();
        renderer->setFramesPerSecond(0); // a still skin: no animation timer
        // Only what the file itself holds: no image or style sheet from elsewhere.
        if (renderer->load(SelfContainedSvg(content)) && renderer->isValid())
            m_renderer = std::move(renderer);
    }
    emit skinChanged();
}

bool SvgSkinForm::HasElement(const QString& element) const
{
    return !ElementSize(element).isEmpty();
}

QSizeF SvgSkinForm::ElementSize(const QString& element) const
{
    if (!m_renderer || element.isEmpty())
        return {};
    if (const auto found = m_sizes.constFind(element); found != m_sizes.constEnd())
        return *found;
    const QSizeF size =
        m_renderer->elementExists(element) ? m_renderer->boundsOnElement(element).size() : QSizeF();
    if (m_sizes.size() >= MaxCachedPixmaps)
        m_sizes.clear();
    m_sizes.insert(element, size);
    return size;
}

QString SvgSkinForm::StateElement(const QString& element,
                                  std::initializer_list<const char*> suffixes) const
{
    for (const char* suffix : suffixes) {
        QString variant = element + QLatin1String(suffix);
        if (HasElement(variant))
            return variant;
    }
    return element;
}

QPixmap SvgSkinForm::Pixmap(const QString& element, QSize size, qreal devicePixelRatio) const
{
    if (size.isEmpty() || devicePixelRatio <= 0 || !HasElement(element))
        return {};
    const QString key = QStringLiteral("%1|%2x%3@%4")
                            .arg(element)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(devicePixelRatio);
    if (const auto found = m_cache.constFind(key); found != m_cache.constEnd())
        return *found;

    const QSize pixels = (QSizeF(size) * devicePixelRatio).toSize();
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        m_renderer->render(&painter, element, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    if (m_cache.size() >= MaxCachedPixmaps)
        m_cache.clear();
    m_cache.insert(key, pixmap);
    return pixmap;
}

void PaintForm(QPainter& painter, const SvgSkinForm& form, const QRect& area, const QRect& exposed,
               const QPalette& palette)
{
    const QRect part = exposed & area;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap background = form.Pixmap(QStringLiteral("form"), area.size(), ratio);
    if (background.isNull()) {
        painter.fillRect(part, palette.window());
        return;
    }
    const QRectF source(QPointF(part.topLeft() - area.topLeft()) * ratio,
                        QSizeF(part.size()) * ratio);
    painter.drawPixmap(QRectF(part), background, source);
}

} // namespace quillet
