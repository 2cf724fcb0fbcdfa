// The skin loader: any bytes as the skin file load (or leave no skin) and render without harm,
// and what reaches the SVG renderer never refers to anything outside the file.
#include "components/skin/selfcontained.h"
#include "components/skin/skinform.h"
#include "fuzz/fuzzing.h"

#include <QApplication>

using namespace quillet;
using namespace quillet::fuzz;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = ScratchFile("default.skn");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray kept = SelfContainedSvg(bytes);
    // Nothing is left to remove from what was kept.
    QUILLET_FUZZ_CHECK(SelfContainedSvg(kept) == kept);

    WriteWhole(path, data, size);
    SvgSkinForm form;
    form.SetSkinFile(path);
    for (const char* element : {"form", "ButtonPlay", "ButtonPlay.hover", "bg"})
        (void)form.Pixmap(QLatin1String(element), QSize(48, 24), 1.0);
    (void)form.StateElement("ButtonPlay", {".pressed", ".hover"});
    return 0;
}
