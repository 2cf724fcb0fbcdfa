// Replacing a whole file so that readers see either the old or the new content, never half
// of it. Any thread.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillet {

// Writes bytes to a temporary file in the folder of path and renames it over path. False,
// leaving any existing file as it was and no temporary behind, when the folder is missing
// or not writable or the disk is full. A symbolic link at path is followed: its target is
// replaced.
[[nodiscard]] bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace quillet
