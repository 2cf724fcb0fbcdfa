// The soft limiter and the conversion to 16-bit samples (see dsp.h).
#include "components/audio/dsp/dsp.h"

#include <algorithm>
#include <cmath>

namespace quillet::audio {
namespace {

constexpr float Scale = 32768.0f;
// A scaled sample rounds into the 16-bit range when it lies strictly between these.
constexpr float Lowest = -32768.5f;
constexpr float Highest = 32767.5f;
// The largest magnitude the limiter lets through (both signs, so the envelope is symmetric).
constexpr float Ceiling = 32767.0f;
constexpr double AttackSeconds = 0.002;
constexpr double ReleaseSeconds = 0.100;

inline bool Fits(float v) { return v > Lowest && v < Highest; }

inline int16_t ToInt16(float v)
{
    // The envelope keeps |v| ≤ 32767; the bounds only guard the conversion itself.
    return int16_t(std::lrint(std::clamp(v, -32768.0f, 32767.0f)));
}

}  // namespace

void SoftLimiter::SetSampleRate(int rate)
{
    if (rate >= 1000 && rate <= 1'000'000)
        m_rate = rate;
    m_attackStep = 0;  // recomputed at the next block
}

void SoftLimiter::Reset() { m_gain = 1; }

void SoftLimiter::Process(const float* in, int16_t* out, size_t samples)
{
    if (m_attackStep == 0) {
        m_attackStep = float(1.0 / (AttackSeconds * m_rate));
        m_releaseCoef = float(std::exp(-1.0 / (ReleaseSeconds * m_rate)));
    }
    size_t frames = samples / 2;
    while (frames > 0) {
        const size_t n = std::min(frames, Chunk);
        ProcessChunk(in, out, n);
        in += 2 * n;
        out += 2 * n;
        frames -= n;
    }
    if (samples % 2 != 0) {
        const float v = in[0] * Scale * m_gain;
        out[0] = std::isfinite(v) ? ToInt16(v) : 0;
    }
}

void SoftLimiter::ProcessChunk(const float* in, int16_t* out, size_t frames)
{
    const size_t count = 2 * frames;
    if (m_gain == 1) {
        bool fits = true;
        for (size_t i = 0; i < count; ++i)
            fits &= Fits(in[i] * Scale);
        if (fits) {
            for (size_t i = 0; i < count; ++i)
                out[i] = int16_t(std::lrint(in[i] * Scale));
            return;
        }
    }
    // The gain each frame can bear, then the envelope: falling ahead of each peak by at most
    // one attack step per frame (backwards pass), rising with the release (forwards pass).
    for (size_t f = 0; f < frames; ++f) {
        const float l = in[2 * f] * Scale, r = in[2 * f + 1] * Scale;
        const float peak = std::max(std::isfinite(l) ? std::abs(l) : 0.0f,
                                    std::isfinite(r) ? std::abs(r) : 0.0f);
        m_need[f] = Fits(l) && Fits(r) ? 1.0f : std::min(1.0f, Ceiling / peak);
    }
    float ahead = 1.0f;
    for (size_t f = frames; f-- > 0;) {
        ahead = std::min(m_need[f], ahead + m_attackStep);
        m_need[f] = ahead;
    }
    float g = m_gain;
    for (size_t f = 0; f < frames; ++f) {
        g = std::min(m_need[f], 1.0f - (1.0f - g) * m_releaseCoef);
        if (g > 0.999999f)
            g = 1.0f;
        for (size_t c = 2 * f; c < 2 * f + 2; ++c) {
            const float v = in[c] * Scale;
            out[c] = std::isfinite(v) ? ToInt16(v * g) : 0;
        }
    }
    m_gain = g;
}

}  // namespace quillet::audio
