#include "app/jukebox.h"

#include "playback/audioengine.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

namespace quillet {

MainWindowParts WindowParts(Program& program)
{
    return {program.playlist(),          program.mediaFiles(),    program.playlistFiles(),
            program.songDetails(),       program.audioCd(),       program.transport(),
            program.timeDisplay(),       program.endOfTrack(),    program.equalizer(),
            program.volumeBalance(),     program.windowOptions(), program.webLinks(),
            program.engine().connector()};
}

Jukebox::Jukebox(std::unique_ptr<AudioEngine> engine, const QString& programDir,
                 const QString& commandLine)
    : m_engine(std::move(engine)), m_program(*m_engine, m_dialogs, programDir),
      m_window(WindowParts(m_program),
               {[this] { m_program.Form_Unload(); }, [this] { m_program.exit_Click(); }})
{
    m_dialogs.SetMainWindow(&m_window);
    m_program.SetWindow(&m_window);
    m_program.SetCommandLine(commandLine);
}

Jukebox::~Jukebox() = default;

void Jukebox::Start()
{
    m_program.Form_Load();
    m_window.show(); // already shown by the load sequence; showing again changes nothing
    // The icon (drawn from its SVG) once the window is up, so it never delays the first
    // picture; every window of the program takes it.
    QTimer::singleShot(0, &m_window, [] {
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillet-jukebox.svg")));
    });
}

} // namespace quillet
