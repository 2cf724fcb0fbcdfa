#include "app/settings.h"

#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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

int ToWholeNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^ *[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)? *$"));
    if (!number.match(text).hasMatch())
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
