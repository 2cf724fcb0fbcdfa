#include "playlist/textfile.h"

#include "platform/readfile.h"

#include <cerrno>
#include <unistd.h>

namespace quillet {

int ReadLines(const QString& path, qsizetype maxLineBytes,
              const std::function<int(QByteArrayView line)>& onLine)
{
    const OpenedFile file = OpenRegularFile(path);
    if (file.fd < 0)
        return file.error;
    const int fd = file.fd;

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
