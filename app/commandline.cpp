#include "app/commandline.h"

#include "platform/bytetext.h"

namespace quillet {
namespace {

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString JoinCommandLine(const QStringList& arguments)
{
    return TrimBlanks(arguments.join(QLatin1Char(' ')));
}

QStringList ArgumentsAfterName(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << TextFromBytes(argv[i]);
    return arguments;
}

CommandLineAction ActionFor(const QString& commandLine)
{
    if (commandLine.isEmpty())
        return CommandLineAction::None;
    const QString ending = commandLine.right(4).toUpper();
    if (ending == QLatin1String(".MP3") || ending == QLatin1String(".MP2") ||
        ending == QLatin1String(".MP1") || ending == QLatin1String(".WAV"))
        return CommandLineAction::AddMediaFileAndPlay;
    if (ending == QLatin1String(".QLT"))
        return CommandLineAction::LoadPlaylistFile;
    if (ending == QLatin1String(".CDA"))
        return CommandLineAction::AddCdTrackAndPlay;
    if (ending == QLatin1String("LCDA"))
        return CommandLineAction::LoadCdTracksAndPlay;
    return CommandLineAction::None;
}

} // namespace quillet
