// A private home and XDG base directories for one test: the environment variables point
// into a fresh temporary folder while the object lives and are restored afterwards.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <array>
#include <optional>
#include <utility>

namespace quillet::test {

class PrivateXdg {
public:
    PrivateXdg()
    {
        for (auto& [name, old] : m_saved)
            old = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        Set("HOME", Path("home"));
        Set("XDG_CONFIG_HOME", Config());
        Set("XDG_DATA_HOME", Data());
    }
    ~PrivateXdg()
    {
        for (const auto& [name, old] : m_saved)
            old ? qputenv(name, *old) : qunsetenv(name);
    }
    PrivateXdg(const PrivateXdg&) = delete;
    PrivateXdg& operator=(const PrivateXdg&) = delete;

    // name = value for this test only (names other than those saved are not restored).
    static void Set(const char* name, const QString& value) { qputenv(name, value.toUtf8()); }

    [[nodiscard]] QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    [[nodiscard]] QString Config() const { return Path("config"); }
    [[nodiscard]] QString Data() const { return Path("data"); }
    [[nodiscard]] QString MimeApps() const { return Config() + "/mimeapps.list"; }
    [[nodiscard]] QString Applications() const { return Data() + "/applications"; }

private:
    QTemporaryDir m_dir;
    std::array<std::pair<const char*, std::optional<QByteArray>>, 3> m_saved{
        {{"HOME", {}}, {"XDG_CONFIG_HOME", {}}, {"XDG_DATA_HOME", {}}}};
};

} // namespace quillet::test
