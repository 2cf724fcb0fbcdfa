#include "components/audio/sources/absurdlevels.h"
#include "components/audio/sources/source.h"

#include <algorithm>
#include <cmath>

namespace quillet::audio {

namespace {

inline bool IsAbsurd(float x)
{
    // Also true for NaN: the comparison fails.
    return !(std::fabs(x) <= MaxSourceLevel);
}

} // namespace

bool SilenceAbsurdSamples(float* samples, size_t count)
{
    bool any = false;
    for (size_t i = 0; i < count; ++i) {
        if (IsAbsurd(samples[i])) {
            samples[i] = 0.0f;
            any = true;
        }
    }
    return any;
}

void AbsurdFrameMuter::Process(float* samples, size_t frames, int channels)
{
    const size_t width = size_t(channels);
    size_t mutedTo = 0; // frames before this one are already silenced in this block
    for (size_t f = 0; f < frames; ++f) {
        float* frame = samples + f * width;
        if (std::any_of(frame, frame + width, IsAbsurd)) {
            const size_t from = std::max(mutedTo, f > m_span ? f - m_span : 0);
            std::fill(samples + from * width, frame + width, 0.0f);
            mutedTo = f + 1;
            m_muteLeft = m_span;
        } else if (m_muteLeft > 0) {
            std::fill(frame, frame + width, 0.0f);
            mutedTo = f + 1;
            --m_muteLeft;
        }
    }
}

} // namespace quillet::audio
