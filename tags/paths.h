// Path helpers for display names: the file-name part of a path and the extension test that
// decides whether a file's tag is read. Pure text work, any thread.
//
// Paths keep "/" as their separator. A path without any "/" is taken as written on another
// system with "\" separators (as in playlist files brought over from elsewhere), so
// "C:\Music\a.mp3" shows as "a.mp3"; in a path that has a "/", "\" is an ordinary letter of
// a file name ("/music/AC\DC.mp3" shows as "AC\DC.mp3").
#pragma once

#include <QString>

namespace quillet {

// True when the last four characters of path, in any letter case, are ext (".MP3", ".CDA").
[[nodiscard]] bool HasExtension(const QString& path, QLatin1StringView ext);

// Only these files have their ID3v1 tag read.
[[nodiscard]] inline bool IsMp3Path(const QString& path)
{
    return HasExtension(path, QLatin1StringView(".MP3"));
}

// Changes path in place: "\" becomes "/" when the path has no "/" (see above); from the
// first NUL character to the end every character becomes NUL (the length stays). Returns
// the changed text.
QString NormalizeSlashes(QString& path);

// The text after the last separator of the normalized path (the whole text when it has
// none), without the NULs that normalizing leaves at its end, shown as a person reads it
// (platform/bytetext.h: a byte kept from a name that is not UTF-8 shows as its Windows-1252
// letter). Takes its own copy: the caller's path is never changed.
[[nodiscard]] QString FileNameFromPath(QString path);

} // namespace quillet
