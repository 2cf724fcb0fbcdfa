// The entry routine: one copy per user, the command line kept, the main window loaded.
#include "app/commandline.h"
#include "app/jukebox.h"
#include "components/audio/engine.h"
#include "desktop/handover.h"
#include "platform/programdir.h"
#include "platform/singleinstance.h"

#include <QApplication>

#include <cstdio>
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

// A second copy hands its command line to the running copy and ends with status 0 either
// way; one that was not taken is reported on standard error. No display, no settings.
int EndAsSecondCopy(int argc, char** argv)
{
    QList<QByteArray> arguments;
    QStringList texts;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QByteArray(argv[i]));
        texts.append(QString::fromLocal8Bit(argv[i]));
    }
    if (quillet::JoinCommandLine(texts).isEmpty())
        return 0; // nothing to hand over
    QString error;
    if (!quillet::HandOverCommandLine(quillet::HandOverSocketPath(), arguments,
                                      quillet::HandOverTimeoutMs, &error))
        std::fprintf(stderr,
                     "quillet-jukebox: the running copy did not take the command line: %s\n",
                     qPrintable(error));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A second copy ends at once, before it touches the display; its command line goes to
    // the running copy.
    quillet::SingleInstance instance;
    if (!instance.TryBecomeFirst())
        return EndAsSecondCopy(argc, argv);

    QApplication app(argc, argv);
    // Only the unload sequence or Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    quillet::Jukebox jukebox(CreateEngine(), quillet::ProgramDirectory(),
                             quillet::ArgumentsAfterName(argc, argv));
    jukebox.Start();
    return app.exec();
}
