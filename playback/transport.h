// The transport: plays the selected playlist entry (a file or a CD track), pauses and
// resumes, stops, steps five seconds back or forward and seeks where the position slider is
// let go. It owns the playback flags, the position slider and the visibility of Rewind and
// Forward, and switches the end-of-track timer on and off. It follows the output's start
// and stop notifications, which arrive on the UI thread before Start/Stop return, and
// publishes the play state (stopped, playing, paused) as one signal.
// UI thread only. Times and slider positions in ms.
#pragma once

#include "controls/controls.h"

#include <QObject>

class QTimer;

namespace quillet {

class AudioCd;
class AudioEngine;
class Playlist;
class SongDetails;
class UserDialogs;

enum class PlayState { Stopped, Playing, Paused };

class Transport : public QObject {
    Q_OBJECT
public:
    static constexpr int SeekStepMs = 5000;

    // timer1: the end-of-track timer, switched on by each play and off by a stop.
    Transport(AudioEngine& engine, UserDialogs& dialogs, Playlist& playlist,
              SongDetails& songDetails, AudioCd& audioCd, QTimer& timer1,
              QObject* parent = nullptr);

    // Plays the selected entry from its beginning (again, if it is the one playing). A
    // failure shows the play error message; no output device shows the output message.
    void PlaySelected();
    // Stops the output; the end-of-track timer goes off, so nothing follows. Silent.
    void StopPlayback();
    // False, after telling the user, when there is no output device.
    [[nodiscard]] bool CheckWaveOut();
    // Pause, or resume a paused play (the button toggles; see Pause and Resume).
    void SkinButtonPause_Click();
    // Pauses a running play; nothing when paused or stopped. Silent.
    void Pause();
    // Resumes a paused play; nothing when playing or stopped. Silent.
    void Resume();
    // The unload sequence forgets the play before it stops the output itself, so that
    // stop does not count as the track's end.
    void ForgetPlay();
    // Five seconds back or forward in the file (resumes a paused play).
    void SkinButtonRewind_Click();
    void SkinButtonForward_Click();
    // The user grabs / lets go of the position slider's thumb: the file jumps on release.
    void Slider1_OnTrack();
    void Slider1_OnTrackEnd();
    // The output's notifications.
    void WaveOut_OnStart();
    void WaveOut_OnStop();
    // A prepared next file is heard now: the title, Song Details and the slider follow it.
    void WaveOut_OnNextStarted();

    [[nodiscard]] SliderControl& Slider1() { return m_slider1; }
    [[nodiscard]] ButtonControl& SkinButtonRewind() { return m_rewind; }
    [[nodiscard]] ButtonControl& SkinButtonForward() { return m_forward; }

    // A play runs (also while paused) until a stop or its end.
    [[nodiscard]] bool Playing() const { return m_playing; }
    [[nodiscard]] PlayState State() const;
    // The playlist source of the last play started ("" before the first); it stays after
    // the play ends.
    [[nodiscard]] const QString& PlayingSource() const { return m_playingSource; }
    bool Seeking = false; // a step or a drag of the thumb is under way
    bool CdOpen = false;  // the CD reader was opened by a CD-track play

signals:
    // The output stopped by itself while a play ran: the track was played to its end (or
    // the output was lost), not stopped by a routine.
    void TrackEnded();
    // The play state changed (raised once per change, after the routine's own work).
    void PlayStateChanged(quillet::PlayState state);
    // The play jumped to another place (a step or a drag of the thumb let go), in ms.
    void Jumped(int ms);
    // While a file plays: it has been decoded to its end, a next file may be prepared now.
    void SourceDecoded();
    // The prepared next file is heard now; the displays already show it.
    void NextStarted();

private:
    void PlayCdTrack(int index);
    void PlayFile(const QString& path);
    void ShowFile(const QString& path); // title, Song Details and the slider's span
    void Step(int deltaMs);
    void SeekToSlider();
    void PublishState();

    AudioEngine& m_engine;
    UserDialogs& m_dialogs;
    Playlist& m_playlist;
    SongDetails& m_songDetails;
    AudioCd& m_audioCd;
    QTimer& m_timer1;
    bool m_playing = false;
    QString m_playingSource;
    PlayState m_published = PlayState::Stopped;
    int m_holdState = 0; // > 0: a routine publishes its change itself when it ends
    SliderControl m_slider1{0};
    ButtonControl m_rewind;
    ButtonControl m_forward;
};

} // namespace quillet
