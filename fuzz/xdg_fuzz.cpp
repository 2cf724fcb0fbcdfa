// The desktop's mimeapps.list editor: any bytes as the file are read without harm; a default
// set reads back, another type's default keeps its value, and a refused write leaves the file
// as it was. The desktop-entry quoting of any argument is exercised too.
#include "fuzz/fuzzing.h"
#include "platform/xdgassociations.h"

#include <QDir>

using namespace quillet;
using namespace quillet::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = [] {
        qputenv("XDG_CONFIG_HOME", ScratchDir().toLocal8Bit());
        qputenv("XDG_DATA_HOME", ScratchDir().toLocal8Bit());
        return ScratchFile("mimeapps.list");
    }();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)DesktopExecArgument(QString::fromUtf8(bytes));
    WriteWhole(path, data, size);

    const QString wavBefore = ReadDefaultApplication("audio/x-wav");
    (void)ReadDefaultApplication("audio/mpeg");
    if (WriteDefaultApplication("audio/mpeg", "QuilletJukebox.Document.desktop")) {
        QUILLET_FUZZ_CHECK(ReadDefaultApplication("audio/mpeg") ==
                           "QuilletJukebox.Document.desktop");
        QUILLET_FUZZ_CHECK(ReadDefaultApplication("audio/x-wav") == wavBefore);
    } else {
        QUILLET_FUZZ_CHECK(ReadWhole(path) == bytes);
    }
    return 0;
}
