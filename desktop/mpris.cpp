#include "desktop/mpris.h"

#include "desktop/mprisadaptors.h"
#include "playback/audiocd.h"
#include "playback/audioengine.h"
#include "playback/transport.h"
#include "platform/bytetext.h"
#include "platform/ignorefailure.h"
#include "playlist/playlist.h"
#include "sound/volumebalance.h"
#include "tags/displayname.h"
#include "tags/songdetails.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace quillet {
namespace {

const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString NoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
constexpr qlonglong UsPerMs = 1000;

QString StatusText(PlayState state)
{
    switch (state) {
    case PlayState::Playing:
        return QStringLiteral("Playing");
    case PlayState::Paused:
        return QStringLiteral("Paused");
    case PlayState::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

} // namespace

Mpris::Mpris(MprisParts parts, QObject* parent) : QObject(parent), m_parts(std::move(parts))
{
    Transport& transport = m_parts.transport;
    connect(&transport, &Transport::PlayStateChanged, this, &Mpris::Changed);
    // A new track: a play started, or the next file joined on without a gap.
    for (auto signal : {&WaveOut::OnStart, &WaveOut::OnNextStarted})
        connect(&m_parts.engine.waveOut(), signal, this, [this] {
            ++m_plays;
            Changed();
        });
    connect(&m_parts.playlist, &Playlist::changed, this, &Mpris::Changed);
    // Not the Song Details' own notification: the title marquee rewrites them five times a
    // second; the values of a play are read before its start, which is announced.
    connect(&m_parts.volumeBalance.SkinScrollBarVolume(), &ScrollBarControl::changed, this,
            &Mpris::Changed);
}

Mpris::~Mpris()
{
    if (m_connected) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(ObjectPath);
        bus.unregisterService(MprisServiceName);
    }
}

bool Mpris::Connect()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_connected || !bus.isConnected())
        return m_connected;
    m_root = new QObject(this);
    new MprisRootAdaptor(m_root, *this);
    auto* player = new MprisPlayerAdaptor(m_root, *this);
    connect(&m_parts.transport, &Transport::Jumped, player,
            [player](int ms) { emit player->Seeked(qlonglong(ms) * UsPerMs); });
    if (!bus.registerObject(ObjectPath, m_root, QDBusConnection::ExportAdaptors))
        return false;
    // A second player of the same name on the bus (another user's session shares none)
    // gets an instance suffix, as the interface allows.
    m_connected = bus.registerService(MprisServiceName) ||
                  bus.registerService(MprisServiceName + QStringLiteral(".instance%1")
                                                             .arg(QCoreApplication::applicationPid()));
    m_announced = PlayerProperties();
    return m_connected;
}

QVariantMap Mpris::PlayerProperties() const
{
    const Transport& transport = m_parts.transport;
    const PlayState state = transport.State();
    const bool entries = m_parts.playlist.Count() > 0;
    return {
        {QStringLiteral("PlaybackStatus"), StatusText(state)},
        {QStringLiteral("Metadata"), Metadata()},
        {QStringLiteral("Volume"), m_parts.volumeBalance.SkinScrollBarVolume().Value() / 100.0},
        {QStringLiteral("CanGoNext"), entries},
        {QStringLiteral("CanGoPrevious"), entries},
        {QStringLiteral("CanPlay"), entries || state != PlayState::Stopped},
        {QStringLiteral("CanPause"), state != PlayState::Stopped},
        {QStringLiteral("CanSeek"), CanSeek()},
    };
}

// A file can be sought while it plays or is paused; a CD track never.
bool Mpris::CanSeek() const
{
    const Transport& transport = m_parts.transport;
    return transport.State() != PlayState::Stopped &&
           AudioCd::CdTrackIndex(transport.PlayingSource()) < 0;
}

QString Mpris::TrackId() const
{
    return m_plays > 0 ? QStringLiteral("/org/quillet/Jukebox/Play/%1").arg(m_plays) : NoTrack;
}

