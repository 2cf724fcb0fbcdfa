// The soft limiter and the conversion to 16-bit samples (see dsp.h).
#include "components/audio/dsp/dsp.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet::audio {
namespace {

constexpr float Scale = 32768.0f;
// A scaled sample rounds into the 16-bit range when it lies strictly between these.
constexpr float Lowest = -32768.5f;
constexpr float Highest = 32767.5f;
// The largest magnitude the limiter lets through (both signs, so the envelope is symmetric).
constexpr float Ceiling = 32767.0f;
// Where the envelope aims once a frame is too loud: a little below the ceiling, so that a peak
// that the previous block could not see coming (one slightly louder than the last) is met by
// the gain already in place instead of being bent to the ceiling.
constexpr float Margin = 0.9f;
constexpr double AttackSeconds = 0.002;
constexpr double ReleaseSeconds = 0.100;

inline bool Fits(float v)
{
    return v > Lowest && v < Highest;
}

inline int16_t ToInt16(float v)
{
    // The envelope keeps |v| ≤ 32767; the bounds only guard the conversion itself.
    return int16_t(std::lrint(std::clamp(v, -32768.0f, 32767.0f)));
}

// The common case: converts `count` samples as they are and returns true when every one of
// them fits; otherwise returns false (what was written to `out` is then to be replaced).
bool ConvertIfAllFit(const float* in, int16_t* out, size_t count)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128 scale = _mm_set1_ps(Scale), low = _mm_set1_ps(Lowest), high = _mm_set1_ps(Highest);
    __m128 fit = _mm_castsi128_ps(_mm_set1_epi32(-1));
    for (; i + 8 <= count; i += 8) {
        const __m128 a = _mm_mul_ps(_mm_loadu_ps(in + i), scale);
        const __m128 b = _mm_mul_ps(_mm_loadu_ps(in + i + 4), scale);
        // Ordered compares: a sample that is not a number fails them.
        fit = _mm_and_ps(fit, _mm_and_ps(_mm_cmpgt_ps(a, low), _mm_cmplt_ps(a, high)));
        fit = _mm_and_ps(fit, _mm_and_ps(_mm_cmpgt_ps(b, low), _mm_cmplt_ps(b, high)));
        // Rounds to nearest like lrint; the pack cannot saturate what fits.
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
    }
    if (_mm_movemask_ps(fit) != 0xF)
        return false;
#endif
    for (; i < count; ++i) {
        const float v = in[i] * Scale;
        if (!Fits(v))
            return false;
        out[i] = int16_t(std::lrint(v));
    }
    return true;
}

} // namespace

void SoftLimiter::SetSampleRate(int rate)
{
    if (rate >= 1000 && rate <= 1'000'000)
        m_rate = rate;
    m_releaseCoef = 0; // recomputed at the next block
}

void SoftLimiter::Reset()
{
    m_reduction = 0;
    m_releaseCoef = 0;
}

void SoftLimiter::Process(const float* in, int16_t* out, size_t samples)
{
    if (m_releaseCoef == 0) {
        m_attack = std::clamp<size_t>(size_t(AttackSeconds * m_rate), 1, MaxAttack);
        m_releaseCoef = float(std::exp(-1.0 / (ReleaseSeconds * m_rate)));
        std::fill(m_recent, m_recent + m_attack, 1.0f);
        m_recentSum = double(m_attack);
        m_recentAt = 0;
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
        const float v = in[0] * Scale * CurrentGain();
        out[0] = std::isfinite(v) ? ToInt16(v) : 0;
    }
}

