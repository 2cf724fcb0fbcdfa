// Reading the Vorbis comments of FLAC, Ogg Vorbis and Opus files: the artist, title, album,
// date, comment and genre texts that MP3 files keep in their ID3v1 tag. Any thread (no
// shared state); the comments are UTF-8.
#pragma once

#include "tags/id3v1.h"

#include <QString>

namespace quillet {

// The six texts, already cleaned (cut at a NUL); empty when the file has no such comment.
struct TextTags {
    QString Title;
    QString Artist;
    QString Album;
    QString Year; // the DATE comment as written, "1974" or "1974-04-06"
    QString Comment;
    QString Genre; // the genre's own text, never a number into the ID3v1 table
};

struct TextTagsRead {
    TagStatus Status = TagStatus::Unreadable;
    TextTags Tags; // empty unless Status is Found
};

// Only files whose names end ".flac", ".ogg", ".oga" or ".opus" (any case) have their
// comments read.
[[nodiscard]] bool IsVorbisCommentPath(const QString& path);

// Reads the comments of the file at path without ever blocking (a regular file only, read
// only). The content decides where they are: after "fLaC", the stream's comment block; in an
// Ogg stream of Vorbis or Opus, its second packet. Found for such a file, even one without
// comments; NoTag for any other content. Comments over 64 KiB (pictures) are skipped unread;
// a damaged or cut list gives the texts found before the damage. Never throws.
[[nodiscard]] TextTagsRead ReadVorbisComments(const QString& path);

} // namespace quillet
