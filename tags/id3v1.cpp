#include "tags/id3v1.h"

#include "platform/bytetext.h"
#include "platform/readfile.h"

#include <cerrno>
#include <unistd.h>

namespace quillet {

namespace {

QString DecodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        *out++ = Windows1252Letter(static_cast<unsigned char>(c));
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
    // Only a regular file, never by a name cut short at a NUL, never blocking.
    const OpenedFile file = OpenRegularFile(path);
    size = file.size;
    return file.fd;
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
