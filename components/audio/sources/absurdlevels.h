// Decoded samples that no recording holds: not finite, or far beyond full scale. A float WAV
// with one damaged sample (3e38) or an MPEG frame with a valid header over random bytes
// decodes to such values; passed on, one of them rings through the equalizer and holds the
// limiter down for seconds. The decoders replace them with silence. Decoder thread.
#pragma once

#include <cstddef>

namespace quillet::audio {

// Replaces every sample that is not finite or whose magnitude exceeds MaxSourceLevel with 0.
// Returns whether there was any.
bool SilenceAbsurdSamples(float* samples, size_t count);

// For decoders whose damage comes in whole frames (MPEG audio): besides the absurd samples
// themselves, everything within `span` sample frames of one is silenced too, because the rest
// of a frame that decodes to absurd values is noise of the same origin. Looking back is limited
// to the block at hand (what went before is already played).
class AbsurdFrameMuter {
public:
    explicit AbsurdFrameMuter(size_t span) : m_span(span) {}
    // `frames` interleaved sample frames of `channels` samples each.
    void Process(float* samples, size_t frames, int channels);
    // A seek: what follows is not near the damage any more.
    void Reset() { m_muteLeft = 0; }

private:
    size_t m_span;
    size_t m_muteLeft = 0;
};

} // namespace quillet::audio
