#include "desktop/desktopfiles.h"

#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <exception>

namespace quillet {
namespace {

bool IsListFile(const QString& path)
{
    return path.endsWith(QLatin1String(".qlt"), Qt::CaseInsensitive);
}

// The file names the Add dialog's first filter offers ("*.mp3", ...).
QStringList MediaPatterns()
{
    return MediaFiles::MediaFilters().value(0).patterns;
}

void CollectUnder(const QString& folder, const QStringList& patterns, QSet<QString>& entered,
                  QStringList& found)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || entered.contains(real))
        return;
    entered.insert(real);
    const QDir dir(folder);
    for (const QFileInfo& file :
         dir.entryInfoList(patterns, QDir::Files | QDir::Readable | QDir::System | QDir::Hidden))
        found.append(file.filePath());
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        CollectUnder(sub.filePath(), patterns, entered, found);
}

} // namespace

DesktopFiles::DesktopFiles(Playlist& playlist, MediaFiles& mediaFiles,
                           PlaylistFiles& playlistFiles)
    : m_playlist(playlist), m_mediaFiles(mediaFiles), m_playlistFiles(playlistFiles)
{
}

QStringList DesktopFiles::MediaFilesUnder(const QString& folder)
{
    QStringList found;
    QSet<QString> entered;
    CollectUnder(folder, MediaPatterns(), entered, found);
    std::sort(found.begin(), found.end());
    return found;
}

int DesktopFiles::Add(const QStringList& paths)
{
    Playlist::Batch batch(m_playlist);
    int first = -1;
    for (const QString& path : paths) {
        try {
            if (QFileInfo(path).isDir()) {
                const int before = m_playlist.Count();
                for (const QString& file : MediaFilesUnder(path))
                    m_mediaFiles.HandleChosenPath(file);
                if (first < 0 && m_playlist.Count() > before)
                    first = before;
            } else if (IsListFile(path)) {
                m_playlistFiles.LoadPlaylistFile(path);
                first = -1;
            } else {
                const int before = m_playlist.Count();
                m_mediaFiles.HandleChosenPath(path);
                if (first < 0 && m_playlist.Count() > before)
                    first = before;
            }
        } catch (const std::exception&) {
            // Like the dialog: a path that fails is skipped, those before it stay.
        }
    }
    return first;
}

} // namespace quillet
