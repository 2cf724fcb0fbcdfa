// The one writer for every file that replaces a user's file (settings, playlists, the
// desktop's association list, the user's desktop entries): readers see either the old or the
// new content, never half of it, and a failure is reported, never taken for success. Plain
// POSIX underneath, so failures carry the system's error number. Any thread (no shared
// state); sizes in bytes.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillet {

// Replaces the file at path (its bytes as bytetext.h keeps them) with bytes: written whole to a new
// file in the same folder, flushed to the disk, closed, and only when every one of these steps
// succeeded renamed over the old one (and the folder flushed, so the rename lasts). On any failure
// (full disk, file size limit, missing or read-only folder, a NUL inside the path) the old file
// stays byte for byte as it was and no temporary file is left behind. A symbolic link keeps
// pointing at the (rewritten) file it names; an existing file keeps its owner where allowed and its
// permissions. Only regular files are replaced (EISDIR, EINVAL otherwise), and only when
// writable. Returns 0 or the errno of the failure.
[[nodiscard]] int WriteFileAtomically(const QString& path, QByteArrayView bytes);

// "13 - Permission denied": the error number and the system's description of it.
[[nodiscard]] QString SystemErrorText(int error);

} // namespace quillet
