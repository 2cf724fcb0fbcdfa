#include "playback/audiocd.h"

#include "platform/ignorefailure.h"
#include "platform/userdialogs.h"
#include "playback/audioengine.h"
#include "playlist/playlist.h"
#include "tags/displayname.h"

#include <climits>

namespace quillet {

namespace {
const QString UnreadableDirectory = QStringLiteral("Unable to read CD directory");
}

AudioCd::AudioCd(CDReader& cdReader, WaveOut& waveOut, Playlist& playlist, UserDialogs& dialogs)
    : m_cdReader(cdReader), m_waveOut(waveOut), m_playlist(playlist), m_dialogs(dialogs)
{
}

QString AudioCd::TrackName(int trackNumber)
{
    return QStringLiteral("Track %1").arg(trackNumber, 2, 10, QLatin1Char('0'));
}

int AudioCd::CdTrackIndex(const QString& source)
{
    if (!CdTrackDisplayName(source)) // the one rule for "this entry is a CD track"
        return -1;
    bool ok = false;
    const int index = source.trimmed().toInt(&ok);
    return ok ? index : INT_MAX; // too many digits: beyond any disc
}

bool AudioCd::DirectoryReadable()
{
    if (m_cdReader.DirectoryValid())
        return true;
    m_dialogs.ShowMessage(UnreadableDirectory, QString(), MessageIcon::None);
    return false;
}

void AudioCd::AppendTrack(int index)
{
    const QString name = TrackName(m_cdReader.Tracks().Item(index).TrackNumber);
    if (m_playlist.Append(QString::number(index), name, true))
        m_playlist.ShowTotal();
}

void AudioCd::LoadCdTracks()
{
    IgnoreFailure([&] {
        m_playlist.ClearPlaylist();
        if (!m_cdReader.Ready() || !DirectoryReadable())
            return;
        Playlist::Batch batch(m_playlist);
        const int count = m_cdReader.Tracks().Count();
        for (int i = 0; i < count; ++i)
            AppendTrack(i);
        m_playlist.Select(0);
    });
}

void AudioCd::AddCdTrack(const QString& path)
{
    IgnoreFailure([&] {
        if (!DirectoryReadable())
            return;
        // "…Track07.cda": the two characters before the four-character extension.
        if (path.size() < 6)
            return;
        const QString digits = path.mid(path.size() - 6, 2);
        bool ok = false;
        const int number = digits.toInt(&ok);
        if (!ok || !digits[0].isDigit() || !digits[1].isDigit())
            return;
        AppendTrack(number - 1);
    });
}

void AudioCd::PrepareCdTrack(int index)
{
    const CdTracks& tracks = m_cdReader.Tracks();
    if (index >= 0 && index < tracks.Count()) {
        const CdTrack track = tracks.Item(index);
        m_cdReader.SelectRange(track.TrackStart, track.TrackEnd);
    }
    m_waveOut.Start();
}

} // namespace quillet