void SoftLimiter::MeasureNeeds(const float* in, size_t frames)
{
    size_t f = 0;
#if defined(__SSE2__)
    // Two frames at a time: lanes l0 r0 l1 r1.
    const __m128 scale = _mm_set1_ps(Scale), low = _mm_set1_ps(Lowest), high = _mm_set1_ps(Highest),
                 one = _mm_set1_ps(1.0f), ceiling = _mm_set1_ps(Ceiling),
                 margin = _mm_set1_ps(Margin), largest = _mm_set1_ps(FLT_MAX);
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    for (; f + 2 <= frames; f += 2) {
        const __m128 v = _mm_mul_ps(_mm_loadu_ps(in + 2 * f), scale);
        __m128 a = _mm_and_ps(v, magnitude);
        a = _mm_and_ps(a, _mm_cmple_ps(a, largest)); // not finite: silence
        __m128 over = _mm_or_ps(_mm_cmpge_ps(v, high), _mm_cmple_ps(v, low));
        // Each frame's two lanes take the larger / either of its channels.
        a = _mm_max_ps(a, _mm_shuffle_ps(a, a, _MM_SHUFFLE(2, 3, 0, 1)));
        over = _mm_or_ps(over, _mm_shuffle_ps(over, over, _MM_SHUFFLE(2, 3, 0, 1)));
        const __m128 bearable = _mm_div_ps(ceiling, _mm_max_ps(a, one));
        const __m128 need = _mm_or_ps(_mm_and_ps(over, bearable), _mm_andnot_ps(over, one));
        const __m128 aim =
            _mm_or_ps(_mm_and_ps(over, _mm_mul_ps(bearable, margin)), _mm_andnot_ps(over, one));
        m_need[f] = _mm_cvtss_f32(need);
        m_need[f + 1] = _mm_cvtss_f32(_mm_movehl_ps(need, need));
        m_aim[f] = _mm_cvtss_f32(aim);
        m_aim[f + 1] = _mm_cvtss_f32(_mm_movehl_ps(aim, aim));
    }
#endif
    for (; f < frames; ++f) {
        const float l = in[2 * f] * Scale, r = in[2 * f + 1] * Scale;
        float al = std::abs(l), ar = std::abs(r);
        al = al <= FLT_MAX ? al : 0.0f;
        ar = ar <= FLT_MAX ? ar : 0.0f;
        const bool over = !Fits(l) || !Fits(r);
        const float bearable = Ceiling / std::max(std::max(al, ar), 1.0f);
        m_need[f] = over ? bearable : 1.0f;
        m_aim[f] = over ? bearable * Margin : 1.0f;
    }
}

void SoftLimiter::ProcessChunk(const float* in, int16_t* out, size_t frames)
{
    const size_t count = 2 * frames;
    const size_t w = m_attack;
    if (m_reduction == 0 && m_recentSum == double(w) && ConvertIfAllFit(in, out, count))
        return;
    // The gain each frame can bear, and what the envelope aims at.
    MeasureNeeds(in, frames);
    // The least of the aims over the next `w` frames (running minimum in blocks of w: the
    // minimum from each block's start and to each block's end).
    const float* aim = m_aim;
    for (size_t start = 0; start < frames; start += w) {
        const size_t end = std::min(start + w, frames);
        m_ahead[start] = aim[start];
        for (size_t f = start + 1; f < end; ++f)
            m_ahead[f] = std::min(m_ahead[f - 1], aim[f]);
        m_toEnd[end - 1] = aim[end - 1];
        for (size_t f = end - 1; f-- > start;)
            m_toEnd[f] = std::min(m_toEnd[f + 1], aim[f]);
    }
    for (size_t start = 0; start < frames; start += w) {
        const size_t end = std::min(start + w, frames);
        for (size_t f = start; f < end; ++f) {
            // The window [f, f + w) is this block's rest and, past it, the next block's start.
            const size_t last = std::min(f + w - 1, frames - 1);
            m_ahead[f] = last >= end ? std::min(m_toEnd[f], m_ahead[last]) : m_toEnd[f];
        }
    }
    // The envelope: the mean of those minima over the last `w` frames falls at most 1/w per
    // frame and never lies above what the frame bears; the gain follows it down and recovers
    // with the release. The release decays the gain reduction itself, since 1 − g would stall
    // in single precision.
    const double inverseW = 1.0 / double(w);
    float reduction = m_reduction;
    double sum = m_recentSum;
    size_t at = m_recentAt;
    for (size_t f = 0; f < frames; ++f) {
        sum += double(m_ahead[f]) - double(m_recent[at]);
        m_recent[at] = m_ahead[f];
        if (++at == w)
            at = 0;
        const float mean = sum == double(w) ? 1.0f : float(sum * inverseW);
        const float bearable = std::min(mean, m_need[f]);
        reduction = std::max(reduction * m_releaseCoef, 1.0f - bearable);
        const float g = 1.0f - reduction;
        for (size_t c = 2 * f; c < 2 * f + 2; ++c) {
            const float v = in[c] * Scale;
            out[c] = ToInt16(std::abs(v) <= FLT_MAX ? v * g : 0.0f);
        }
    }
    m_recentAt = at;
    // A reduction this small (0.03 of a step at full scale) ends: the conversion is exact again.
    m_reduction = reduction < 1e-6f ? 0.0f : reduction;
    // Summed afresh so that rounding cannot keep the fast path closed once all is quiet.
    m_recentSum = 0;
    for (size_t i = 0; i < w; ++i)
        m_recentSum += m_recent[i];
}

} // namespace quillet::audio
