#include "platform/programdir.h"

#include "platform/bytetext.h"

#include <QCoreApplication>

#include <climits>
#include <unistd.h>

namespace quillet {

QString WithTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ProgramDirectory()
{
    // The binary's path as the system holds it: a byte that is not valid UTF-8 in a folder
    // name stays that byte, so the skin and the settings beside the binary are found.
    QByteArray binary(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", binary.data(), size_t(binary.size()));
    const qsizetype slash = length > 0 ? binary.lastIndexOf('/', length - 1) : -1;
    if (slash < 0 || length >= binary.size())
        return WithTrailingSlash(QCoreApplication::applicationDirPath());
    return WithTrailingSlash(TextFromBytes(binary.first(slash == 0 ? 1 : slash)));
}

} // namespace quillet
