// Audio-CD tracks as playlist entries: the whole disc listed into the playlist, one track
// added from its ".cda" shell path, and a track's stretch of disc prepared for playing.
// A CD-track entry's source is the track's 0-based index on the disc as decimal text; its
// name is "Track NN" from the disc's own track number. UI thread only.
#pragma once

#include <QString>

namespace quillet {

class CDReader;
class Playlist;
class UserDialogs;
class WaveOut;

class AudioCd {
public:
    AudioCd(CDReader& cdReader, WaveOut& waveOut, Playlist& playlist, UserDialogs& dialogs);

    // Replaces the playlist by every track of the disc and selects the first; plays nothing.
    // No disc: the playlist is left empty. An unreadable table of contents: the playlist is
    // left empty and "Unable to read CD directory" is shown.
    void LoadCdTracks();
    // Appends the track a ".cda" path names by the two digits before its extension
    // ("…Track07.cda" → source "6") and selects it. Anything unusable adds nothing.
    void AddCdTrack(const QString& path);
    // Selects the track's sectors on the reader (an index beyond the disc selects nothing)
    // and starts the output. Throws ComponentError from either.
    void PrepareCdTrack(int index);

    // "Track " and the number with at least two digits.
    [[nodiscard]] static QString TrackName(int trackNumber);
    // A playlist source that names a CD track (decimal digits, blanks around them allowed),
    // and its index; -1 for a file path.
    [[nodiscard]] static int CdTrackIndex(const QString& source);

private:
    [[nodiscard]] bool DirectoryReadable();
    void AppendTrack(int index);

    CDReader& m_cdReader;
    WaveOut& m_waveOut;
    Playlist& m_playlist;
    UserDialogs& m_dialogs;
};

} // namespace quillet
