#include "app/program.h"

#include "app/commandline.h"
#include "app/shellintegration.h"
#include "platform/ignorefailure.h"
#include "platform/opendocument.h"
#include "playback/audioengine.h"
#include "tags/genres.h"
#include "ui/mainwindowsteps.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace quillet {

namespace {
std::span<QString, EqualizerPresets::BandCount> BandTexts(Settings& settings)
{
    return std::span<QString, EqualizerPresets::BandCount>(&settings[SettingKey::db32],
                                                           EqualizerPresets::BandCount);
}
} // namespace

Program::Program(AudioEngine& engine, UserDialogs& dialogs, QString programDir, QObject* parent)
    : QObject(parent), m_engine(engine), m_dialogs(dialogs), m_programDir(std::move(programDir)),
      m_mediaFiles(
          m_playlist, m_dialogs, [this] { return m_engine.cdReader().Ready(); },
          [this](const QString& path) { AddCdTrack(path); }),
      m_playlistFiles(m_playlist, m_dialogs, m_programDir),
      m_desktopFiles(m_playlist, m_mediaFiles, m_playlistFiles),
      m_audioCd(engine.cdReader(), engine.waveOut(), m_playlist, dialogs),
      m_transport(engine, dialogs, m_playlist, m_songDetails, m_audioCd, m_timer1),
      m_timeDisplay(engine, m_transport),
      m_endOfTrack(m_playlist, m_transport, engine.audioFile(), m_timer1,
                   m_settings[SettingKey::continuousPlay], m_settings[SettingKey::randomOrder]),
      m_equalizer(engine.eq(), m_settings[SettingKey::equalizerPreset], BandTexts(m_settings)),
      m_volumeBalance(engine.masterVolume(), m_settings[SettingKey::volume],
                      m_settings[SettingKey::balance]),
      m_titleScroller(m_songDetails), m_windowOptions(m_settings[SettingKey::setTop]),
      m_webLinks(m_programDir, [](const QString& document) { (void)OpenDocument(document); })
{
    m_timer1.setInterval(EndOfTrack::IntervalMs);
    m_timer2.setInterval(TimeDisplay::IntervalMs);
    m_timerScroller.setInterval(TitleScroller::IntervalMs);
    connect(&m_timer1, &QTimer::timeout, this, [this] { m_endOfTrack.Timer1_Timer(); });
    connect(&m_timer2, &QTimer::timeout, this, [this] { m_timeDisplay.Timer2_Timer(); });
    connect(&m_timerScroller, &QTimer::timeout, this,
            [this] { m_titleScroller.TimerScroller_Timer(); });
}

Program::~Program() = default;

void Program::Form_Load()
{
    m_transport.CdOpen = false;
    m_timer1.stop();
    // The time display and the title marquee run from the window's opening to the end, while
    // somebody can see it.
    if (m_windowSeen) {
        m_timer2.start();
        m_timerScroller.start();
    }
    // From here on a failing step is skipped and the next one runs.
    IgnoreFailure([&] { ShellIntegration(); });
    IgnoreFailure([&] { LoadSkin(); });
    IgnoreFailure([&] { SizeSkinControls(); });
    IgnoreFailure([&] { AttachSkins(); });
    ReadAndApplySettings();
    IgnoreFailure([&] { CreateEqualizerBands(); });
    IgnoreFailure([&] { ApplyStoredPreset(); });
    IgnoreFailure([&] { FillGenres(); });
    IgnoreFailure([&] { CentreWindow(); });
    IgnoreFailure([&] { ShowWindow(); });
    ActOnCommandLine();
}

// Each key is read and, where it is applied at load, applied right after its own read.
void Program::ReadAndApplySettings()
{
    const QString path = SettingsFilesFor(m_programDir).read;
    const auto read = [&](SettingKey key) { IgnoreFailure([&] { ReadSetting(key, path); }); };
    read(SettingKey::continuousPlay);
    IgnoreFailure([&] { ApplyContinuousPlay(); });
    read(SettingKey::setTop);
    IgnoreFailure([&] { ApplyStayOnTop(); });
    read(SettingKey::randomOrder);
    IgnoreFailure([&] { ApplyShuffle(); });
    read(SettingKey::volume);
    IgnoreFailure([&] { SetVolumeBar(ToWholeNumber(m_settings[SettingKey::volume])); });
    read(SettingKey::balance);
    IgnoreFailure([&] { SetBalanceBar(ToWholeNumber(m_settings[SettingKey::balance])); });
    // The volume stage follows the bars from the start, also where no change was raised.
    IgnoreFailure([&] { SendBarsToVolumeStage(); });
    for (int key = int(SettingKey::equalizerPreset); key < SettingCount; ++key)
        read(SettingKey(key));
}

void Program::SetCommandLine(const QString& commandLine)
{
    m_commandLine = commandLine;
    m_arguments = commandLine.isEmpty() ? QStringList() : QStringList{commandLine};
}

void Program::SetCommandArguments(const QStringList& arguments)
{
    m_commandLine = JoinCommandLine(arguments);
    m_arguments = arguments;
}

void Program::ActOnCommandLine()
{
    ActOnArguments(m_arguments);
}

