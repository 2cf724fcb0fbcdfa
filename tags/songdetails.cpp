#include "tags/songdetails.h"

#include "tags/genres.h"
#include "tags/id3v1.h"
#include "tags/paths.h"
#include "tags/vorbiscomments.h"

namespace quillet {

SongDetails::SongDetails(QObject* parent) : QObject(parent) {}

void SongDetails::ReadSongDetails(const QString& path)
{
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_year.clear();
    m_comments.clear();
    m_genre.clear();
    m_scrollTitle.clear();
    m_textDisplay.clear();

    TagStatus status = TagStatus::Unreadable;
    if (IsMp3Path(path)) {
        const Id3v1Read read = ReadId3v1(path);
        status = read.Status;
        if (read.Status == TagStatus::Found) {
            m_title = read.Tag.Title;
            m_artist = read.Tag.Artist;
            m_album = read.Tag.Album;
            m_year = read.Tag.Year;
            m_comments = read.Tag.Comment;
            m_genre = GenreName(read.Tag.Genre);
        }
    } else if (IsVorbisCommentPath(path)) {
        const TextTagsRead read = ReadVorbisComments(path);
        status = read.Status;
        m_title = read.Tags.Title;
        m_artist = read.Tags.Artist;
        m_album = read.Tags.Album;
        m_year = read.Tags.Year;
        m_comments = read.Tags.Comment;
        m_genre = read.Tags.Genre;
    }
    if (status != TagStatus::Unreadable) {
        const QString spaces(DisplayWidth, u' ');
        m_scrollTitle = (spaces + QLatin1String("-- ") + m_artist + QLatin1String(" - ") + m_title +
                         QLatin1String(" --"))
                            .toUpper();
        m_textDisplay = spaces;
    }
    emit changed();
}

void SongDetails::SetScrollTitle(const QString& text)
{
    m_scrollTitle = text;
    emit changed();
}

void SongDetails::SetTextDisplay(const QString& text)
{
    m_textDisplay = text;
    emit changed();
}

} // namespace quillet
