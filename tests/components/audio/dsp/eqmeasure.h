// Equalizer settings used as test data (the player's presets and random slider positions) and
// the measurement of an Equalizer's response from its impulse response. Shared by the tests
// and the accuracy benchmark. Frequencies in Hz, gains in dB.
#pragma once

#include "components/audio/dsp/dsp.h"
#include "sound/equalizerpresets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace quillet::audio::test {

inline const std::array<double, 11>& BandEdges = EqualizerPresets::Edges;
using Gains = std::array<double, MaxEqBands>; // the player uses the first ten

struct EqSetting {
    std::string name;
    Gains gains;
};

// The eleven presets ("My Settings" is an uneven user curve, then the player's own by preset
// number: [5] is Full Treble), the sliders alternating between the extremes both ways, then
// `random` whole-number slider settings in −16…16, the same every run.
inline std::vector<EqSetting> Settings(int random = 0)
{
    std::vector<EqSetting> out = {{"My Settings", {5, -3, 2, 8, -6, 0, 4, -10, 7, -2}}};
    for (int number = 2; number <= EqualizerPresets::PresetCount; ++number) {
        EqSetting s{"preset " + std::to_string(number), {}};
        for (int k = 0; k < 10; ++k)
            s.gains[k] = EqualizerPresets::FixedValues(number)[k].toInt();
        out.push_back(s);
    }
    out.push_back({"alternating +16", {16, -16, 16, -16, 16, -16, 16, -16, 16, -16}});
    out.push_back({"alternating -16", {-16, 16, -16, 16, -16, 16, -16, 16, -16, 16}});
    std::mt19937 rng(20170214);
    std::uniform_int_distribution<int> position(-16, 16);
    for (int i = 0; i < random; ++i) {
        EqSetting s{"random " + std::to_string(i), {}};
        for (int k = 0; k < 10; ++k)
            s.gains[k] = position(rng);
        out.push_back(s);
    }
    return out;
}

// Interleaved stereo white noise of peak `amplitude`, the same for the same seed.
inline std::vector<float> Noise(size_t frames, float amplitude, unsigned seed = 1)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> sample(-amplitude, amplitude);
    std::vector<float> out(2 * frames);
    for (float& x : out)
        x = sample(rng);
    return out;
}

// An equalizer with the player's ten bands, set up for `rate` with `gains`.
inline void Configure(Equalizer& eq, int rate, const Gains& gains)
{
    for (int k = eq.BandCount(); k < 10; ++k)
        eq.AddBand(BandEdges[k], BandEdges[k + 1]);
    for (int k = 0; k < 10; ++k)
        eq.SetGain(k, gains[k]);
    eq.SetSampleRate(rate);
}

// The player's bands as the equalizer lays them out at `rate`.
inline EqLayout PlayerLayout(double rate)
{
    return LayOutBands(10, BandEdges.data(), BandEdges.data() + 1, rate);
}

// Where a listener checks that the equalizer holds its bands: the band centres that lie in
// range at `rate`, band 0's gain at 10 and 20 Hz, and band 9's at 16.5 and 20 kHz (where the
// rate reaches them and band 9 takes part).
struct CheckPoint {
    double hz;
    int band;
};
inline std::vector<CheckPoint> CheckPoints(int rate)
{
    const EqLayout layout = PlayerLayout(rate);
    std::vector<CheckPoint> out = {{10, 0}, {20, 0}};
    for (int k = 0; k < 10; ++k)
        if (layout.active[k])
            out.push_back({layout.centreHz[k], k});
    for (double hz : {16500.0, 20000.0})
        if (layout.active[9] && hz < MaxPointFraction * rate)
            out.push_back({hz, 9});
    return out;
}

// The response (dB) at `hz` of the left channel of `ir`, by direct evaluation of its Fourier
// transform.
inline double MeasuredDb(const std::vector<float>& ir, int rate, double hz)
{
    const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * hz / rate);
    std::complex<double> rot = 1, sum = 0;
    for (size_t i = 0; i < ir.size(); i += 2, rot *= step)
        sum += double(ir[i]) * rot;
    return 20 * std::log10(std::abs(sum));
}

// Worst |measured − slider| over the check points at `rate`.
inline double WorstDeviationDb(const std::vector<float>& ir, int rate, const Gains& gains)
{
    double worst = 0;
    for (const CheckPoint& p : CheckPoints(rate))
        worst = std::max(worst, std::abs(MeasuredDb(ir, rate, p.hz) - gains[p.band]));
    return worst;
}

// One second of the interleaved stereo response of `eq`, freshly set up for `rate` and `gains`,
// to an impulse of 1 on the left and −0.5 on the right, processed in blocks like the output does.
inline std::vector<float> MeasuredResponse(Equalizer& eq, int rate, const Gains& gains,
                                           size_t block = 4096)
{
    Configure(eq, rate, gains);
    eq.ResetState();
    const size_t frames = size_t(rate);
    std::vector<float> buf(2 * frames, 0.0f);
    buf[0] = 1.0f;
    buf[1] = -0.5f;
    for (size_t at = 0; at < frames; at += block)
        eq.Process(buf.data() + 2 * at, std::min(block, frames - at));
    return buf;
}

} // namespace quillet::audio::test
