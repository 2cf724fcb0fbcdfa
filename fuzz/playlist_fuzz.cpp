// The playlist reader: any bytes as a playlist file are read without harm, and a playlist
// written back and read again holds the same sources.
#include "fuzz/fuzzing.h"
#include "playlist/playlist.h"
#include "playlist/playlistfiles.h"
#include "tests/support/fakedialogs.h"

#include <QCoreApplication>

using namespace quillet;
using namespace quillet::fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = ScratchFile("list.qlt");
    static const QString again = ScratchFile("again.qlt");
    WriteWhole(path, data, size);
    test::FakeDialogs dialogs;
    Playlist first;
    PlaylistFiles files(first, dialogs, ScratchDir());
    files.ReadList(path);
    if (first.Count() == 0 || !files.WriteList(again))
        return 0;
    Playlist second;
    PlaylistFiles(second, dialogs, ScratchDir()).ReadList(again);
    QUILLET_FUZZ_CHECK(second.Sources() == first.Sources());
    return 0;
}
