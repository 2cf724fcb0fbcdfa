#include "app/program.h"

#include "app/commandline.h"
#include "platform/ignorefailure.h"
#include "playback/audioengine.h"
#include "tags/genres.h"
#include "ui/mainwindowsteps.h"

#include <QCoreApplication>

namespace quillet {

namespace {
constexpr int Timer1IntervalMs = 500;
}

Program::Program(AudioEngine& engine, UserDialogs& dialogs, QString programDir, QObject* parent)
    : QObject(parent), m_engine(engine), m_dialogs(dialogs), m_programDir(std::move(programDir)),
      m_mediaFiles(
          m_playlist, m_dialogs, [this] { return m_engine.cdReader().Ready(); },
          [this](const QString& path) { AddCdTrack(path); }),
      m_playlistFiles(m_playlist, m_dialogs, m_programDir)
{
    m_timer1.setInterval(Timer1IntervalMs);
}

Program::~Program() = default;

void Program::Form_Load()
{
    CdOpen = false;
    m_timer1.stop();
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
    const QString path = SettingsFilePath(m_programDir);
    const auto read = [&](SettingKey key) { IgnoreFailure([&] { ReadSetting(key, path); }); };
    read(SettingKey::continuousPlay);
    IgnoreFailure([&] { ApplyContinuousPlay(); });
    read(SettingKey::setTop);
    IgnoreFailure([&] { ApplyStayOnTop(); });
    read(SettingKey::randomOrder);
    IgnoreFailure([&] { ApplyShuffle(); });
    read(SettingKey::volume);
    IgnoreFailure([&] { ApplyVolume(ToWholeNumber(m_settings[SettingKey::volume])); });
    read(SettingKey::balance);
    IgnoreFailure([&] { ApplyBalance(ToWholeNumber(m_settings[SettingKey::balance])); });
    for (int key = int(SettingKey::equalizerPreset); key < SettingCount; ++key)
        read(SettingKey(key));
}

void Program::ActOnCommandLine()
{
    const QString& path = m_commandLine;
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
    IgnoreFailure([&] { m_settings.WriteAll(SettingsFilePath(m_programDir)); });
    Playing = false;
    CdOpen = false;
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

// Steps that the shell-integration, playback, equalizer and volume work fill in.
void Program::ShellIntegration() {}
void Program::ApplyContinuousPlay() {}
void Program::ApplyStayOnTop() {}
void Program::ApplyShuffle() {}
void Program::ApplyVolume(int) {}
void Program::ApplyBalance(int) {}
void Program::CreateEqualizerBands() {}
void Program::ApplyStoredPreset() {}
void Program::PlaySelected() {}
void Program::AddCdTrack(const QString&) {}
void Program::LoadCdTracks() {}

} // namespace quillet
