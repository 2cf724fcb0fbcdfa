// Whole-file writing that never leaves a half-written file, and line-by-line reading that
// never blocks or runs away on odd input. Plain POSIX underneath, so failures carry the
// system's error number. Any thread (no shared state); sizes in bytes.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quillet {

// Replaces the file at path with bytes: written to a new file in the same folder, flushed
// to the disk, then renamed over the old one, so on any failure the old file stays exactly
// as it was and no temporary file is left behind. A symbolic link keeps pointing at the
// (rewritten) file it names; an existing file keeps its permissions. Only regular files are
// replaced, and only when writable. Returns 0 or the errno of the failure.
[[nodiscard]] int WriteFileAtomically(const QString& path, QByteArrayView bytes);

// Reads a regular file line by line; CR LF, CR and LF each end a line, and a last line
// without an ending counts too. onLine gets each line without its ending (empty lines
// included) and returns 0 to go on or an errno to stop with. A line longer than
// maxLineBytes stops the reading with ENAMETOOLONG. FIFOs, devices and directories are
// refused without being read (EINVAL, EISDIR). Returns 0 or the errno that stopped it.
[[nodiscard]] int ReadLines(const QString& path, qsizetype maxLineBytes,
                            const std::function<int(QByteArrayView line)>& onLine);

// "13 - Permission denied": the error number and the system's description of it.
[[nodiscard]] QString SystemErrorText(int error);

} // namespace quillet
