// OpenFileSource: checks that the path is a regular file and picks the decoder by content.
#include "components/audio/sources/filesources.h"
#include "playback/audioengine.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::audio {

RegularFile OpenRegularFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        throw ComponentError("no file name given");
    // stat first, so a FIFO or device node is never opened at all; O_NONBLOCK guards the
    // moment between stat and open, fstat checks what was really opened.
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        throw ComponentError("cannot open " + path.toStdString() + ": " + std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        throw ComponentError("not a regular file: " + path.toStdString());
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw ComponentError("cannot open " + path.toStdString() + ": " + std::strerror(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw ComponentError("not a regular file: " + path.toStdString());
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {fd, int64_t(st.st_size)};
}

std::unique_ptr<Source> OpenFileSource(const QString& path)
{
    const RegularFile file = OpenRegularFile(path);
    char head[12] = {};
    const ssize_t got = ::pread(file.fd, head, sizeof head, 0);
    const bool riff = got == 12 &&
                      (std::memcmp(head, "RIFF", 4) == 0 || std::memcmp(head, "RIFX", 4) == 0 ||
                       std::memcmp(head, "RF64", 4) == 0) &&
                      std::memcmp(head + 8, "WAVE", 4) == 0;
    if (riff)
        return OpenWavSource(file.fd, path);
    return OpenMpegSource(file.fd, file.size, path);
}

} // namespace quillet::audio
