#include "platform/programdir.h"

#include <QCoreApplication>

namespace quillet {

QString WithTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString ProgramDirectory()
{
    return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

} // namespace quillet
