// The file decoders (the MPEG frame-run probe, libmpg123, libsndfile) on any bytes, handed
// over as a file held in memory: opening either succeeds or throws ComponentError; what is
// decoded is finite and within the level any real recording reaches; seeking works anywhere.
#include "components/audio/sources/source.h"
#include "fuzz/fuzzing.h"
#include "playback/audioengine.h"

#include <cmath>
#include <sys/mman.h>
#include <vector>

using namespace quillet;
using namespace quillet::audio;
using namespace quillet::fuzz;

namespace {

// Reads at most `limit` frames; every sample must be a sound one.
int64_t ReadChecked(Source& source, int64_t limit)
{
    const int channels = source.Format().channels;
    std::vector<float> buffer(size_t(4096 * channels));
    int64_t total = 0;
    while (total < limit) {
        const size_t got = source.Read(buffer.data(), 4096);
        if (got == 0)
            break;
        QUILLET_FUZZ_CHECK(got <= 4096);
        for (size_t i = 0; i < got * size_t(channels); ++i)
            QUILLET_FUZZ_CHECK(std::isfinite(buffer[i]) && std::fabs(buffer[i]) <= MaxSourceLevel);
        total += int64_t(got);
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = ::memfd_create("fuzz-media", MFD_CLOEXEC);
    QUILLET_FUZZ_CHECK(fd >= 0);
    QUILLET_FUZZ_CHECK(size == 0 || ::write(fd, data, size) == ssize_t(size));
    try {
        const auto source = OpenFileSource(QStringLiteral("/proc/self/fd/%1").arg(fd));
        const StreamFormat format = source->Format();
        QUILLET_FUZZ_CHECK(format.channels >= 1 && format.channels <= 2 && format.sampleRate > 0);
        const int64_t length = source->LengthFrames();
        QUILLET_FUZZ_CHECK(length >= 0);
        ReadChecked(*source, 1 << 18);
        source->Seek(length / 2);
        ReadChecked(*source, 1 << 16);
        source->Seek(length + 100);
        ReadChecked(*source, 1 << 16);
        source->Seek(0);
        ReadChecked(*source, 1 << 16);
    } catch (const ComponentError&) {
    }
    ::close(fd);
    return 0;
}
