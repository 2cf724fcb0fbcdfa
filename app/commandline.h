// The start-up command line: the program's arguments as one text, and what the end of the
// load sequence does with it (decided by its last four characters in any letter case).
// Pure text work, any thread.
#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

enum class CommandLineAction {
    None,                // empty, or an ending that names nothing the program opens
    AddMediaFileAndPlay, // ".MP3", ".MP2", ".MP1", ".WAV"
    LoadPlaylistFile,    // ".QLT": loaded, nothing plays
    AddCdTrackAndPlay,   // ".CDA"
    LoadCdTracksAndPlay, // "LCDA": the whole disc
};

// The arguments after the program's name joined with one blank, blanks at both ends
// removed. Nothing else is split, unquoted or decoded.
[[nodiscard]] QString JoinCommandLine(const QStringList& arguments);

// The program's arguments after its name, each as the text that keeps its bytes
// (platform/bytetext.h): a file name that is not valid UTF-8 still names its file.
[[nodiscard]] QStringList ArgumentsAfterName(int argc, const char* const* argv);

// The action for a command line. The whole command line, unchanged, is the path acted on.
[[nodiscard]] CommandLineAction ActionFor(const QString& commandLine);

} // namespace quillet
