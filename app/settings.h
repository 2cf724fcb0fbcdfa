// The sixteen settings texts held for the whole run, the settings file they come from and
// go back to (xquilletmp3.ini in the program directory), and the rule that turns a stored
// text into a scroll-bar position. UI thread. Positions are whole scroll-bar units.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

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

// Where the settings come from and go to. Beside the binary (programDir ends in "/") when that
// folder can be written: both there. Otherwise the run's settings go to the user's
// configuration folder ($XDG_CONFIG_HOME/quillet-jukebox/, created if missing), and they are
// read from the newer of the two files (the one beside the binary while the user has none,
// or where an installation replaced it later), so what one run carried over the next reads.
struct SettingsFiles {
    QString read;
    QString write;
};
[[nodiscard]] SettingsFiles SettingsFilesFor(const QString& programDir);

// The value of one key as the settings file holds it: "" when the file, the section or the
// key is missing or unreadable; a value longer than 254 characters comes back cut to 254.
[[nodiscard]] QString ReadIniString(const QString& section, const QString& key,
                                    const QString& path);

// The texts of the run. Each is kept exactly as read until the part that owns the option
// replaces it; an unusable text therefore goes back to the file unchanged, byte for byte
// (a text that is not valid UTF-8 keeps its bytes, see platform/bytetext.h).
class Settings {
public:
    [[nodiscard]] QString& operator[](SettingKey key) { return m_texts[size_t(key)]; }
    [[nodiscard]] const QString& operator[](SettingKey key) const { return m_texts[size_t(key)]; }

    // Reads one key from the file at path into its text (the file itself is read once for all
    // the keys read from it).
    void Read(SettingKey key, const QString& path);
    // Writes all sixteen texts, each as held (an empty one as "key="), into the text of the
    // file they were read from, and that text to files.write in one rewrite: every other line
    // of the file read goes along. Where the file read cannot be read now, or the write
    // fails (a read-only folder, a full disk), nothing is written and the file stays as it
    // was: the run's settings are lost, nothing else. Returns 0 or the errno of the failure.
    int WriteAll(const SettingsFiles& files) const;

private:
    std::array<QString, SettingCount> m_texts;
    QString m_readPath;                  // the file Read last read
    std::optional<QByteArray> m_content; // its bytes, nothing when it could not be read
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
