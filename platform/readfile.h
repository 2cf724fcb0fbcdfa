// Opening the files the program reads (settings, skin, playlists, tags, media) so that none
// of them can hang it or run away with its memory: only a regular file is opened, never a
// FIFO or a device, and never by a name the system would cut short at a NUL. Plain POSIX
// underneath; QtCore only, so that the program's folders and the components can share it.
// Any thread (no shared state); sizes in bytes.
#pragma once

#include <QByteArray>
#include <QString>

#include <limits>

namespace quillet {

inline constexpr qint64 NoSizeLimit = std::numeric_limits<qint64>::max();

// An open regular file: its descriptor (the caller closes it) and its size, or the errno
// of the refusal with fd -1.
struct OpenedFile {
    int fd = -1;
    qint64 size = 0;
    int error = 0;
};

// Opens path (its bytes as BytesFromText gives them) for reading: looked at before opening,
// so a FIFO or device is never opened at all; opened non-blocking, so one swapped in between
// cannot block either; looked at again once open. Refused: an empty path (ENOENT), a NUL
// inside it (EINVAL), a folder (EISDIR), anything else but a regular file (EINVAL), a file
// over maxBytes (EFBIG), and whatever the system refuses (its errno).
[[nodiscard]] OpenedFile OpenRegularFile(const QString& path, qint64 maxBytes = NoSizeLimit);

// The whole content of the regular file at path into bytes, refused as OpenRegularFile
// refuses, and also when it grows beyond maxBytes while being read. Returns 0 or the errno.
[[nodiscard]] int ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes);

// The name on disk of a path as Qt's own file functions give it (file dialogs, folder
// listings): there each byte of a name that is not valid UTF-8 has become U+FFFD, which
// names no file. Each such part of the path is looked up among its folder's entries and,
// where exactly one entry reads the same, replaced by that entry's name with its bytes kept
// (bytetext.h). Any other path comes back as it is.
[[nodiscard]] QString NameOnDisk(const QString& path);

} // namespace quillet
