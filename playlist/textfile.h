// Line-by-line reading that never blocks or runs away on odd input. Plain POSIX underneath,
// so failures carry the system's error number. Any thread (no shared state); sizes in bytes.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quillet {

// Reads a regular file line by line; CR LF, CR and LF each end a line, and a last line
// without an ending counts too. onLine gets each line without its ending (empty lines
// included) and returns 0 to go on or an errno to stop with. A line longer than
// maxLineBytes stops the reading with ENAMETOOLONG. FIFOs, devices and directories are
// refused without being read (EINVAL, EISDIR). Returns 0 or the errno that stopped it.
[[nodiscard]] int ReadLines(const QString& path, qsizetype maxLineBytes,
                            const std::function<int(QByteArrayView line)>& onLine);

} // namespace quillet
