// The name a playlist entry shows: "Artist - Title [Genre]" from the ID3v1 tag of an MP3
// file or the Vorbis comments of a FLAC, Ogg or Opus file, the file name for everything else. UI thread (reads the file's tag synchronously).
#pragma once

#include <QString>

#include <optional>

namespace quillet {

// The hidden scratch texts of the main window: the cleaned artist, title and genre name of
// the last tagged file that got a display name. Nothing reads them back; kept as the
// window keeps them.
struct DisplayScratch {
    QString TextTempArtist;
    QString TextTempTitle;
    QString TextTempGenre;
};

// Composes the name from cleaned tag texts: no artist → fileName; artist alone when title
// and genre are empty; "artist - title" without a genre; "artist - title [genre]" otherwise
// (with an empty title that gives two spaces between the dash and the bracket).
[[nodiscard]] QString ComposeDisplayName(const QString& artist, const QString& title,
                                         const QString& genre, const QString& fileName);

// The display name for path: only paths ending ".mp3" (any case), read for their ID3v1 tag,
// and ".flac", ".ogg", ".oga", ".opus", read for their comments, are opened; a missing,
// unreadable, short or untagged file gives FileNameFromPath(path). A tagged file also
// leaves its artist, title and genre name in scratch. Never fails, never blocks.
[[nodiscard]] QString DisplayNameFor(const QString& path, DisplayScratch& scratch);

// The display name of a CD track entry: for text that is a 0-based track index in decimal
// (digits only, surrounding spaces allowed) "Track " and index + 1 with at least two digits
// ("4" → "Track 05", " 99 " → "Track 100"; any number of digits); nullopt for other text.
[[nodiscard]] std::optional<QString> CdTrackDisplayName(const QString& text);

} // namespace quillet
