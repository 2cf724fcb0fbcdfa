#include "platform/singleinstance.h"

#include <QDir>
#include <QStandardPaths>

namespace quillet {

SingleInstance::SingleInstance(const QString& lockDir)
{
    const QString dir = lockDir.isEmpty()
                            ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                            : lockDir;
    m_path = QDir(dir).filePath(QStringLiteral("quillet-jukebox.lock"));
    m_lock = std::make_unique<QLockFile>(m_path);
    // A running copy keeps its lock however long it runs; only a dead owner's lock is stale.
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryBecomeFirst()
{
    if (m_lock->isLocked())
        return true;
    if (m_lock->tryLock(0))
        return true;
    return m_lock->error() != QLockFile::LockFailedError;
}

} // namespace quillet
