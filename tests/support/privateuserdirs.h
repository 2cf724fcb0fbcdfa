// Every test process gets its own, empty user configuration and data directories, so what
// the program registers at start (default applications, desktop entries) never reaches the
// account that runs the tests. Called by the test mains before anything else.
#pragma once

#include <QDir>
#include <QTemporaryDir>

namespace quillet::test {

inline void UsePrivateUserDirs()
{
    static QTemporaryDir dir; // removed when the process ends
    if (!dir.isValid())
        return;
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
}

} // namespace quillet::test
