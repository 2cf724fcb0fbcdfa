// The one-copy-per-user rule: the first copy of the program holds a lock file in the
// user's runtime directory for as long as it runs; a later copy finds it held and ends.
// UI thread, once at start.
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace quillet {

class SingleInstance {
public:
    // lockDir "" means the user's runtime directory ($XDG_RUNTIME_DIR, or Qt's private
    // fallback when it is not set).
    explicit SingleInstance(const QString& lockDir = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the lock, also after taking over the lock of a copy
    // that died without releasing it. False when another living copy holds it. A lock that
    // cannot be created at all (no writable runtime directory) does not keep the program
    // from running: that counts as "first copy", so the player still starts.
    [[nodiscard]] bool TryBecomeFirst();

    [[nodiscard]] QString LockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace quillet
