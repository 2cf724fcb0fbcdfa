// The sixteen settings texts held for the whole run, the settings file they come from and
// go back to (xquilletmp3.ini in the program directory), and the rule that turns a stored
// text into a scroll-bar position. UI thread. Positions are whole scroll-bar units.
#pragma once

#include <QString>

#include <array>

namespace quillet {

// One per key, in the order they are read at load and written at unload.
enum class SettingKey {
    continuousPlay,
    setTop,
    randomOrder,
    volume,
    balance,
    equalizerPreset,
    db32,
    db64,
    db130,
    db260,
    db500,
    db1K,
    db2K,
    db4K,
    db8K,
    db16K,
};
inline constexpr int SettingCount = 16;

struct SettingName {
    const char* section;
    const char* key;
};
[[nodiscard]] SettingName NameOf(SettingKey key);

inline constexpr char SettingsFileName[] = "xquilletmp3.ini";
// Beside the binary (programDir ends in "/"); where that folder is not writable, in the
// user's configuration folder ($XDG_CONFIG_HOME/quillet-jukebox/), created if missing.
[[nodiscard]] QString SettingsFilePath(const QString& programDir);

// The value of one key as the settings file holds it: "" when the file, the section or the
// key is missing or unreadable; a value longer than 254 characters comes back cut to 254.
[[nodiscard]] QString ReadIniString(const QString& section, const QString& key,
                                    const QString& path);

// The texts of the run. Each is kept exactly as read until the part that owns the option
// replaces it; an unusable text therefore goes back to the file unchanged.
class Settings {
public:
    [[nodiscard]] QString& operator[](SettingKey key) { return m_texts[size_t(key)]; }
    [[nodiscard]] const QString& operator[](SettingKey key) const { return m_texts[size_t(key)]; }

    // Reads one key from the file at path into its text.
    void Read(SettingKey key, const QString& path);
    // Writes all sixteen texts in key order, each as held (an empty one as "key="). A file
    // that cannot be written loses the run's settings silently and stays as it was.
    void WriteAll(const QString& path) const;

private:
    std::array<QString, SettingCount> m_texts;
};

// A switch text is on only when it is exactly "1".
[[nodiscard]] inline bool IsOn(const QString& text)
{
    return text == QLatin1String("1");
}

// A stored text as a whole number: blanks around it allowed, an optional sign, digits with
// an optional fraction and exponent; a fraction rounds to the nearest whole number and a
// half to the even neighbour ("2.5" → 2, "3.5" → 4). Throws std::invalid_argument for an
// empty or non-numeric text and std::out_of_range outside −32768…32767.
[[nodiscard]] int ToWholeNumber(const QString& text);

} // namespace quillet
