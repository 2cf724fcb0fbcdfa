// Helpers shared by all tests: whole-file reads and writes, readable QString failures.
#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace quillet::test {

// Writes bytes to a file, creating folders as needed; fails the test on error.
void WriteFile(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when it cannot be read.
QByteArray ReadFile(const QString& path);

} // namespace quillet::test
