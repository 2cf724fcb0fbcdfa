#include "platform/profile.h"

#include "platform/atomicwrite.h"
#include "platform/bytetext.h"
#include "platform/readfile.h"

#include <cerrno>

namespace quillet {
namespace {

constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";

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

} // namespace

// Where a key lives in the file: the line range of the first matching section and, within
// it, the first matching key line.
struct ProfileText::Location {
    qsizetype sectionLine = -1;   // the "[section]" line
    qsizetype lastEntryLine = -1; // last non-blank line of the section (its header if none)
    qsizetype keyLine = -1;
    QByteArray keyInFile; // the key as spelled in the file
    QByteArray value;     // trimmed, without quotes
};

ProfileText::ProfileText(const QByteArray& bytes)
{
    QByteArrayView rest = bytes;
    m_byteOrderMark = rest.startsWith(ByteOrderMark);
    if (m_byteOrderMark)
        rest = rest.sliced(3);
    // The line end the file already uses (that of its first line); LF for a new file.
    const qsizetype firstNewline = rest.indexOf('\n');
    m_lineEnd = firstNewline > 0 && rest[firstNewline - 1] == '\r' ? QByteArrayLiteral("\r\n")
                                                                   : QByteArrayLiteral("\n");
    while (!rest.isEmpty()) {
        const qsizetype newline = rest.indexOf('\n');
        if (newline < 0) {
            m_lines.append({rest.toByteArray(), {}});
            break;
        }
        qsizetype textEnd = newline;
        if (textEnd > 0 && rest[textEnd - 1] == '\r')
            --textEnd;
        m_lines.append({rest.first(textEnd).toByteArray(),
                        rest.sliced(textEnd, newline + 1 - textEnd).toByteArray()});
        rest = rest.sliced(newline + 1);
    }
}

ProfileText::Location ProfileText::Find(const QString& section, const QString& key) const
{
    Location where;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const std::optional<QByteArray> name = SectionName(m_lines[i].text);
        if (where.sectionLine >= 0) {
            if (name)
                break; // the end of the first matching section
            const QByteArray trimmed = TrimBlanks(m_lines[i].text);
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

std::optional<QString> ProfileText::Value(const QString& section, const QString& key) const
{
    const Location where = Find(section, key);
    if (where.keyLine < 0)
        return std::nullopt;
    return TextFromBytes(where.value);
}

bool ProfileText::Set(const QString& section, const QString& key, const QString& value)
{
    if (!ValidForWriting(section, key, value))
        return false;
    const Location where = Find(section, key);
    if (where.keyLine >= 0) {
        if (TextFromBytes(where.value) == value)
            return true; // already holds it: the line stays as it is
        m_lines[where.keyLine].text = where.keyInFile + '=' + BytesFromText(value);
        return true;
    }
    const Line keyLine{key.trimmed().toUtf8() + '=' + BytesFromText(value), m_lineEnd};
    // The file's last line may lack a line end; a line added after it needs one (a line
    // added anywhere else leaves it as it is).
    const bool afterLastLine = where.sectionLine < 0 || where.lastEntryLine == m_lines.size() - 1;
    if (afterLastLine && !m_lines.isEmpty() && m_lines.back().end.isEmpty())
        m_lines.back().end = m_lineEnd;
    qsizetype insertAt = where.lastEntryLine;
    if (where.sectionLine < 0) {
        insertAt = m_lines.size();
        m_lines.append({'[' + section.trimmed().toUtf8() + ']', m_lineEnd});
    }
    m_lines.insert(insertAt + 1, keyLine);
    return true;
}

QByteArray ProfileText::Bytes() const
{
    qsizetype size = m_byteOrderMark ? 3 : 0;
    for (const Line& line : m_lines)
        size += line.text.size() + line.end.size();
    QByteArray out;
    out.reserve(size);
    if (m_byteOrderMark)
        out += ByteOrderMark;
    for (const Line& line : m_lines)
        out += line.text + line.end;
    return out;
}

std::optional<QByteArray> ReadProfileFile(const QString& path)
{
    QByteArray bytes;
    const int error = ReadRegularFile(path, MaxProfileBytes, bytes);
    if (error == ENOENT)
        return QByteArray();
    if (error != 0)
        return std::nullopt;
    return bytes;
}

QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize, const QString& path)
{
    if (bufferSize < 1)
        return {};
    const std::optional<QByteArray> bytes = ReadProfileFile(path);
    const std::optional<QString> value =
        bytes ? ProfileText(*bytes).Value(section, key) : std::nullopt;
    return value.value_or(defaultValue).left(bufferSize - 1);
}

bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& path)
{
    const std::optional<QByteArray> bytes = ReadProfileFile(path);
    if (!bytes)
        return false;
    ProfileText text(*bytes);
    if (!text.Set(section, key, value))
        return false;
    const QByteArray out = text.Bytes();
    if (out == *bytes)
        return true; // already holds it: leave the file alone
    return WriteFileAtomically(path, out) == 0;
}

} // namespace quillet
