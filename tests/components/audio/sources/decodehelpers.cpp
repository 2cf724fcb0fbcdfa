#include "tests/components/audio/sources/decodehelpers.h"

#include <algorithm>
#include <cmath>

namespace quillet::test {

fixtures::Signal DecodeRest(audio::Source& source, int64_t maxFrames, size_t block)
{
    fixtures::Signal out;
    out.sampleRate = source.Format().sampleRate;
    out.channels = source.Format().channels;
    std::vector<float> buffer(block * size_t(out.channels));
    int64_t total = 0;
    while (maxFrames < 0 || total < maxFrames) {
        size_t want = block;
        if (maxFrames >= 0)
            want = size_t(std::min<int64_t>(int64_t(block), maxFrames - total));
        const size_t got = source.Read(buffer.data(), want);
        if (got == 0)
            break;
        out.samples.insert(out.samples.end(), buffer.begin(),
                           buffer.begin() + ptrdiff_t(got * size_t(out.channels)));
        total += int64_t(got);
    }
    return out;
}

fixtures::Signal DecodeFile(const QString& path)
{
    auto source = audio::OpenFileSource(path);
    return DecodeRest(*source);
}

double MaxDifference(const fixtures::Signal& a, int64_t aFrom, const fixtures::Signal& b,
                     int64_t bFrom, int64_t frames)
{
    if (a.channels != b.channels || aFrom + frames > a.Frames() || bFrom + frames > b.Frames())
        return -1;
    double worst = 0;
    for (int64_t i = 0; i < frames; ++i)
        for (int c = 0; c < a.channels; ++c)
            worst = std::max(worst, double(std::abs(a.At(aFrom + i, c) - b.At(bFrom + i, c))));
    return worst;
}

} // namespace quillet::test
