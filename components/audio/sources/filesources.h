// The file decoders behind OpenFileSource: libsndfile for RIFF/WAVE, libmpg123 for MPEG audio.
// Constructed on the UI thread from an open descriptor of a regular file (they take it over and
// close it); read and sought on the decoder thread. Frames are sample frames.
#pragma once

#include "components/audio/sources/source.h"

#include <QString>

namespace quillet::audio {

// Opens `path` read-only, non-blocking; throws ComponentError unless it is a regular file.
// Returns the descriptor and its size in bytes.
struct RegularFile {
    int fd = -1;
    int64_t size = 0;
};
[[nodiscard]] RegularFile OpenRegularFile(const QString& path);

// Both throw ComponentError when the data cannot be decoded; `fd` is closed in any case.
[[nodiscard]] std::unique_ptr<Source> OpenWavSource(int fd, const QString& path);
[[nodiscard]] std::unique_ptr<Source> OpenMpegSource(int fd, int64_t size, const QString& path);

// True when the file holds a run of consistent MPEG audio frame headers (each where the one
// before says the next begins) near its start, after an ID3v2 tag if there is one. Random
// bytes fail this; libmpg123 alone would resync on them and decode noise.
[[nodiscard]] bool HasMpegFrameRun(int fd, int64_t size);

} // namespace quillet::audio
