#include "platform/profile.h"

#include "platform/atomicwrite.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <optional>

namespace quillet {
namespace {

// One physical line of the file: its text without the line end, and the line end itself
// ("\n", "\r\n" or "" for a last line without one).
struct Line {
    QByteArray text;
    QByteArray end;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray TrimBlanks(QByteArray text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QList<Line> SplitLines(const QByteArray& bytes)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.append({bytes.mid(start), {}});
            break;
        }
        qsizetype textEnd = newline;
        if (textEnd > start && bytes[textEnd - 1] == '\r')
            --textEnd;
        lines.append(
            {bytes.mid(start, textEnd - start), bytes.mid(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    return lines;
}

bool SameName(const QByteArray& fileName, const QString& wanted)
{
    return QString::fromUtf8(fileName).compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QByteArray> SectionName(const QByteArray& text)
{
    const QByteArray trimmed = TrimBlanks(text);
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return TrimBlanks(trimmed.mid(1, close - 1));
}

// Where a key lives in the file: the line range of the first matching section and, within
// it, the first matching key line.
struct Location {
    qsizetype sectionLine = -1;   // the "[section]" line
    qsizetype lastEntryLine = -1; // last non-blank line of the section (its header if none)
    qsizetype keyLine = -1;
    QByteArray keyInFile; // the key as spelled in the file
    QByteArray value;     // trimmed, without quotes
};

Location Find(const QList<Line>& lines, const QString& section, const QString& key)
{
    Location where;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QByteArray> name = SectionName(lines[i].text);
        if (where.sectionLine >= 0) {
            if (name)
                break; // the end of the first matching section
            const QByteArray trimmed = TrimBlanks(lines[i].text);
            if (trimmed.isEmpty())
                continue;
            where.lastEntryLine = i;
            const qsizetype equals = trimmed.indexOf('=');
            if (equals < 0 || where.keyLine >= 0)
                continue;
            const QByteArray fileKey = TrimBlanks(trimmed.left(equals));
            if (!SameName(fileKey, key))
                continue;
            where.keyLine = i;
            where.keyInFile = fileKey;
            QByteArray value = TrimBlanks(trimmed.mid(equals + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            where.value = value;
        } else if (name && SameName(*name, section)) {
            where.sectionLine = i;
            where.lastEntryLine = i;
        }
    }
    return where;
}

bool HasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool ValidForWriting(const QString& section, const QString& key, const QString& value)
{
    const QString s = section.trimmed();
    const QString k = key.trimmed();
    return !s.isEmpty() && !k.isEmpty() && !HasLineBreak(section) && !HasLineBreak(key) &&
           !HasLineBreak(value) && !s.contains(QLatin1Char(']')) && !k.contains(QLatin1Char('=')) &&
           !k.startsWith(QLatin1Char('['));
}

// The line end the file already uses (that of its first line); LF for a new file.
QByteArray FileLineEnd(const QByteArray& bytes)
{
    const qsizetype newline = bytes.indexOf('\n');
    return newline > 0 && bytes[newline - 1] == '\r' ? QByteArrayLiteral("\r\n")
                                                     : QByteArrayLiteral("\n");
}

std::optional<QByteArray> ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize, const QString& path)
{
    if (bufferSize < 1)
        return {};
    QString result = defaultValue;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const Location where = Find(SplitLines(file.readAll()), section, key);
        if (where.keyLine >= 0)
            result = QString::fromUtf8(where.value);
    }
    return result.left(bufferSize - 1);
}

bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& path)
{
    if (!ValidForWriting(section, key, value))
        return false;
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return false;
    const std::optional<QByteArray> bytes = ReadWholeFile(path);
    if (!bytes)
        return false;

    QList<Line> lines = SplitLines(*bytes);
    const QByteArray lineEnd = FileLineEnd(*bytes);
    const Location where = Find(lines, section, key);
    const QByteArray valueBytes = value.toUtf8();

    if (where.keyLine >= 0) {
        if (where.value == valueBytes)
            return true; // already holds it: leave the file alone
        lines[where.keyLine].text = where.keyInFile + '=' + valueBytes;
    } else {
        const Line keyLine{key.trimmed().toUtf8() + '=' + valueBytes, lineEnd};
        // The file's last line may lack a line end; a line added after it needs one (a line
        // added anywhere else leaves it as it is).
        const bool afterLastLine = where.sectionLine < 0 || where.lastEntryLine == lines.size() - 1;
        if (afterLastLine && !lines.isEmpty() && lines.back().end.isEmpty())
            lines.back().end = lineEnd;
        qsizetype insertAt = where.lastEntryLine;
        if (where.sectionLine < 0) {
            insertAt = lines.size();
            lines.append({'[' + section.trimmed().toUtf8() + ']', lineEnd});
        }
        lines.insert(insertAt + 1, keyLine);
    }

    QByteArray out;
    out.reserve(bytes->size() + valueBytes.size() + key.size() + section.size() + 8);
    for (const Line& line : lines)
        out += line.text + line.end;

    return WriteFileAtomically(path, out) == 0;
}

} // namespace quillet
