// Helpers of the decoder tests: decoding a source into a Signal and comparing the result.
#pragma once

#include "components/audio/sources/source.h"
#include "tests/fixtures/fixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quillet::test {

// Reads from the current position until Read returns 0 or `maxFrames` were read.
inline fixtures::Signal DecodeRest(audio::Source& source, int64_t maxFrames = -1,
                                   size_t block = 1000)
{
    fixtures::Signal out;
    out.sampleRate = source.Format().sampleRate;
    out.channels = source.Format().channels;
    std::vector<float> buffer(block * size_t(out.channels));
    while (maxFrames < 0 || out.Frames() < maxFrames) {
        const int64_t want = maxFrames < 0 ? int64_t(block) : maxFrames - out.Frames();
        const size_t got = source.Read(buffer.data(), size_t(std::min(want, int64_t(block))));
        if (got == 0)
            break;
        out.samples.insert(out.samples.end(), buffer.begin(),
                           buffer.begin() + ptrdiff_t(got * size_t(out.channels)));
    }
    return out;
}

// Largest absolute difference of `frames` frames of a from aFrom and b from bFrom.
inline double MaxDifference(const fixtures::Signal& a, int64_t aFrom, const fixtures::Signal& b,
                            int64_t bFrom, int64_t frames)
{
    if (a.channels != b.channels || aFrom + frames > a.Frames() || bFrom + frames > b.Frames())
        return 1e9;
    double worst = 0;
    for (int64_t i = 0; i < frames; ++i)
        for (int c = 0; c < a.channels; ++c)
            worst = std::max(worst, double(std::abs(a.At(aFrom + i, c) - b.At(bFrom + i, c))));
    return worst;
}

} // namespace quillet::test
