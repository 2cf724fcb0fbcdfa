#include "app/settings.h"

#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>
#include <stdexcept>

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

QString SettingsFilePath(const QString& programDir)
{
    const QString beside = programDir + QLatin1String(SettingsFileName);
    if (QFileInfo(programDir).isWritable())
        return beside;
    // An installed program's directory belongs to the system: the options live in the
    // user's configuration folder instead, so they are still remembered.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QLatin1String("/quillet-jukebox");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + QLatin1String(SettingsFileName);
}

QString ReadIniString(const QString& section, const QString& key, const QString& path)
{
    return ReadProfileString(section, key, QString(), IniBufferSize, path);
}

void Settings::Read(SettingKey key, const QString& path)
{
    const SettingName name = NameOf(key);
    (*this)[key] = ReadIniString(QLatin1String(name.section), QLatin1String(name.key), path);
}

void Settings::WriteAll(const QString& path) const
{
    for (int i = 0; i < SettingCount; ++i) {
        const SettingName name = Names[size_t(i)];
        // A failed write is not looked at: the settings of this run are lost, nothing else.
        (void)WriteProfileString(QLatin1String(name.section), QLatin1String(name.key),
                                 m_texts[size_t(i)], path);
    }
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
