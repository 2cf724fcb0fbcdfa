#include "app/jukebox.h"

#include "components/displays/windowsight.h"
#include "platform/bytetext.h"
#include "playback/audioengine.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
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

namespace {
// A handed-over argument as a path: the bytes the second copy was given, kept.
QStringList ArgumentTexts(const QList<QByteArray>& arguments)
{
    QStringList texts;
    for (const QByteArray& argument : arguments)
        texts.append(TextFromBytes(argument));
    return texts;
}
// The program's icon drawn from its SVG at the sizes the window system is given for a
// scalable icon, here rather than through the toolkit's SVG icon plugin, which would be one
// library more in every running copy.
QIcon ProgramIcon()
{
    QSvgRenderer svg(QStringLiteral(":/quillet-jukebox.svg"));
    QIcon icon;
    for (const int side : {16, 32, 64, 128}) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

} // namespace

Jukebox::Jukebox(std::unique_ptr<AudioEngine> engine, const QString& programDir,
                 const QStringList& arguments, const QString& runtimeDir)
    : m_engine(std::move(engine)), m_program(*m_engine, m_dialogs, programDir),
      m_window(WindowParts(m_program),
               {[this] { m_program.Form_Unload(); }, [this] { m_program.exit_Click(); },
                [this](const QStringList& paths) { m_program.AddDroppedFiles(paths); }}),
      m_mpris({m_program.transport(), m_program.playlist(), m_program.songDetails(),
               m_program.volumeBalance(), m_program.engine(),
               [this] {
                   m_window.show();
                   m_window.raise();
                   m_window.activateWindow();
               },
               [this] { m_window.close(); },
               [this](const QString& path) { m_program.ActOnArguments({path}); }}),
      m_runtimeDir(runtimeDir)
{
    m_dialogs.SetMainWindow(&m_window);
    m_program.SetWindow(&m_window);
    m_program.SetCommandArguments(arguments);
    QObject::connect(&m_window.Sight(), &WindowSight::SeenChanged, &m_program,
                     &Program::WindowSeen);
    QObject::connect(&m_handOver, &HandOverServer::Received, &m_program,
                     [this](const QList<QByteArray>& handed) {
                         m_program.ActOnArguments(ArgumentTexts(handed));
                     });
}

Jukebox::~Jukebox() = default;

void Jukebox::Start()
{
    m_program.Form_Load();
    m_window.show(); // already shown by the load sequence; showing again changes nothing
    // Command lines of later copies; one that comes before this listens waits for it.
    (void)m_handOver.Listen(HandOverSocketPath(m_runtimeDir));
    // The icon (drawn from its SVG) once the window is up, so it never delays the first
    // picture; every window of the program takes it.
    QTimer::singleShot(0, &m_window, [] { QApplication::setWindowIcon(ProgramIcon()); });
    // The session bus once the window is up, so the start never waits for it.
    QTimer::singleShot(0, &m_mpris, [this] { (void)m_mpris.Connect(); });
}

} // namespace quillet
