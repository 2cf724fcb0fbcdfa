// Helpers of the decoder tests: decode a whole source, or a stretch of it, into a Signal.
#pragma once

#include "components/audio/sources/source.h"
#include "tests/fixtures/fixtures.h"

#include <QTemporaryDir>

namespace quillet::test {

// Reads from the source's current position until Read returns 0 (or `maxFrames` were read),
// in blocks of `block` frames.
[[nodiscard]] fixtures::Signal DecodeRest(audio::Source& source, int64_t maxFrames = -1,
                                          size_t block = 1000);
[[nodiscard]] fixtures::Signal DecodeFile(const QString& path);

// Largest absolute difference of two stretches of samples (same channel count), −1 when their
// lengths differ.
[[nodiscard]] double MaxDifference(const fixtures::Signal& a, int64_t aFrom,
                                   const fixtures::Signal& b, int64_t bFrom, int64_t frames);

// A scratch directory for one test.
class ScratchDir {
public:
    [[nodiscard]] QString File(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace quillet::test
