#include "playback/transport.h"

#include "platform/ignorefailure.h"
#include "platform/userdialogs.h"
#include "playback/audiocd.h"
#include "playback/audioengine.h"
#include "playlist/playlist.h"
#include "tags/songdetails.h"

#include <QTimer>

namespace quillet {

namespace {
const QString PlayError = QStringLiteral("Error - Cannot play media file.  If you are playing a "
                                         "CD Audio file, please check the CD Tray. ");
const QString NoDeviceText = QStringLiteral("Cannot play file. Please check to see if your "
                                            "soundcard or speakers have been installed correctly.");
const QString NoDeviceTitle = QStringLiteral("WaveOut open error");
const QString ChainInput = QStringLiteral("Eq");
} // namespace

Transport::Transport(AudioEngine& engine, UserDialogs& dialogs, Playlist& playlist,
                     SongDetails& songDetails, AudioCd& audioCd, QTimer& timer1, QObject* parent)
    : QObject(parent), m_engine(engine), m_dialogs(dialogs), m_playlist(playlist),
      m_songDetails(songDetails), m_audioCd(audioCd), m_timer1(timer1)
{
    m_slider1.SetEnabled(false);
    // Direct connections: the output raises these on the UI thread, before Start/Stop return.
    connect(&m_engine.waveOut(), &WaveOut::OnStart, this, &Transport::WaveOut_OnStart);
    connect(&m_engine.waveOut(), &WaveOut::OnStop, this, &Transport::WaveOut_OnStop);
    connect(&m_engine.waveOut(), &WaveOut::OnNextStarted, this, &Transport::WaveOut_OnNextStarted);
    connect(&m_engine.waveOut(), &WaveOut::OnSourceDecoded, this, [this] {
        if (m_playing)
            emit SourceDecoded();
    });
    connect(&m_slider1, &SliderControl::OnTrack, this, &Transport::Slider1_OnTrack);
    connect(&m_slider1, &SliderControl::OnTrackEnd, this, &Transport::Slider1_OnTrackEnd);
}

void Transport::PlaySelected()
{
    // One change is published for the whole routine: a play that replaces another never
    // shows as stopped in between.
    ++m_holdState;
    try {
        StopPlayback();
        const QString source = m_playlist.SelectedSource();
        if (source.isEmpty())
            return;
        m_playingSource = source;
        const int track = AudioCd::CdTrackIndex(source);
        track >= 0 ? PlayCdTrack(track) : PlayFile(source);
    } catch (const std::exception&) {
        m_dialogs.ShowMessage(PlayError, QString(), MessageIcon::Exclamation);
    }
    --m_holdState;
    PublishState();
}

void Transport::PlayCdTrack(int index)
{
    if (!CheckWaveOut())
        return;
    CDReader& cd = m_engine.cdReader();
    cd.SetOutput(ChainInput);
    if (!CdOpen)
        cd.Open();
    m_audioCd.PrepareCdTrack(index);
    m_playing = true;
    m_engine.waveOut().Start();
    CdOpen = true;
    m_timer1.start();
    // A CD track has no title line; the Song Details values stay the last file's.
    m_songDetails.SetScrollTitle(QString());
    m_songDetails.SetTextDisplay(QString());
    m_rewind.SetVisible(false);
    m_forward.SetVisible(false);
    m_slider1.SetEnabled(false);
}

void Transport::PlayFile(const QString& path)
{
    if (!CheckWaveOut())
        return;
    AudioFile& file = m_engine.audioFile();
    file.SetOutput(ChainInput);
    if (CdOpen) {
        m_engine.cdReader().Close();
        CdOpen = false;
    }
    file.SetFileName(path);
    ShowFile(path);
    m_playing = true;
    m_engine.waveOut().Start();
    m_timer1.start();
    m_rewind.SetVisible(true);
    m_forward.SetVisible(true);
    m_slider1.SetEnabled(true);
}

// The timer goes off even when the output fails to stop: a stop the user asked for must
// never lead on to the next entry.
void Transport::StopPlayback()
{
    m_playing = false;
    IgnoreFailure([&] { m_engine.waveOut().Stop(); });
    m_timer1.stop();
    PublishState();
}

void Transport::ForgetPlay()
{
    m_playing = false;
    PublishState();
}

PlayState Transport::State() const
{
    if (!m_playing)
        return PlayState::Stopped;
    int state = 0;
    IgnoreFailure([&] { state = m_engine.waveOut().State(); });
    return (state & WaveOut::Paused) ? PlayState::Paused : PlayState::Playing;
}

void Transport::PublishState()
{
    if (m_holdState > 0)
        return;
    const PlayState state = State();
    if (state == m_published)
        return;
    m_published = state;
    emit PlayStateChanged(state);
}

bool Transport::CheckWaveOut()
{
    int devices = 0;
    IgnoreFailure([&] { devices = m_engine.waveOut().DeviceCount(); });
    if (devices > 0)
        return true;
    m_dialogs.ShowMessage(NoDeviceText, NoDeviceTitle, MessageIcon::None);
    return false;
}

// The output's own state decides, so the button also pauses an output with nothing started
// and a second press then stops it.
void Transport::SkinButtonPause_Click()
{
    IgnoreFailure([&] {
        if (!CheckWaveOut())
            return;
        WaveOut& out = m_engine.waveOut();
        const int state = out.State();
        if (!(state & WaveOut::Paused))
            out.Pause();
        else if (state & WaveOut::Started)
            out.Restart();
        else
            out.Stop();
    });
    PublishState();
}

void Transport::Pause()
{
    if (State() == PlayState::Playing)
        IgnoreFailure([&] { m_engine.waveOut().Pause(); });
    PublishState();
}

void Transport::Resume()
{
    if (State() == PlayState::Paused)
        IgnoreFailure([&] { m_engine.waveOut().Restart(); });
    PublishState();
}

void Transport::SkinButtonRewind_Click()
{
    Step(-SeekStepMs);
}

void Transport::SkinButtonForward_Click()
{
    Step(SeekStepMs);
}

// The slider clamps the new place to the file; the play goes on from there, also when it
// was paused.
void Transport::Step(int deltaMs)
{
    Seeking = true;
    IgnoreFailure([&] {
        m_slider1.SetPosition(m_slider1.Position() + deltaMs);
        WaveOut& out = m_engine.waveOut();
        out.Pause();
        m_engine.audioFile().SetPosition(m_slider1.Position());
        out.Reset();
        out.Restart();
    });
    Seeking = false;
    PublishState();
    emit Jumped(m_slider1.Position());
}

void Transport::Slider1_OnTrack()
{
    Seeking = true;
}

void Transport::Slider1_OnTrackEnd()
{
    SeekToSlider();
}

void Transport::SeekToSlider()
{
    WaveOut& out = m_engine.waveOut();
    IgnoreFailure([&] { out.Pause(); });
    IgnoreFailure([&] { m_engine.audioFile().SetPosition(m_slider1.Position()); });
    IgnoreFailure([&] { out.Reset(); });
    IgnoreFailure([&] { out.Restart(); });
    Seeking = false;
    PublishState();
    emit Jumped(m_slider1.Position());
}

void Transport::ShowFile(const QString& path)
{
    m_songDetails.ReadSongDetails(path);
    m_slider1.SetMaximum(m_engine.audioFile().Length());
}

void Transport::WaveOut_OnNextStarted()
{
    if (!m_playing)
        return;
    IgnoreFailure([&] {
        ShowFile(m_engine.audioFile().FileName());
        if (!Seeking)
            m_slider1.SetPosition(m_engine.audioFile().Position());
    });
    emit NextStarted();
}

void Transport::WaveOut_OnStart()
{
    m_slider1.SetEnabled(true);
}

void Transport::WaveOut_OnStop()
{
    const bool ended = m_playing; // every routine that stops clears it first
    IgnoreFailure([&] { m_engine.waveOut().Close(); });
    m_slider1.SetEnabled(false);
    m_slider1.SetPosition(0);
    m_playing = false;
    PublishState();
    if (ended)
        emit TrackEnded();
}

} // namespace quillet
