// Files that reach the playlist from the desktop rather than through a dialog: files and
// folders dropped on the window, and several files named on one command line. Each path is
// handled by the Add dialog's rule, a playlist file is loaded as Open List loads it, and a
// folder adds the media files under it. Nothing here starts playing. UI thread only.
#pragma once

#include <QStringList>

namespace quillet {

class MediaFiles;
class Playlist;
class PlaylistFiles;

class DesktopFiles {
public:
    DesktopFiles(Playlist& playlist, MediaFiles& mediaFiles, PlaylistFiles& playlistFiles);

    // Adds the paths in order; a ".qlt" file replaces the list with its entries. Returns the
    // index of the first entry the paths added after the last list loaded, -1 for none. The
    // last entry added ends selected.
    int Add(const QStringList& paths);

    // The media files under folder and its subfolders (of the types the Add dialog offers),
    // sorted by path. Symbolic links to folders are followed, but no folder is entered twice,
    // so a link that loops back ends there.
    [[nodiscard]] static QStringList MediaFilesUnder(const QString& folder);

private:
    Playlist& m_playlist;
    MediaFiles& m_mediaFiles;
    PlaylistFiles& m_playlistFiles;
};

} // namespace quillet
