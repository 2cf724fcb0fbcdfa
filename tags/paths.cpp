#include "tags/paths.h"

#include "platform/bytetext.h"

#include <algorithm>

namespace quillet {

bool HasExtension(const QString& path, QLatin1StringView ext)
{
    return path.size() >= ext.size() &&
           QStringView(path).right(ext.size()).compare(ext, Qt::CaseInsensitive) == 0;
}

QString NormalizeSlashes(QString& path)
{
    if (!path.contains(u'/'))
        path.replace(u'\\', u'/');
    const qsizetype nul = path.indexOf(QChar(0));
    if (nul >= 0) {
        QChar* text = path.data();
        std::fill(text + nul, text + path.size(), QChar(0));
    }
    return path;
}

QString FileNameFromPath(QString path)
{
    NormalizeSlashes(path);
    const qsizetype nul = path.indexOf(QChar(0));
    if (nul >= 0)
        path.truncate(nul);
    const qsizetype slash = path.lastIndexOf(u'/');
    // A name that is not valid UTF-8 shows its bytes as the letters they most likely were.
    return ShownText(slash >= 0 ? path.mid(slash + 1) : path);
}

} // namespace quillet
