// The entry routine: one copy per user, the command line kept, the main window loaded.
#include "app/commandline.h"
#include "app/jukebox.h"
#include "components/audio/engine.h"
#include "platform/programdir.h"
#include "platform/singleinstance.h"

#include <QApplication>

#include <memory>

namespace {

// The engine on the sound server; should the server side fail to come up at all, an output
// without a device keeps the window usable (playing then reports no device as usual).
std::unique_ptr<quillet::AudioEngine> CreateEngine()
{
    using namespace quillet::audio;
    try {
        return CreateAudioEngine({});
    } catch (const std::exception&) {
        // No device at all: a play then tells the user that no output could be opened.
        EngineOptions silent;
        silent.output = OutputKind::NullRealTime;
        silent.nullServer = std::make_shared<NullServer>();
        silent.nullServer->SetPresent(false);
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
