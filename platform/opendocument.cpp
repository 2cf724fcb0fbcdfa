#include "platform/opendocument.h"

#include "platform/bytetext.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace quillet {

bool OpenDocument(const QString& fileOrAddress)
{
    if (fileOrAddress.isEmpty())
        return false;
    // A file's address carries its name's bytes (a folder name that is not UTF-8 too).
    const QUrl url =
        QDir::isAbsolutePath(fileOrAddress)
            ? QUrl::fromEncoded("file://" + BytesFromText(fileOrAddress).toPercentEncoding("/"))
            : QUrl(fileOrAddress);
    if (!url.isValid() || url.scheme().isEmpty())
        return false;
    if (QDesktopServices::openUrl(url))
        return true;
    // Display platforms without desktop services (offscreen, minimal) and processes without
    // a GUI application refuse; the desktop's opener itself still works there. A refusal
    // above started nothing, so the document is never opened twice.
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace quillet
