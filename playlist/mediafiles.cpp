#include "playlist/mediafiles.h"

#include "playlist/playlist.h"
#include "tags/displayname.h"
#include "tags/paths.h"

#include <exception>

namespace quillet {

MediaFiles::MediaFiles(Playlist& playlist, UserDialogs& dialogs, std::function<bool()> cdReady,
                       std::function<void(const QString&)> addCdTrack)
    : m_playlist(playlist), m_dialogs(dialogs), m_cdReady(std::move(cdReady)),
      m_addCdTrack(std::move(addCdTrack))
{
}

QList<FileFilter> MediaFiles::MediaFilters()
{
    return {
        {QStringLiteral("All supported files"),
         {"*.mp1", "*.mp2", "*.mp3", "*.wav", "*.flac", "*.ogg", "*.oga", "*.opus", "*.cda"}},
        {QStringLiteral("Media files (all types)"), {"*.mp1", "*.mp2", "*.mp3", "*.wav", "*.cda"}},
        {QStringLiteral("MPEG Audio Files (*.mp1;*.mp2;*.mp3)"), {"*.mp1", "*.mp2", "*.mp3"}},
        {QStringLiteral("Microsoft Waveform Audio File (*.wav)"), {"*.wav"}},
        {QStringLiteral("CD DA Audio Tracks (*.cda)"), {"*.cda"}},
        {QStringLiteral("FLAC, Ogg Vorbis and Opus Files (*.flac;*.ogg;*.oga;*.opus)"),
         {"*.flac", "*.ogg", "*.oga", "*.opus"}},
    };
}

void MediaFiles::AddMediaFile(const QString& path)
{
    Playlist::Batch batch(m_playlist);
    if (!m_playlist.Append(path, DisplayNameFor(path, m_playlist.Scratch()), true))
        return;
    m_playlist.ShowTotal();
}

void MediaFiles::AddFilesDialog()
{
    const QStringList chosen = m_dialogs.ChooseFilesToOpen(MediaFilters(), QString());
    Playlist::Batch batch(m_playlist);
    try {
        for (const QString& path : chosen)
            HandleChosenPath(path);
    } catch (const std::exception&) {
        // Ends quietly; the files handled before stay in the playlist.
    }
}

void MediaFiles::HandleChosenPath(const QString& path)
{
    if (!HasExtension(path, QLatin1StringView(".CDA"))) {
        AddMediaFile(path);
        return;
    }
    if (m_cdReady && m_cdReady() && m_addCdTrack)
        m_addCdTrack(path);
}

} // namespace quillet
