// The Song Details values of the file whose playback started last, and the title text the
// scroller runs through the display. UI thread; changed() fires synchronously after each
// rewrite.
#pragma once

#include <QObject>
#include <QString>

namespace quillet {

class SongDetails : public QObject {
    Q_OBJECT
public:
    static constexpr int DisplayWidth = 50; // leading spaces of the scroll text, characters

    explicit SongDetails(QObject* parent = nullptr);

    // Reads path's tag at the start of its playback. Everything is emptied first; only
    // ".mp3" paths (any case), for their ID3v1 tag, and ".flac", ".ogg", ".oga", ".opus"
    // paths, for their Vorbis comments, are opened. A tagged file fills the six values (an
    // ID3v1 genre only for bytes ≤ 147); every readable file of these kinds, tagged or not,
    // gets the scroll text (50 spaces, "-- ", artist, " - ", title, " --", upper-cased) and
    // TextDisplay becomes 50 spaces. A file that cannot be opened leaves everything empty.
    // Never fails.
    void ReadSongDetails(const QString& path);

    [[nodiscard]] const QString& SongTitle() const { return m_title; }
    [[nodiscard]] const QString& SongArtist() const { return m_artist; }
    [[nodiscard]] const QString& SongAlbum() const { return m_album; }
    [[nodiscard]] const QString& SongYear() const { return m_year; }
    [[nodiscard]] const QString& SongComments() const { return m_comments; }
    [[nodiscard]] const QString& SongGenre() const { return m_genre; }
    [[nodiscard]] const QString& ScrollTitle() const { return m_scrollTitle; }
    [[nodiscard]] const QString& TextDisplay() const { return m_textDisplay; }

    // For the transport (a CD track empties both) and the title scroller.
    void SetScrollTitle(const QString& text);
    void SetTextDisplay(const QString& text);

signals:
    void changed();

private:
    QString m_title;
    QString m_artist;
    QString m_album;
    QString m_year;
    QString m_comments;
    QString m_genre;
    QString m_scrollTitle;
    QString m_textDisplay;
};

} // namespace quillet
