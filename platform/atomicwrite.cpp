#include "platform/atomicwrite.h"

#include "platform/bytetext.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

int WriteAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (done == 0)
            return EIO; // no progress and no reason given: never spin on it
        data += done;
        size -= done;
    }
    return 0;
}

// Creates a new, empty file beside target with a name nobody else uses.
int CreateTemporary(const QByteArray& folder, QByteArray& tempName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = folder + "/.quillet-" +
                   QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd =
            ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Writes, flushes and closes the new file; the first failing step's errno, else 0. The
// descriptor is closed in any case.
int FillAndClose(int fd, QByteArrayView bytes)
{
    int error = WriteAll(fd, bytes.data(), bytes.size());
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    // close() may report a write-back failure that the writes themselves did not see.
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

} // namespace

QString SystemErrorText(int error)
{
    return QString::number(error) + QLatin1String(" - ") +
           QString::fromLocal8Bit(std::strerror(error));
}

int WriteFileAtomically(const QString& path, QByteArrayView bytes)
{
    QByteArray target = BytesFromText(path);
    // A NUL would make the system take a shorter name than the one given.
    if (target.isEmpty() || target.contains('\0'))
        return target.isEmpty() ? ENOENT : EINVAL;
    if (char resolved[PATH_MAX]; ::realpath(target.constData(), resolved) != nullptr)
        target = resolved;
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(old.st_mode))
        return EINVAL;
    // A write-protected file stays protected, although the folder would allow replacing it.
    if (exists && ::access(target.constData(), W_OK) != 0)
        return errno;
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : target.left(slash);

    QByteArray tempName;
    const int fd = CreateTemporary(folder, tempName);
    if (fd < 0)
        return errno;
    if (exists) {
        // Keep the owner where allowed and the permissions: the new file replaces the old.
        (void)::fchown(fd, old.st_uid, old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    int error = FillAndClose(fd, bytes);
    if (error == 0 && ::rename(tempName.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(tempName.constData());
        return error;
    }
    // Make the rename itself durable.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return 0;
}

} // namespace quillet
