#include "playlist/textfile.h"

#include <QFile>
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

// The system name of path, or "" when it cannot name a file (empty, or a NUL inside, which
// the system would silently take as the end of a shorter name).
QByteArray SystemName(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    return name.contains('\0') ? QByteArray() : name;
}

int WriteAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
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

} // namespace

QString SystemErrorText(int error)
{
    return QString::number(error) + QLatin1String(" - ") +
           QString::fromLocal8Bit(std::strerror(error));
}

int WriteFileAtomically(const QString& path, QByteArrayView bytes)
{
    QByteArray target = SystemName(path);
    if (target.isEmpty())
        return ENOENT;
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
    int error = 0;
    if (exists) {
        // Keep the owner where allowed and the permissions: the new file replaces the old.
        (void)::fchown(fd, old.st_uid, old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    error = WriteAll(fd, bytes.data(), bytes.size());
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
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

int ReadLines(const QString& path, qsizetype maxLineBytes,
              const std::function<int(QByteArrayView line)>& onLine)
{
    const QByteArray name = SystemName(path);
    if (name.isEmpty())
        return ENOENT;
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno;

    int error = 0;
    QByteArray pending;       // the start of a line that goes on in the next chunk
    bool afterCr = false;     // an LF right after a CR belongs to the same line end
    bool pendingLine = false; // bytes (or a started line) wait in pending
    static constexpr qsizetype ChunkSize = 256 * 1024;
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    while (error == 0) {
        const ssize_t got = ::read(fd, chunk.data(), size_t(ChunkSize));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (got == 0)
            break;
        const char* p = chunk.constData();
        const char* const end = p + got;
        if (afterCr && *p == '\n')
            ++p;
        afterCr = false;
        while (p < end && error == 0) {
            const char* stop = p;
            while (stop < end && *stop != '\r' && *stop != '\n')
                ++stop;
            if (pending.size() + (stop - p) > maxLineBytes) {
                error = ENAMETOOLONG;
                break;
            }
            if (stop == end) {
                pending.append(p, stop - p);
                pendingLine = true;
                break;
            }
            if (pendingLine) {
                pending.append(p, stop - p);
                error = onLine(pending);
                pending.clear();
                pendingLine = false;
            } else {
                error = onLine(QByteArrayView(p, stop - p));
            }
            p = stop + 1;
            if (*stop == '\r') {
                if (p == end)
                    afterCr = true;
                else if (*p == '\n')
                    ++p;
            }
        }
    }
    if (error == 0 && pendingLine)
        error = onLine(pending);
    ::close(fd);
    return error;
}

} // namespace quillet
