// Equalizer settings used as test data (the player's presets and random slider positions) and
// the measurement of an Equalizer's response from its impulse response. Shared by the tests
// and the accuracy benchmark. Frequencies in Hz, gains in dB.
#pragma once

#include "components/audio/dsp/dsp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace quillet::audio::test {

inline constexpr std::array<double, 11> BandEdges = {0,    32,   64,   130,  260,  500,
                                                     1000, 2000, 4000, 8300, 16500};
using Gains = std::array<double, 10>;

struct EqSetting {
    std::string name;
    Gains gains;
};

// The eleven presets; "My Settings" is a user's own curve, here an uneven one.
inline std::vector<EqSetting> Presets()
{
    return {
        {"My Settings", {5, -3, 2, 8, -6, 0, 4, -10, 7, -2}},
        {"Classical", {0, 0, 0, 0, 0, 0, -6, -6, -6, -10}},
        {"Dance", {0, 0, 0, 0, 6, 0, 6, 6, 0, 0}},
        {"Default", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"Full Bass", {-16, -16, -16, -16, -16, -16, -16, -16, -16, -16}},
        {"Full Treble", {-8, -8, -8, -4, 4, 8, 12, 12, 12, 12}},
        {"Party", {4, 4, 0, 0, 0, 0, 0, 0, 4, 4}},
        {"Pop", {-4, 4, 6, 6, 4, -2, -4, -4, -4, -4}},
        {"Reggae", {0, 0, -3, -5, 0, 4, 4, 0, 0, 0}},
        {"Soft Rock", {2, 2, 1, -3, -4, -5, -4, -1, 3, 6}},
        {"Techno", {3, 2, 0, -3, -3, 0, 4, 6, 6, 5}},
    };
}

// Whole-number slider positions in −16…16, the same sequence every run.
inline std::vector<EqSetting> RandomSettings(int count)
{
    std::mt19937 rng(20170214);
    std::uniform_int_distribution<int> position(-16, 16);
    std::vector<EqSetting> out;
    for (int i = 0; i < count; ++i) {
        EqSetting s{"random " + std::to_string(i), {}};
        for (double& g : s.gains)
            g = position(rng);
        out.push_back(s);
    }
    return out;
}

inline void AddPlayerBands(Equalizer& eq)
{
    for (size_t i = 1; i < BandEdges.size(); ++i)
        eq.AddBand(BandEdges[i - 1], BandEdges[i]);
}

// An equalizer with the player's ten bands, set up for `rate` with `gains`.
inline void Configure(Equalizer& eq, int rate, const Gains& gains)
{
    if (eq.BandCount() == 0)
        AddPlayerBands(eq);
    for (int k = 0; k < 10; ++k)
        eq.SetGain(k, gains[k]);
    eq.SetSampleRate(rate);
}

// The left channel's impulse response (the right one gets an impulse of −0.5 as a check of
// channel independence), processed in blocks like the output does.
inline std::vector<float> ImpulseResponse(Equalizer& eq, size_t frames, size_t block = 4096)
{
    std::vector<float> buf(2 * frames, 0.0f);
    buf[0] = 1.0f;
    buf[1] = -0.5f;
    for (size_t at = 0; at < frames; at += block)
        eq.Process(buf.data() + 2 * at, std::min(block, frames - at));
    std::vector<float> left(frames);
    for (size_t i = 0; i < frames; ++i)
        left[i] = buf[2 * i];
    return left;
}

// |H(f)| in dB by direct evaluation of the response's Fourier transform at f.
inline double ResponseAtDb(const std::vector<float>& ir, double hz, double rate)
{
    const std::complex<double> step = std::polar(1.0, -2 * std::numbers::pi * hz / rate);
    std::complex<double> rot = 1, sum = 0;
    for (float h : ir) {
        sum += double(h) * rot;
        rot *= step;
    }
    return 20 * std::log10(std::abs(sum));
}

// The player's bands as the equalizer lays them out at `rate`.
inline EqLayout PlayerLayout(double rate)
{
    EqLayout layout;
    layout.count = 10;
    layout.rate = rate;
    for (int k = 0; k < 10; ++k) {
        layout.shapes[k] = ShapeOfBand(BandEdges[k], BandEdges[k + 1], k == 9);
        layout.active[k] = BandFitsRate(layout.shapes[k], rate);
    }
    return layout;
}

inline std::array<double, MaxEqBands> Widen(const Gains& gains)
{
    std::array<double, MaxEqBands> out{};
    std::copy(gains.begin(), gains.end(), out.begin());
    return out;
}

// The frequency at which band k's gain is measured (see eqdesign.h).
inline double BandCentre(int k)
{
    return ShapeOfBand(BandEdges[k], BandEdges[k + 1], k == 9).centreHz;
}

// Worst |measured − slider| over the bands that take part at `rate`.
inline double WorstDeviationDb(Equalizer& eq, int rate, const Gains& gains)
{
    Configure(eq, rate, gains);
    eq.ResetState();
    const std::vector<float> ir = ImpulseResponse(eq, size_t(rate));
    double worst = 0;
    for (int k = 0; k < 10; ++k) {
        if (BandCentre(k) >= MaxCentreFraction * rate)
            continue;
        worst = std::max(worst, std::abs(ResponseAtDb(ir, BandCentre(k), rate) - gains[k]));
    }
    return worst;
}

} // namespace quillet::audio::test
