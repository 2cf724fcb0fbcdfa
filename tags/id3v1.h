// Reading the ID3v1 tag: the fixed 128-byte block at the very end of an MP3 file. Any
// thread (no shared state); texts are single-byte Windows-1252, never UTF-8.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillet {

inline constexpr int Id3v1Size = 128; // bytes at the end of the file

// The cleaned fields of a tag; Genre is the raw genre byte (0…255).
struct Id3v1Tag {
    QString Title;
    QString Artist;
    QString Album;
    QString Year;
    QString Comment;
    int Genre = 255;
};

enum class TagStatus {
    Unreadable, // no such file, not a regular file, no permission, a read error
    NoTag,      // read, but shorter than 128 bytes or no "TAG" marker
    Found,
};

struct Id3v1Read {
    TagStatus Status = TagStatus::Unreadable;
    Id3v1Tag Tag; // empty unless Status is Found
};

// Opens the regular file at path read-only without ever blocking: FIFOs, devices, folders and
// names with a NUL are never opened. Returns the descriptor (the caller closes it) and sets
// size, or −1. Never throws.
[[nodiscard]] int OpenTagFile(const QString& path, qint64& size);

// Reads the tag of the file at path without ever blocking: only regular files are opened
// (non-blocking, read only), with one read of the last 128 bytes. Never throws.
[[nodiscard]] Id3v1Read ReadId3v1(const QString& path);

// Parses a 128-byte block ("TAG" + 125 bytes); Status is NoTag when the marker is missing.
[[nodiscard]] Id3v1Read ParseId3v1(QByteArrayView block);

// One text field: trailing spaces are removed first, then the text is cut before its first
// NUL (so spaces standing before a NUL stay); the bytes are decoded as Windows-1252.
[[nodiscard]] QString CleanTagText(QByteArrayView field);

} // namespace quillet
