// Display analysis: levels, scope samples and the spectrum (see analysis.h).
#include "components/audio/dsp/analysis.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace quillet::audio {
namespace {

float ToDb(float magnitude, float floorDb)
{
    if (!(magnitude > 0))
        return floorDb;
    return std::max(floorDb, 20.0f * std::log10(magnitude));
}

float Mono(const float* stereo, size_t frame)
{
    const float m = 0.5f * (stereo[2 * frame] + stereo[2 * frame + 1]);
    return std::isfinite(m) ? m : 0.0f;
}

} // namespace

ChannelLevels PeakLevels(const float* stereo, size_t frames)
{
    float left = 0, right = 0;
    for (size_t i = 0; i < frames; ++i) {
        // Written so that a sample that is not a number leaves the peak as it was.
        const float l = std::abs(stereo[2 * i]), r = std::abs(stereo[2 * i + 1]);
        left = l > left && std::isfinite(l) ? l : left;
        right = r > right && std::isfinite(r) ? r : right;
    }
    return {ToDb(left, LevelFloorDb), ToDb(right, LevelFloorDb)};
}

void ScopeSamples(const float* stereo, size_t frames, float* mono)
{
    for (size_t i = 0; i < frames; ++i)
        mono[i] = Mono(stereo, i);
}

SpectrumAnalyzer::SpectrumAnalyzer() : m_fft(kiss_fftr_alloc(WindowFrames, 0, nullptr, nullptr))
{
    if (!m_fft)
        throw std::bad_alloc();
    for (size_t i = 0; i < WindowFrames; ++i) {
        m_window[i] = float(0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / WindowFrames));
        m_windowSum += m_window[i];
    }
}

SpectrumAnalyzer::~SpectrumAnalyzer()
{
    kiss_fftr_free(m_fft);
}

std::array<float, SpectrumAnalyzer::Bins> SpectrumAnalyzer::Analyze(const float* stereo,
                                                                    size_t frames)
{
    std::array<kiss_fft_scalar, WindowFrames> in{};
    const size_t n = std::min(frames, WindowFrames);
    for (size_t i = 0; i < n; ++i)
        in[i] = Mono(stereo, i) * m_window[i];
    std::array<kiss_fft_cpx, WindowFrames / 2 + 1> out{};
    kiss_fftr(m_fft, in.data(), out.data());
    // A sine of amplitude a centred on bin k gives |X[k]| = a · Σw / 2.
    const float scale = 2.0f / m_windowSum;
    std::array<float, Bins> db{};
    for (size_t k = 0; k < Bins; ++k)
        db[k] = ToDb(std::hypot(out[k].r, out[k].i) * scale, FloorDb);
    return db;
}

} // namespace quillet::audio