void Program::ActOnArguments(const QStringList& arguments)
{
    const QString line = JoinCommandLine(arguments);
    const auto isFile = [](const QString& path) { return QFileInfo(path).isFile(); };
    if (arguments.size() < 2 || QFileInfo::exists(line) ||
        !std::all_of(arguments.begin(), arguments.end(), isFile)) {
        ActOnLine(line);
        return;
    }
    int first = -1;
    IgnoreFailure([&] { first = m_desktopFiles.Add(arguments); });
    if (first < 0)
        return;
    m_playlist.Select(first);
    IgnoreFailure([&] { PlaySelected(); });
}

void Program::AddDroppedFiles(const QStringList& paths)
{
    IgnoreFailure([&] { (void)m_desktopFiles.Add(paths); });
}

void Program::WindowSeen(bool seen)
{
    if (seen == m_windowSeen)
        return;
    m_windowSeen = seen;
    if (!seen) {
        m_timer2.stop();
        m_timerScroller.stop();
        m_unseenSince.start();
        return;
    }
    m_timeDisplay.Timer2_Timer();
    m_titleScroller.Turn(m_unseenSince.elapsed() / TitleScroller::IntervalMs);
    m_timer2.start();
    m_timerScroller.start();
}

void Program::ActOnLine(const QString& path)
{
    switch (ActionFor(path)) {
    case CommandLineAction::None:
        return;
    case CommandLineAction::AddMediaFileAndPlay:
        IgnoreFailure([&] { m_mediaFiles.AddMediaFile(path); });
        IgnoreFailure([&] { PlaySelected(); });
        return;
    case CommandLineAction::LoadPlaylistFile:
        IgnoreFailure([&] { m_playlistFiles.LoadPlaylistFile(path); });
        return;
    case CommandLineAction::AddCdTrackAndPlay:
        IgnoreFailure([&] { AddCdTrack(path); });
        IgnoreFailure([&] { PlaySelected(); });
        return;
    case CommandLineAction::LoadCdTracksAndPlay:
        IgnoreFailure([&] { LoadCdTracks(); });
        IgnoreFailure([&] { PlaySelected(); });
        return;
    }
}

void Program::Form_Unload()
{
    // The run's settings are lost on a failed write, nothing else (the file stays as it was).
    IgnoreFailure([&] { (void)m_settings.WriteAll(SettingsFilesFor(m_programDir)); });
    m_transport.ForgetPlay();
    m_transport.CdOpen = false;
    StopOutput();
    EndProcess();
}

void Program::exit_Click()
{
    StopOutput();
    EndProcess();
}

// Releases the drive and stops the output; each call on its own, so a failing one does not
// keep the other from running or the program from ending.
void Program::StopOutput()
{
    IgnoreFailure([&] { m_engine.cdReader().Close(); });
    IgnoreFailure([&] { m_engine.waveOut().Stop(); });
    m_timer1.stop();
}

void Program::EndProcess()
{
    QCoreApplication::exit(0);
}

void Program::ReadSetting(SettingKey key, const QString& path)
{
    m_settings.Read(key, path);
}

void Program::LoadSkin()
{
    if (m_window)
        m_window->SetSkinFile(m_programDir + QLatin1String("Skins/default.skn"));
}

void Program::SizeSkinControls()
{
    if (m_window)
        m_window->SizeSkinControls();
}

void Program::AttachSkins()
{
    if (m_window)
        m_window->AttachSkins();
}

void Program::FillGenres()
{
    FillGenreTable();
}

void Program::CentreWindow()
{
    if (m_window)
        m_window->CentreOnScreen();
}

void Program::ShowWindow()
{
    if (m_window)
        m_window->ShowWindow();
}

void Program::ApplyContinuousPlay()
{
    m_endOfTrack.ApplyContinuousPlay();
}

void Program::ApplyShuffle()
{
    m_endOfTrack.ApplyShuffle();
}

// The bar's change notification passes the value on to the volume stage.
void Program::SetVolumeBar(int position)
{
    m_volumeBalance.SkinScrollBarVolume().SetValue(position);
}

void Program::SetBalanceBar(int position)
{
    m_volumeBalance.SkinScrollBarBalance().SetValue(position);
}

void Program::SendBarsToVolumeStage()
{
    m_volumeBalance.SendBarsToVolumeStage();
}

void Program::CreateEqualizerBands()
{
    m_equalizer.CreateEqualizerBands();
}

void Program::ApplyStoredPreset()
{
    m_equalizer.ApplyStoredPreset();
}

void Program::PlaySelected()
{
    m_transport.PlaySelected();
}

void Program::AddCdTrack(const QString& path)
{
    m_audioCd.AddCdTrack(path);
}

void Program::LoadCdTracks()
{
    m_audioCd.LoadCdTracks();
}

void Program::SetWindow(MainWindowSteps* window)
{
    m_window = window;
    m_windowOptions.SetWindow(window);
}

// The media types and the audio-CD command point at this program at every start.
void Program::ShellIntegration()
{
    StartupAssociation(m_programDir);
}

void Program::ApplyStayOnTop()
{
    m_windowOptions.ApplyStayOnTop();
}

} // namespace quillet
