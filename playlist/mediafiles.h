// Adding media files to the playlist: one path (the command line, the dialog) or the
// files chosen in the multi-select open dialog behind the Open and Add buttons.
// UI thread only.
#pragma once

#include "platform/userdialogs.h"

#include <QString>

#include <functional>

namespace quillet {

class Playlist;

class MediaFiles {
public:
    // cdReady: whether a readable disc is in the drive; addCdTrack: appends the CD track a
    // ".cda" file names. Either may throw; a throw ends the dialog's adding silently.
    MediaFiles(Playlist& playlist, UserDialogs& dialogs, std::function<bool()> cdReady,
               std::function<void(const QString&)> addCdTrack);

    // Appends path unchanged with its display name, selects the new entry and rewrites
    // "Total: n". Nothing plays. A full playlist adds nothing.
    void AddMediaFile(const QString& path);

    // Shows the open dialog (six filter entries, several files); each chosen ".cda" file
    // (any case) goes to addCdTrack while the CD is ready and is skipped otherwise, every
    // other file to AddMediaFile, in the dialog's order. Cancel adds nothing.
    void AddFilesDialog();
    // The dialog's rule for one chosen path (also for files dropped on the window): a
    // ".cda" file while the CD is ready goes to addCdTrack, any other to AddMediaFile.
    void HandleChosenPath(const QString& path);

    // The dialog's filter list: every type the player plays first (the one preselected, so
    // that FLAC, Ogg and Opus files show), then the classic media types, MPEG, waveform, CD
    // tracks, and FLAC, Ogg Vorbis and Opus.
    [[nodiscard]] static QList<FileFilter> MediaFilters();

private:

    Playlist& m_playlist;
    UserDialogs& m_dialogs;
    std::function<bool()> m_cdReady;
    std::function<void(const QString&)> m_addCdTrack;
};

} // namespace quillet
