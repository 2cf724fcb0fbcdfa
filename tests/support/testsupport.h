// Helpers shared by all tests: scratch directories and paths of the source tree.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quillet::test {

// The root of the source tree (QUILLET_SOURCE_DIR, set by the test command; falls back to
// the directory the build was configured from).
QString SourceDir();

// Writes bytes to a file, creating folders as needed; fails the test on error.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

}  // namespace quillet::test
