// The entry routine: one copy per user, the command line kept, the main window loaded.
#include "app/commandline.h"
#include "app/program.h"
#include "components/audio/engine.h"
#include "platform/programdir.h"
#include "platform/singleinstance.h"
#include "ui/frmmain.h"
#include "ui/qtuserdialogs.h"

#include <QApplication>

#include <memory>

namespace {

// The engine on the sound server; should the server side fail to come up at all, a silent
// output keeps the window usable (playing then reports no device as usual).
std::unique_ptr<quillet::AudioEngine> CreateEngine()
{
    using namespace quillet::audio;
    try {
        return CreateAudioEngine({});
    } catch (const std::exception&) {
        EngineOptions silent;
        silent.output = OutputKind::NullRealTime;
        return CreateAudioEngine(silent);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // A second copy ends at once, silently, before it touches the display; its command line
    // is dropped.
    quillet::SingleInstance instance;
    if (!instance.TryBecomeFirst())
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillet-jukebox"));
    // Only the unload sequence or Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString commandLine = quillet::JoinCommandLine(app.arguments().mid(1));
    std::unique_ptr<quillet::AudioEngine> engine = CreateEngine();
    quillet::QtUserDialogs dialogs;
    quillet::Program program(*engine, dialogs, quillet::ProgramDirectory());
    quillet::frmMain window(program.playlist(), program.mediaFiles(), program.playlistFiles(),
                            {[&] { program.PlaySelected(); }, [&] { program.Form_Unload(); },
                             [&] { program.exit_Click(); }});
    dialogs.SetMainWindow(&window);
    program.SetWindow(&window);
    program.SetCommandLine(commandLine);
    program.Form_Load();
    window.show();
    return app.exec();
}
