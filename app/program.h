// The program's spine: the main window's load sequence (Form_Load), its unload sequence
// (Form_Unload), leaving by the menu's Exit (exit_Click), the command line acted on at the
// end of loading, and the objects every routine shares (playlist, settings texts, flags,
// the end-of-track timer). UI thread only; no widgets, so it runs without a display.
//
// Each step of the two sequences that another subsystem fills is a named method here, in
// its place in the sequence; a failing step is skipped and the next one runs.
#pragma once

#include "app/settings.h"
#include "desktop/desktopfiles.h"
#include "playback/audiocd.h"
#include "playback/endoftrack.h"
#include "playback/timedisplay.h"
#include "playback/transport.h"
#include "playlist/mediafiles.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "sound/equalizerpresets.h"
#include "sound/volumebalance.h"
#include "tags/songdetails.h"
#include "ui/titlescroller.h"
#include "ui/weblinks.h"
#include "ui/windowoptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace quillet {

class AudioEngine;
class MainWindowSteps;
class UserDialogs;

class Program : public QObject {
    Q_OBJECT
public:
    // programDir: the program directory, ending in "/".
    Program(AudioEngine& engine, UserDialogs& dialogs, QString programDir,
            QObject* parent = nullptr);
    ~Program() override;

    // The window the load sequence sizes, skins, places and shows; none: those steps are
    // skipped (tests of the sequence itself).
    void SetWindow(MainWindowSteps* window);
    // The start-up command line, kept as given (see JoinCommandLine).
    void SetCommandLine(const QString& commandLine);
    // The same from the program's arguments (several files at once are told apart).
    void SetCommandArguments(const QStringList& arguments);
    [[nodiscard]] const QString& CommandLine() const { return m_commandLine; }

    void Form_Load();
    // Writes the settings, stops the output, ends the process.
    void Form_Unload();
    // Menu Exit: stops the output and ends the process without writing the settings.
    void exit_Click();

    // Acts on a command line as the end of the load sequence does: the joined line by its
    // ending; or, when it names no existing file but each argument does, each argument is
    // added in order (as the Add dialog adds) and the first added plays. The running copy
    // acts on a second copy's command line the same way.
    void ActOnArguments(const QStringList& arguments);
    // Files dropped on the window: added in order, nothing plays.
    void AddDroppedFiles(const QStringList& paths);
    // Whether anybody can see the window: the time display and the title marquee rest while
    // nobody can, and show where they would be the moment the window shows again.
    void WindowSeen(bool seen);

    // Routines the window and other subsystems call.
    virtual void PlaySelected();
    virtual void AddCdTrack(const QString& path);
    virtual void LoadCdTracks();

    [[nodiscard]] Playlist& playlist() { return m_playlist; }
    [[nodiscard]] MediaFiles& mediaFiles() { return m_mediaFiles; }
    [[nodiscard]] PlaylistFiles& playlistFiles() { return m_playlistFiles; }
    [[nodiscard]] DesktopFiles& desktopFiles() { return m_desktopFiles; }
    [[nodiscard]] Settings& settings() { return m_settings; }
    [[nodiscard]] SongDetails& songDetails() { return m_songDetails; }
    [[nodiscard]] AudioCd& audioCd() { return m_audioCd; }
    [[nodiscard]] Transport& transport() { return m_transport; }
    [[nodiscard]] TimeDisplay& timeDisplay() { return m_timeDisplay; }
    [[nodiscard]] EndOfTrack& endOfTrack() { return m_endOfTrack; }
    [[nodiscard]] EqualizerPresets& equalizer() { return m_equalizer; }
    [[nodiscard]] VolumeBalance& volumeBalance() { return m_volumeBalance; }
    [[nodiscard]] TitleScroller& titleScroller() { return m_titleScroller; }
    [[nodiscard]] WindowOptions& windowOptions() { return m_windowOptions; }
    [[nodiscard]] WebLinks& webLinks() { return m_webLinks; }
    [[nodiscard]] QTimer& Timer1() { return m_timer1; }
    [[nodiscard]] QTimer& Timer2() { return m_timer2; }
    [[nodiscard]] QTimer& TimerScroller() { return m_timerScroller; }
    [[nodiscard]] AudioEngine& engine() { return m_engine; }
    [[nodiscard]] const QString& ProgramDir() const { return m_programDir; }

protected:
    // Load steps, in sequence order.
    virtual void ShellIntegration();
    virtual void LoadSkin();
    virtual void SizeSkinControls();
    virtual void AttachSkins();
    virtual void ReadSetting(SettingKey key, const QString& path);
    virtual void ApplyContinuousPlay();
    virtual void ApplyStayOnTop();
    virtual void ApplyShuffle();
    virtual void SetVolumeBar(int position);
    virtual void SetBalanceBar(int position);
    virtual void SendBarsToVolumeStage();
    virtual void CreateEqualizerBands();
    virtual void ApplyStoredPreset();
    virtual void FillGenres();
    virtual void CentreWindow();
    virtual void ShowWindow();
    virtual void ActOnCommandLine();
    // Ends the process: the event loop returns and main() cleans up; nothing else runs.
    virtual void EndProcess();

private:
    void ReadAndApplySettings();
    void StopOutput();
    void ActOnLine(const QString& line);

    AudioEngine& m_engine;
    UserDialogs& m_dialogs;
    QString m_programDir;
    MainWindowSteps* m_window = nullptr;
    QString m_commandLine;
    QStringList m_arguments;
    Playlist m_playlist;
    MediaFiles m_mediaFiles;
    PlaylistFiles m_playlistFiles;
    DesktopFiles m_desktopFiles;
    Settings m_settings;
    SongDetails m_songDetails;
    QTimer m_timer1;          // the end-of-track timer, 500 ms, off until something plays
    QTimer m_timer2;          // the time display, 100 ms, from the window's opening to the end
    QTimer m_timerScroller;   // the title marquee, 200 ms, likewise
    bool m_windowSeen = true; // both of them rest while nobody can see the window
    QElapsedTimer m_unseenSince;
    AudioCd m_audioCd;
    Transport m_transport;
    TimeDisplay m_timeDisplay;
    EndOfTrack m_endOfTrack;
    EqualizerPresets m_equalizer;
    VolumeBalance m_volumeBalance;
    TitleScroller m_titleScroller;
    WindowOptions m_windowOptions;
    WebLinks m_webLinks;
};

} // namespace quillet
