// The ID3v1 reader: any last 128 bytes of a file parse without harm, and reading the file
// finds what parsing its last 128 bytes finds.
#include "fuzz/fuzzing.h"
#include "tags/id3v1.h"

using namespace quillet;
using namespace quillet::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString path = ScratchFile("tagged.mp3");
    const QByteArrayView all(data, qsizetype(size));
    (void)CleanTagText(all);
    (void)ParseId3v1(all);
    WriteWhole(path, data, size);
    const Id3v1Read read = ReadId3v1(path);
    if (size < size_t(Id3v1Size)) {
        QUILLET_FUZZ_CHECK(read.Status == TagStatus::NoTag);
        return 0;
    }
    const Id3v1Read parsed = ParseId3v1(all.last(Id3v1Size));
    QUILLET_FUZZ_CHECK(read.Status == parsed.Status);
    QUILLET_FUZZ_CHECK(read.Tag.Title == parsed.Tag.Title && read.Tag.Artist == parsed.Tag.Artist &&
                       read.Tag.Album == parsed.Tag.Album && read.Tag.Year == parsed.Tag.Year &&
                       read.Tag.Comment == parsed.Tag.Comment &&
                       read.Tag.Genre == parsed.Tag.Genre);
    return 0;
}
