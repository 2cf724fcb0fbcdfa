#include "tags/id3v1.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80…0x9F. The five bytes it leaves undefined
// keep their Latin-1 (control character) meaning, as the system converter does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// Field offsets inside the 128-byte block.
constexpr int kTitle = 3, kArtist = 33, kAlbum = 63, kYear = 93, kComment = 97, kGenre = 127;

} // namespace

QString CleanTagText(QByteArrayView field)
{
    while (!field.isEmpty() && field.back() == ' ')
        field.chop(1);
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field.truncate(nul);
    return DecodeCp1252(field);
}

Id3v1Read ParseId3v1(QByteArrayView block)
{
    Id3v1Read result;
    result.Status = TagStatus::NoTag;
    if (block.size() != Id3v1Size || !block.startsWith("TAG"))
        return result;
    result.Status = TagStatus::Found;
    result.Tag.Title = CleanTagText(block.sliced(kTitle, 30));
    result.Tag.Artist = CleanTagText(block.sliced(kArtist, 30));
    result.Tag.Album = CleanTagText(block.sliced(kAlbum, 30));
    result.Tag.Year = CleanTagText(block.sliced(kYear, 4));
    result.Tag.Comment = CleanTagText(block.sliced(kComment, 30));
    result.Tag.Genre = static_cast<unsigned char>(block[kGenre]);
    return result;
}

int OpenTagFile(const QString& path, qint64& size)
{
    const QByteArray name = QFile::encodeName(path);
    // A NUL inside the path would make the system open a different, shorter name.
    if (name.isEmpty() || name.contains('\0'))
        return -1;
    // Looking before opening keeps FIFOs, devices and directories closed: opening some of
    // them blocks or has side effects.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    size = info.st_size;
    return fd;
}

Id3v1Read ReadId3v1(const QString& path)
{
    Id3v1Read result;
    qint64 size = 0;
    const int fd = OpenTagFile(path, size);
    if (fd < 0)
        return result;
    if (size < Id3v1Size) {
        ::close(fd);
        result.Status = TagStatus::NoTag;
        return result;
    }
    char block[Id3v1Size];
    ssize_t got;
    do {
        got = ::pread(fd, block, sizeof block, size - Id3v1Size);
    } while (got < 0 && errno == EINTR);
    ::close(fd);
    if (got < 0)
        return result;
    // A file that shrank since stat reads short: that is a file without a tag.
    return ParseId3v1(QByteArrayView(block, got == Id3v1Size ? Id3v1Size : 0));
}

} // namespace quillet
