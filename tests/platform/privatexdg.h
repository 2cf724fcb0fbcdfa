// A private home and XDG base directories for the one test of a process: the environment
// variables point into a fresh temporary folder (and are not restored: nothing runs after).
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quillet::test {

class PrivateXdg {
public:
    PrivateXdg()
    {
        Set("HOME", Path("home"));
        Set("XDG_CONFIG_HOME", Path("config"));
        Set("XDG_DATA_HOME", Path("data"));
    }

    static void Set(const char* name, const QString& value) { qputenv(name, value.toUtf8()); }

    [[nodiscard]] QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    [[nodiscard]] QString MimeApps() const { return Path("config/mimeapps.list"); }
    [[nodiscard]] QString Applications() const { return Path("data/applications"); }

private:
    QTemporaryDir m_dir;
};

} // namespace quillet::test
