// Playlist files (.qlt): one source per line in UTF-8 (a file name that is not valid UTF-8
// keeps its bytes, read and written back alike), CR LF after every line, display
// names worked out again on reading. Saving, loading and their two dialogs.
// UI thread only.
#pragma once

#include "platform/userdialogs.h"

#include <QString>

namespace quillet {

class Playlist;

class PlaylistFiles {
public:
    // Longest line taken as an entry, in bytes: far beyond any path the system can open.
    static constexpr qsizetype MaxLineBytes = 32 * 1024;

    // programDir: the program's directory; the playlist folder "PlayLists" is inside it.
    PlaylistFiles(Playlist& playlist, UserDialogs& dialogs, QString programDir);

    // Writes every source of the playlist to path, replacing the file in one step. An empty
    // playlist is refused with a message and writes nothing. On a failure the message
    // "Error in WriteList" names the system error and the old file stays as it was.
    // Returns whether the file was written.
    bool WriteList(const QString& path);

    // Appends the entries of the file at path: a line that is a decimal number is a CD
    // track ("Track NN", selection untouched), any other non-empty line a media file (its
    // display name, selected). Empty lines are skipped. On a failure (missing, unreadable,
    // not a regular file, a line too long to be a path, more entries than a playlist holds)
    // the message "Error in ReadList" names it; the entries read before it stay.
    // Returns whether the whole file was read.
    bool ReadList(const QString& path);

    // Replaces the playlist with the file's entries and selects the first one ("Pos: 1",
    // "Total: n"). A load that yields no entries leaves the list and both texts empty.
    // Playback is not touched.
    void LoadPlaylistFile(const QString& path);

    // The open and save dialogs in the playlist folder; cancel changes nothing.
    void OpenListDialog();
    void SaveListDialog();

    [[nodiscard]] QString PlaylistFolder() const;
    [[nodiscard]] static QList<FileFilter> PlaylistFilters();

private:
    void ShowError(const char* routine, int error);

    Playlist& m_playlist;
    UserDialogs& m_dialogs;
    QString m_programDir;
};

} // namespace quillet