QVariantMap Mpris::Metadata() const
{
    const QString source = m_parts.transport.PlayingSource();
    if (source.isEmpty() || m_plays == 0)
        return {{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(NoTrack))}};
    QVariantMap metadata{
        {QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(TrackId()))}};
    const int track = AudioCd::CdTrackIndex(source);
    qlonglong lengthMs = 0;
    if (track >= 0) {
        IgnoreFailure([&] {
            const CdTrack t = m_parts.engine.cdReader().Tracks().Item(track);
            lengthMs = qlonglong(t.TrackEnd - t.TrackStart + 1) * 1000 / 75;
        });
        metadata.insert(QStringLiteral("xesam:title"), CdTrackDisplayName(source).value_or(source));
    } else {
        IgnoreFailure([&] { lengthMs = m_parts.engine.audioFile().Length(); });
        // The values Song Details shows; a file without them is called by its display name.
        const SongDetails& details = m_parts.songDetails;
        const auto put = [&](const char* key, const QVariant& value, bool present) {
            if (present)
                metadata.insert(QLatin1String(key), value);
        };
        DisplayScratch scratch;
        const QString title = details.SongTitle().trimmed().isEmpty()
                                  ? DisplayNameFor(source, scratch)
                                  : details.SongTitle().trimmed();
        metadata.insert(QStringLiteral("xesam:title"), title);
        put("xesam:artist", QStringList{details.SongArtist().trimmed()},
            !details.SongArtist().trimmed().isEmpty());
        put("xesam:album", details.SongAlbum().trimmed(), !details.SongAlbum().trimmed().isEmpty());
        put("xesam:genre", QStringList{details.SongGenre().trimmed()},
            !details.SongGenre().trimmed().isEmpty());
        metadata.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(source).toString());
    }
    metadata.insert(QStringLiteral("mpris:length"), lengthMs * UsPerMs);
    return metadata;
}

qlonglong Mpris::PositionUs() const
{
    const Transport& transport = m_parts.transport;
    if (transport.State() == PlayState::Stopped)
        return 0;
    qlonglong ms = 0;
    IgnoreFailure([&] {
        ms = AudioCd::CdTrackIndex(transport.PlayingSource()) >= 0
                 ? m_parts.engine.waveOut().Position()
                 : m_parts.engine.audioFile().Position();
    });
    return ms * UsPerMs;
}

void Mpris::Play()
{
    Transport& transport = m_parts.transport;
    if (transport.State() == PlayState::Paused)
        transport.Resume();
    else if (transport.State() == PlayState::Stopped)
        transport.PlaySelected();
}

void Mpris::Pause()
{
    m_parts.transport.Pause();
}

void Mpris::PlayPause()
{
    m_parts.transport.State() == PlayState::Playing ? Pause() : Play();
}

void Mpris::Stop()
{
    m_parts.transport.StopPlayback();
}

void Mpris::Next()
{
    Step(1);
}

void Mpris::Previous()
{
    Step(-1);
}

// The entry below (or above) the selected one, wrapping at the ends, is selected and played;
// with none selected, the first (or the last).
void Mpris::Step(int delta)
{
    Playlist& playlist = m_parts.playlist;
    const int count = playlist.Count();
    if (count == 0)
        return;
    const int selected = playlist.SelectedIndex();
    const int next = selected < 0 ? (delta > 0 ? 0 : count - 1) : (selected + delta + count) % count;
    playlist.Select(next);
    m_parts.transport.PlaySelected();
}

// The same way as the user's drag of the position thumb: grabbed, moved, let go.
void Mpris::JumpTo(qlonglong ms)
{
    if (!CanSeek())
        return;
    Transport& transport = m_parts.transport;
    SliderControl& slider = transport.Slider1();
    transport.Slider1_OnTrack();
    slider.SetPosition(int(std::clamp<qlonglong>(ms, 0, slider.Maximum())));
    transport.Slider1_OnTrackEnd();
}

void Mpris::Seek(qlonglong offsetUs)
{
    JumpTo(PositionUs() / UsPerMs + offsetUs / UsPerMs);
}

void Mpris::SetPosition(const QString& trackId, qlonglong positionUs)
{
    if (trackId != TrackId() || positionUs < 0 ||
        positionUs > m_parts.transport.Slider1().Maximum() * UsPerMs)
        return;
    JumpTo(positionUs / UsPerMs);
}

void Mpris::OpenUri(const QString& uri)
{
    const QUrl url(uri);
    if (const QString path = PathFromFileUrl(url); !path.isEmpty() && m_parts.openFile)
        m_parts.openFile(path);
}

// As the user's move of the volume bar: the bar, its stored text and the sound follow.
void Mpris::SetVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    m_parts.volumeBalance.SkinScrollBarVolume().SetValue(int(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

void Mpris::Raise()
{
    if (m_parts.raise)
        m_parts.raise();
}

void Mpris::Quit()
{
    // After the call has been answered: the close ends the process.
    if (m_parts.quit)
        QTimer::singleShot(0, this, [this] { m_parts.quit(); });
}

void Mpris::Changed()
{
    if (!m_connected || m_announcing)
        return;
    m_announcing = true;
    QTimer::singleShot(0, this, &Mpris::Announce);
}

void Mpris::Announce()
{
    m_announcing = false;
    const QVariantMap now = PlayerProperties();
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << PlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

} // namespace quillet
