#include "app/settings.h"

#include "platform/atomicwrite.h"
#include "platform/bytetext.h"
#include "platform/profile.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

// The caller's buffer of the original profile call: 255 characters, one kept for its end.
constexpr int IniBufferSize = 255;

constexpr std::array<SettingName, SettingCount> Names = {{
    {"display", "continuousPlay"},
    {"display", "setTop"},
    {"display", "randomOrder"},
    {"display", "volume"},
    {"display", "balance"},
    {"equalizer", "equalizerPreset"},
    {"equalizer", "db32"},
    {"equalizer", "db64"},
    {"equalizer", "db130"},
    {"equalizer", "db260"},
    {"equalizer", "db500"},
    {"equalizer", "db1K"},
    {"equalizer", "db2K"},
    {"equalizer", "db4K"},
    {"equalizer", "db8K"},
    {"equalizer", "db16K"},
}};

} // namespace

SettingName NameOf(SettingKey key)
{
    return Names[size_t(key)];
}

SettingsFiles SettingsFilesFor(const QString& programDir)
{
    const QString beside = programDir + QLatin1String(SettingsFileName);
    if (::access(BytesFromText(programDir).constData(), W_OK) == 0)
        return {beside, beside};
    // An installed program's directory belongs to the system: the options live in the
    // user's configuration folder instead, so they are still remembered.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QLatin1String("/quillet-jukebox");
    QDir().mkpath(folder);
    const QString own = folder + QLatin1Char('/') + QLatin1String(SettingsFileName);
    struct stat besideInfo {
    }, ownInfo{};
    const bool hasBeside = ::stat(BytesFromText(beside).constData(), &besideInfo) == 0;
    const bool hasOwn = ::stat(BytesFromText(own).constData(), &ownInfo) == 0;
    const auto newer = [](const struct stat& a, const struct stat& b) {
        return a.st_mtim.tv_sec != b.st_mtim.tv_sec ? a.st_mtim.tv_sec > b.st_mtim.tv_sec
                                                    : a.st_mtim.tv_nsec > b.st_mtim.tv_nsec;
    };
    const bool readBeside = hasBeside && (!hasOwn || newer(besideInfo, ownInfo));
    return {readBeside ? beside : own, own};
}

QString ReadIniString(const QString& section, const QString& key, const QString& path)
{
    return ReadProfileString(section, key, QString(), IniBufferSize, path);
}

void Settings::Read(SettingKey key, const QString& path)
{
    if (path != m_readPath || !m_content) {
        m_readPath = path;
        m_content = ReadProfileFile(path);
    }
    const SettingName name = NameOf(key);
    const std::optional<QString> value =
        m_content
            ? ProfileText(*m_content).Value(QLatin1String(name.section), QLatin1String(name.key))
            : std::nullopt;
    (*this)[key] = value.value_or(QString()).left(IniBufferSize - 1);
}

int Settings::WriteAll(const SettingsFiles& files) const
{
    const std::optional<QByteArray> read = ReadProfileFile(files.read);
    if (!read)
        return EIO;
    ProfileText text(*read);
    for (int i = 0; i < SettingCount; ++i) {
        const SettingName name = Names[size_t(i)];
        // A text that would break the file's format (a line break in it) keeps the old line.
        (void)text.Set(QLatin1String(name.section), QLatin1String(name.key), m_texts[size_t(i)]);
    }
    const QByteArray out = text.Bytes();
    if (out == *read && files.read == files.write)
        return 0; // nothing changed: the file stays untouched
    return WriteFileAtomically(files.write, out);
}

namespace {

// Spaces, a sign, decimal digits with at most one point (a digit on at least one side), an
// optional exponent, spaces: the forms a stored number may take. Matched by hand, which
// keeps the regular-expression engine (and its compiled code) out of every start.
bool IsDecimalNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skip = [&](auto accepts) {
        const qsizetype from = i;
        while (i < n && accepts(text[i]))
            ++i;
        return i - from;
    };
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto space = [](QChar c) { return c == u' '; };
    const auto sign = [&] { i += i < n && (text[i] == u'+' || text[i] == u'-'); };
    skip(space);
    sign();
    qsizetype digits = skip(digit);
    if (i < n && text[i] == u'.') {
        ++i;
        digits += skip(digit);
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        sign();
        if (skip(digit) == 0)
            return false;
    }
    skip(space);
    return i == n;
}

} // namespace

int ToWholeNumber(const QString& text)
{
    if (!IsDecimalNumber(text))
        throw std::invalid_argument("not a number");
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw std::invalid_argument("not a number");
    const double whole = std::nearbyint(value); // the default rounding: halves to even
    if (whole < -32768.0 || whole > 32767.0)
        throw std::out_of_range("whole number out of range");
    return int(whole);
}

} // namespace quillet
