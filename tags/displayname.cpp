#include "tags/displayname.h"

#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/paths.h"
#include "tags/vorbiscomments.h"

namespace quillet {

QString ComposeDisplayName(const QString& artist, const QString& title, const QString& genre,
                           const QString& fileName)
{
    if (artist.isEmpty())
        return fileName;
    if (title.isEmpty() && genre.isEmpty())
        return artist;
    if (genre.isEmpty())
        return artist + QLatin1String(" - ") + title;
    return artist + QLatin1String(" - ") + title + QLatin1String(" [") + genre + u']';
}

QString DisplayNameFor(const QString& path, DisplayScratch& scratch)
{
    if (IsVorbisCommentPath(path)) {
        const TextTagsRead read = ReadVorbisComments(path);
        if (read.Status != TagStatus::Found)
            return FileNameFromPath(path);
        scratch.TextTempArtist = read.Tags.Artist;
        scratch.TextTempTitle = read.Tags.Title;
        scratch.TextTempGenre = read.Tags.Genre;
        return ComposeDisplayName(read.Tags.Artist, read.Tags.Title, read.Tags.Genre,
                                  FileNameFromPath(path));
    }
    if (!IsMp3Path(path))
        return FileNameFromPath(path);
    const Id3v1Read read = ReadId3v1(path);
    if (read.Status != TagStatus::Found)
        return FileNameFromPath(path);
    scratch.TextTempArtist = read.Tag.Artist;
    scratch.TextTempTitle = read.Tag.Title;
    scratch.TextTempGenre = GenreName(read.Tag.Genre);
    return ComposeDisplayName(scratch.TextTempArtist, scratch.TextTempTitle, scratch.TextTempGenre,
                              read.Tag.Artist.isEmpty() ? FileNameFromPath(path) : QString());
}

std::optional<QString> CdTrackDisplayName(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    if (begin == end)
        return std::nullopt;
    for (qsizetype i = begin; i < end; ++i) {
        if (!text[i].isDigit() || text[i].unicode() > u'9')
            return std::nullopt;
    }
    // index + 1, worked out on the digits themselves so that no length overflows.
    QString number = text.mid(begin, end - begin);
    qsizetype zeros = 0;
    while (zeros + 1 < number.size() && number[zeros] == u'0')
        ++zeros;
    number.remove(0, zeros);
    qsizetype i = number.size() - 1;
    for (; i >= 0 && number[i] == u'9'; --i)
        number[i] = u'0';
    if (i < 0)
        number.prepend(u'1');
    else
        number[i] = QChar(number[i].unicode() + 1);
    if (number.size() < 2)
        number.prepend(u'0');
    return QStringLiteral("Track ") + number;
}

} // namespace quillet
