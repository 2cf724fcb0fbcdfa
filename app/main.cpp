// The entry routine: one copy per user, the command line kept, the main window loaded.
#include "app/commandline.h"
#include "app/jukebox.h"
#include "components/audio/engine.h"
#include "platform/programdir.h"
#include "platform/singleinstance.h"

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

} // namespace

int main(int argc, char** argv)
{
    // A second copy ends at once, silently, before it touches the display; its command line
    // is dropped.
    quillet::SingleInstance instance;
    if (!instance.TryBecomeFirst())
        return 0;

    QApplication app(argc, argv);
    // Only the unload sequence or Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    quillet::Jukebox jukebox(CreateEngine(), quillet::ProgramDirectory(),
                             quillet::JoinCommandLine(app.arguments().mid(1)));
    jukebox.Start();
    return app.exec();
}
