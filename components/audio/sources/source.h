// A decoded sound source: interleaved float frames (−1…1) at the source's own rate.
// Samples are always finite and within ±MaxSourceLevel: louder ones are damage and come out as
// silence (absurdlevels.h).
// Opened on the UI thread (cheap: headers and the exact length), read and sought on the
// engine's decoder thread only. Frames are sample frames (one sample per channel).
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quillet::audio {

// +18 dBFS: well above what any real recording reaches, even a float master mixed hot.
inline constexpr float MaxSourceLevel = 8.0f;

struct StreamFormat {
    int sampleRate = 0; // Hz
    int channels = 0;   // 1 or 2
};

class Source {
public:
    virtual ~Source() = default;
    [[nodiscard]] virtual StreamFormat Format() const = 0;
    [[nodiscard]] virtual int64_t LengthFrames() const = 0; // exact
    // Reads up to `frames` frames into `out` (frames × channels floats). Returns the frames
    // read; 0 at the end of the data or after an unrecoverable read error (Failed() true).
    virtual size_t Read(float* out, size_t frames) = 0;
    // Continues from `frame` (clamped to 0…LengthFrames()), sample-exactly.
    virtual void Seek(int64_t frame) = 0;
    [[nodiscard]] virtual bool Failed() const = 0;
};

// Opens a WAV, FLAC, Ogg Vorbis, Ogg Opus or MPEG audio (layer I, II, III) file, the decoder
// chosen by the file's content, never by its name (filesource.cpp). Throws
// ComponentError for anything that is not a regular, readable, decodable file (never
// blocks on a FIFO or device node).
// The open file is read through its descriptor: a file deleted or replaced meanwhile plays on,
// one cut short ends early. Audio CDs: OpenCdSource in cddisc.h.
[[nodiscard]] std::unique_ptr<Source> OpenFileSource(const QString& path);

} // namespace quillet::audio
