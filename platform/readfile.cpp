#include "platform/readfile.h"

#include "platform/bytetext.h"

#include <QFile>
#include <QStringList>
#include <algorithm>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

int Refusal(const struct stat& info, qint64 maxBytes)
{
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    return info.st_size > maxBytes ? EFBIG : 0;
}

} // namespace

OpenedFile OpenRegularFile(const QString& path, qint64 maxBytes)
{
    const QByteArray name = BytesFromText(path);
    if (name.isEmpty())
        return {-1, 0, ENOENT};
    if (name.contains('\0'))
        return {-1, 0, EINVAL};
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return {-1, 0, errno};
    if (const int error = Refusal(info, maxBytes); error != 0)
        return {-1, 0, error};
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {-1, 0, errno};
    int error = ::fstat(fd, &info) != 0 ? errno : Refusal(info, maxBytes);
    if (error == 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        return {-1, 0, error};
    }
    return {fd, qint64(info.st_size), 0};
}

int ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes)
{
    maxBytes = std::min(maxBytes, NoSizeLimit / 4); // room for the sums below
    const OpenedFile file = OpenRegularFile(path, maxBytes);
    if (file.fd < 0)
        return file.error;
    QByteArray content;
    // One byte more than allowed tells a file that grew past the limit from one that did not.
    const qint64 wanted = std::min(maxBytes, file.size) + 1;
    content.resize(qsizetype(wanted));
    qint64 filled = 0;
    int error = 0;
    while (error == 0) {
        if (filled == content.size()) {
            if (filled > maxBytes) {
                error = EFBIG;
                break;
            }
            content.resize(qsizetype(std::min(maxBytes + 1, filled * 2)));
        }
        const ssize_t got =
            ::read(file.fd, content.data() + filled, size_t(content.size() - filled));
        if (got < 0 && errno != EINTR)
            error = errno;
        else if (got == 0)
            break;
        else if (got > 0)
            filled += got;
    }
    ::close(file.fd);
    if (error == 0 && filled > maxBytes)
        error = EFBIG;
    if (error == 0) {
        content.truncate(qsizetype(filled));
        bytes = std::move(content);
    }
    return error;
}

QString NameOnDisk(const QString& path)
{
    constexpr QChar Replaced(0xFFFD);
    if (!path.contains(Replaced) || !path.startsWith(QLatin1Char('/')))
        return path;
    const QStringList parts = path.split(QLatin1Char('/'));
    QString found; // the path so far, bytes kept
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString part = parts[i];
        if (part.contains(Replaced)) {
            DIR* folder =
                ::opendir(BytesFromText(found.isEmpty() ? QStringLiteral("/") : found).constData());
            int matches = 0;
            while (dirent* entry = folder ? ::readdir(folder) : nullptr) {
                if (QFile::decodeName(entry->d_name) == parts[i]) {
                    part = TextFromBytes(entry->d_name);
                    ++matches;
                }
            }
            if (folder)
                ::closedir(folder);
            if (matches != 1)
                return path;
        }
        found += QLatin1Char('/') + part;
    }
    return found;
}

} // namespace quillet
