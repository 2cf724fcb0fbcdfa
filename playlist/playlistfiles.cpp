#include "playlist/playlistfiles.h"

#include "platform/atomicwrite.h"
#include "platform/bytetext.h"
#include "playlist/playlist.h"
#include "playlist/textfile.h"
#include "tags/displayname.h"

#include <cerrno>

namespace quillet {

PlaylistFiles::PlaylistFiles(Playlist& playlist, UserDialogs& dialogs, QString programDir)
    : m_playlist(playlist), m_dialogs(dialogs), m_programDir(std::move(programDir))
{
}

QString PlaylistFiles::PlaylistFolder() const
{
    return m_programDir + (m_programDir.endsWith(u'/') ? "" : "/") + QLatin1String("PlayLists");
}

QList<FileFilter> PlaylistFiles::PlaylistFilters()
{
    return {{QStringLiteral("Quillet Playlist(*.qlt)"), {QStringLiteral("*.qlt")}}};
}

bool PlaylistFiles::WriteList(const QString& path)
{
    const QStringList& sources = m_playlist.Sources();
    if (sources.isEmpty()) {
        m_dialogs.ShowMessage(QStringLiteral("No files in list - cannot write to file!"),
                              QStringLiteral("Error"), MessageIcon::Critical);
        m_dialogs.ActivateMainWindow();
        return false;
    }
    // Each source goes back as the bytes it was read as (a name that is not UTF-8 too).
    QByteArray bytes;
    for (const QString& source : sources)
        bytes += BytesFromText(source) + "\r\n";
    if (const int error = WriteFileAtomically(path, bytes); error != 0) {
        ShowError("Error in WriteList", error);
        return false;
    }
    return true;
}

bool PlaylistFiles::ReadList(const QString& path)
{
    Playlist::Batch batch(m_playlist);
    DisplayScratch& scratch = m_playlist.Scratch();
    const int error = ReadLines(path, MaxLineBytes, [&](QByteArrayView line) {
        if (line.isEmpty())
            return 0;
        const QString text = TextFromBytes(line);
        if (m_playlist.Count() >= Playlist::MaxEntries)
            return EFBIG;
        if (const std::optional<QString> track = CdTrackDisplayName(text))
            (void)m_playlist.Append(text, *track, false);
        else
            (void)m_playlist.Append(text, DisplayNameFor(text, scratch), true);
        return 0;
    });
    if (error != 0) {
        ShowError("Error in ReadList", error);
        return false;
    }
    return true;
}

void PlaylistFiles::LoadPlaylistFile(const QString& path)
{
    Playlist::Batch batch(m_playlist);
    m_playlist.ClearPlaylist();
    (void)ReadList(path);
    if (m_playlist.Count() == 0)
        return;
    m_playlist.Select(0);
    m_playlist.ShowTotal();
}

void PlaylistFiles::OpenListDialog()
{
    const QString path = m_dialogs.ChooseFileToOpen(PlaylistFilters(), PlaylistFolder());
    if (!path.isEmpty())
        LoadPlaylistFile(path);
}

void PlaylistFiles::SaveListDialog()
{
    const QString path = m_dialogs.ChooseFileToSave(PlaylistFilters(), PlaylistFolder());
    if (!path.isEmpty())
        (void)WriteList(path);
}

void PlaylistFiles::ShowError(const char* routine, int error)
{
    m_dialogs.ShowMessage(QLatin1String(routine) + QLatin1String("\r\r") + SystemErrorText(error),
                          QStringLiteral("Error"), MessageIcon::Critical);
}

} // namespace quillet
