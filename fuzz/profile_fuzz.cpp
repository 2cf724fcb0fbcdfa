// The settings file: any bytes are read without harm; a key written reads back as written,
// another key keeps the value it had, and a refused write leaves the file as it was.
#include "fuzz/fuzzing.h"
#include "platform/profile.h"

using namespace quillet;
using namespace quillet::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = ScratchFile("xquilletmp3.ini");
    // The first byte picks how the names are spelt: the format matches them in any case.
    struct Names {
        const char* section;
        const char* key;
    };
    static constexpr Names Spellings[] = {
        {"equalizer", "db16K"}, {"EQUALIZER", "DB16k"}, {"display", "Volume"}, {"new", "key"}};
    const Names names = size > 0 ? Spellings[data[0] % 4] : Spellings[0];
    const QString section = QLatin1String(names.section), key = QLatin1String(names.key);
    const QString other =
        section.compare(u"display", Qt::CaseInsensitive) == 0 ? "equalizer" : "display";
    WriteWhole(path, data, size);

    const QString before = ReadProfileString(other, "Balance", "none", 256, path);
    (void)ReadProfileString(section, key, "none", 4, path);
    if (WriteProfileString(section, key, "-5 dB", path)) {
        QUILLET_FUZZ_CHECK(ReadProfileString(section, key, "", 256, path) == "-5 dB");
        QUILLET_FUZZ_CHECK(ReadProfileString(other, "Balance", "none", 256, path) == before);
    } else {
        QUILLET_FUZZ_CHECK(ReadWhole(path) ==
                           QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    }
    return 0;
}
