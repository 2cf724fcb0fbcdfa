// The file decoders behind OpenFileSource: libsndfile for WAV, FLAC and Ogg Opus, libvorbisfile
// for Ogg Vorbis, libmpg123 for MPEG audio. Constructed on the UI thread from an open descriptor of
// a regular file (they take it over and close it); read and sought on the decoder thread. Frames
// are sample frames.
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

// What the engine plays: mono or stereo, at a rate from 1 kHz to 768 kHz. Anything else in a
// header is damage (or a file the player cannot render) and is refused at open.
[[nodiscard]] inline bool IsPlayableFormat(long sampleRate, int channels)
{
    return channels >= 1 && channels <= 2 && sampleRate >= 1000 && sampleRate <= 768000;
}

// The containers libsndfile decodes for us; the library's own finding must match.
enum class SndfileKind { Wav, Flac, Opus };

// Each throws ComponentError when the data cannot be decoded; `fd` is closed in any case.
[[nodiscard]] std::unique_ptr<Source> OpenSndfileSource(int fd, const QString& path,
                                                        SndfileKind kind);
// Ogg Vorbis goes through libvorbisfile rather than libsndfile: libsndfile 1.2 seeks some
// Vorbis files a block off, and here a seek must land on its sample.
[[nodiscard]] std::unique_ptr<Source> OpenVorbisSource(int fd, const QString& path);
// For content that HasMpegFrameRun accepted.
[[nodiscard]] std::unique_ptr<Source> OpenMpegSource(int fd, int64_t size, const QString& path);

// True when the file holds a run of consistent MPEG audio frame headers (each where the one
// before says the next begins) near its start, after an ID3v2 tag if there is one. Random
// bytes fail this; libmpg123 alone would resync on them and decode noise.
[[nodiscard]] bool HasMpegFrameRun(int fd, int64_t size);

} // namespace quillet::audio
