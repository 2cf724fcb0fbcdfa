#include "platform/xdgassociations.h"

#include "platform/atomicwrite.h"
#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace quillet {
namespace {

const QString DefaultsGroup = QStringLiteral("Default Applications");

QString BaseDirectory(const char* variable, const QString& fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    // Relative values are invalid by the base-directory rules and are ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
}

QString MimeAppsListPath()
{
    return UserConfigHome() + QStringLiteral("/mimeapps.list");
}

QString ApplicationsDirectory()
{
    return UserDataHome() + QStringLiteral("/applications");
}

// A desktop id names a file directly in the applications folder, never one elsewhere.
bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

// Creates folder (and its parents) when missing; false when it is not there afterwards.
bool EnsureFolder(const QString& folder)
{
    return QDir().mkpath(folder) && QFileInfo(folder).isDir();
}

} // namespace

QString UserConfigHome()
{
    return BaseDirectory("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString UserDataHome()
{
    return BaseDirectory("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString ReadDefaultApplication(const QString& mimeType)
{
    const QString list = ReadProfileString(DefaultsGroup, mimeType, QString(),
                                           std::numeric_limits<int>::max(), MimeAppsListPath());
    for (const QString& id : list.split(QLatin1Char(';'))) {
        const QString trimmed = id.trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return {};
}

bool WriteDefaultApplication(const QString& mimeType, const QString& desktopId)
{
    if (desktopId.contains(QLatin1Char(';')) || !EnsureFolder(UserConfigHome()))
        return false;
    return WriteProfileString(DefaultsGroup, mimeType, desktopId, MimeAppsListPath());
}

bool HasUserDesktopEntry(const QString& desktopId)
{
    return IsPlainFileName(desktopId) &&
           QFileInfo(ApplicationsDirectory() + QLatin1Char('/') + desktopId).isFile();
}

QByteArray ReadUserDesktopEntry(const QString& desktopId)
{
    constexpr qint64 MaxEntryBytes = 64 * 1024;
    const QFileInfo info(ApplicationsDirectory() + QLatin1Char('/') + desktopId);
    if (!IsPlainFileName(desktopId) || !info.isFile() || info.size() > MaxEntryBytes)
        return {};
    QFile file(info.filePath());
    return file.open(QIODevice::ReadOnly) ? file.read(MaxEntryBytes) : QByteArray();
}

bool HasInstalledDesktopEntry(const QString& desktopId)
{
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share/:/usr/share/");
    for (const QString& dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir) && IsPlainFileName(desktopId) &&
            QFileInfo(dir + QStringLiteral("/applications/") + desktopId).isFile())
            return true;
    }
    return false;
}

bool WriteUserDesktopEntry(const QString& desktopId, const QByteArray& content)
{
    const QString folder = ApplicationsDirectory();
    if (!IsPlainFileName(desktopId) || !EnsureFolder(folder))
        return false;
    return WriteFileAtomically(folder + QLatin1Char('/') + desktopId, content) == 0;
}

QString DesktopExecArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);

    QString quoted;
    if (needsQuotes) {
        quoted += QLatin1Char('"');
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        quoted += QLatin1Char('"');
    } else {
        quoted = argument;
    }

    // Then the rules of the whole Exec value: field codes, and the string escapes of the
    // file format (applied last, so a reader undoes them first; backslashes first, so the
    // escapes added after them stay single).
    return quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("%%"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\t'), QStringLiteral("\\t"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
}

} // namespace quillet
