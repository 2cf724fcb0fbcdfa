// Helpers shared by all tests: whole-file reads and writes.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillet::test {

// Writes bytes to a file, creating folders as needed; fails the test on error.
void WriteFile(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when it cannot be read.
QByteArray ReadFile(const QString& path);

} // namespace quillet::test
