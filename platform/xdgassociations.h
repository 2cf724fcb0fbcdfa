// The desktop's per-user file associations: the default application of each MIME type
// ($XDG_CONFIG_HOME/mimeapps.list, group "[Default Applications]") and the user's own
// desktop entries ($XDG_DATA_HOME/applications). Any thread: every call opens, reads or
// rewrites and closes the files itself.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillet {

// $XDG_CONFIG_HOME, or ~/.config when it is unset, empty or not an absolute path.
[[nodiscard]] QString UserConfigHome();
// $XDG_DATA_HOME, or ~/.local/share likewise.
[[nodiscard]] QString UserDataHome();

// The desktop id (e.g. "player.desktop") that mimeapps.list names as the default
// application for mimeType: the first non-empty entry of its ";"-separated list, since only
// that one is the default (the rest are fallbacks). "" when the file, the group or the key
// is missing or the file cannot be read.
[[nodiscard]] QString ReadDefaultApplication(const QString& mimeType);

// Sets "<mimeType>=<desktopId>" in the "[Default Applications]" group, adding the group and
// the key when missing and creating the folder and the file when they do not exist. Every
// other line of the file is kept byte for byte; the file is replaced atomically. False,
// with the file as it was, when it cannot be read or written or a name would break the
// file's format.
[[nodiscard]] bool WriteDefaultApplication(const QString& mimeType, const QString& desktopId);

// Whether $XDG_DATA_HOME/applications holds the desktop entry named desktopId.
[[nodiscard]] bool HasUserDesktopEntry(const QString& desktopId);

// The bytes of the user's desktop entry named desktopId; empty when it is missing, not a
// regular file, unreadable or implausibly large for a desktop entry.
[[nodiscard]] QByteArray ReadUserDesktopEntry(const QString& desktopId);

// Whether a desktop entry named desktopId was installed in one of the system's data folders
// ($XDG_DATA_DIRS, or /usr/local/share and /usr/share when it is unset).
[[nodiscard]] bool HasInstalledDesktopEntry(const QString& desktopId);

// Writes (atomically, creating the folder) the user's desktop entry named desktopId. False
// when it cannot be written or desktopId is not a plain file name.
[[nodiscard]] bool WriteUserDesktopEntry(const QString& desktopId, const QByteArray& content);

// One argument of a desktop entry's Exec line, exactly as it is written into the file: in
// double quotes (with ", `, $ and \ escaped) only when it holds a character the format
// reserves, with "%" doubled and the file's string escapes applied ("\\", "\n", "\t", "\r").
// Bare where no quoting is needed, because some openers take the first word of Exec as the
// program to run without removing quotes.
[[nodiscard]] QString DesktopExecArgument(const QString& argument);

} // namespace quillet
