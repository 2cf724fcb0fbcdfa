// Filter design for the graphic equalizer (see eqdesign.h).
#include "components/audio/dsp/eqdesign.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace quillet::audio {
namespace {

// Gain of the sections when their interaction is first measured; large enough to show the
// shape of each section, small enough to stay in its nearly linear range.
constexpr double PrototypeDb = 12.0;
// Step of the central difference that gives a section's change of response per dB.
constexpr double SlopeStepDb = 0.5;
// Filter gains are kept within this range. Sliders reach ±16 dB; alternating extremes need
// up to about ±46 dB on the low sections, which double precision handles with ease.
constexpr double MaxFilterDb = 48.0;

using Matrix = std::array<std::array<double, MaxEqBands>, MaxEqBands>;
using Vector = std::array<double, MaxEqBands>;

// Solves the n × n system a·x = b in place (Gaussian elimination with partial pivoting);
// the solution replaces b. Returns false for a singular system.
bool SolveLinear(Matrix& a, Vector& b, int n)
{
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        if (!(std::abs(a[pivot][col]) > 1e-12))
            return false;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int r = col + 1; r < n; ++r) {
            const double f = a[r][col] / a[col][col];
            for (int c = col; c < n; ++c)
                a[r][c] -= f * a[col][c];
            b[r] -= f * b[col];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = b[r];
        for (int c = r + 1; c < n; ++c)
            s -= a[r][c] * b[c];
        b[r] = s / a[r][r];
    }
    return true;
}

// Response (dB) at the given centres of one section designed for `gainDb`.
Vector ResponsesAt(const BandShape& shape, double gainDb, const Vector& hz, int n, double rate)
{
    Vector out{};
    const Biquad s = DesignSection(shape, gainDb, rate);
    for (int m = 0; m < n; ++m)
        out[m] = ResponseDb(s, hz[m], rate);
    return out;
}

} // namespace

BandShape ShapeOfBand(double lowEdge, double highEdge, bool isLastOfSeveral)
{
    BandShape s;
    if (lowEdge <= 0) {
        s.kind = BandShapeKind::LowShelf;
        s.designHz = highEdge;
        s.centreHz = highEdge / std::numbers::sqrt2;
    } else {
        s.kind = isLastOfSeveral ? BandShapeKind::HighShelf : BandShapeKind::Peak;
        s.centreHz = std::sqrt(lowEdge * highEdge);
        s.designHz = isLastOfSeveral ? lowEdge : s.centreHz;
    }
    return s;
}

bool BandFitsRate(const BandShape& shape, double rate)
{
    return shape.centreHz > 0 && shape.centreHz < MaxCentreFraction * rate && shape.designHz > 0 &&
           shape.designHz < 0.49 * rate;
}

Biquad DesignSection(const BandShape& shape, double gainDb, double rate)
{
    if (gainDb == 0)
        return {};
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2 * std::numbers::pi * shape.designHz / rate;
    const double cw = std::cos(w0);
    double b0, b1, b2, a0, a1, a2;
    if (shape.kind == BandShapeKind::Peak) {
        const double alpha = std::sin(w0) / (2 * PeakQ);
        b0 = 1 + alpha * a;
        b1 = -2 * cw;
        b2 = 1 - alpha * a;
        a0 = 1 + alpha / a;
        a1 = -2 * cw;
        a2 = 1 - alpha / a;
    } else {
        const double alpha = std::sin(w0) / (2 * ShelfQ);
        const double sa = 2 * std::sqrt(a) * alpha;
        const double sign = shape.kind == BandShapeKind::LowShelf ? 1.0 : -1.0;
        b0 = a * ((a + 1) - sign * (a - 1) * cw + sa);
        b1 = sign * 2 * a * ((a - 1) - sign * (a + 1) * cw);
        b2 = a * ((a + 1) - sign * (a - 1) * cw - sa);
        a0 = (a + 1) + sign * (a - 1) * cw + sa;
        a1 = -sign * 2 * ((a - 1) + sign * (a + 1) * cw);
        a2 = (a + 1) + sign * (a - 1) * cw - sa;
    }
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

double ResponseDb(const Biquad& s, double hz, double rate)
{
    const std::complex<double> z1 = std::polar(1.0, -2 * std::numbers::pi * hz / rate);
    const std::complex<double> z2 = z1 * z1;
    const std::complex<double> h = (s.b0 + s.b1 * z1 + s.b2 * z2) / (1.0 + s.a1 * z1 + s.a2 * z2);
    return 20 * std::log10(std::max(std::abs(h), 1e-30));
}

std::array<double, MaxEqBands> SolveFilterGains(const EqLayout& layout,
                                                const std::array<double, MaxEqBands>& sliderDb)
{
    // The active bands, their centres and targets.
    int order[MaxEqBands];
    int n = 0;
    Vector hz{}, target{};
    bool allFlat = true;
    for (int k = 0; k < layout.count; ++k) {
        if (!layout.active[k])
            continue;
        order[n] = k;
        hz[n] = layout.shapes[k].centreHz;
        target[n] = sliderDb[k];
        allFlat = allFlat && sliderDb[k] == 0;
        ++n;
    }
    std::array<double, MaxEqBands> gains{};
    if (n == 0 || allFlat)
        return gains;

    // First pass: each section's response at the centres, per dB of a prototype gain, is
    // taken as linear in its gain (the interaction matrix), and the 10 × 10 system solved.
    // Two refinements then solve for what the cascade still misses at the centres, with each
    // section's slope measured at the gain found so far (Newton steps).
    Vector current{};
    for (int pass = 0; pass < 3; ++pass) {
        Matrix slope{};
        Vector missing = target;
        for (int i = 0; i < n; ++i) {
            const BandShape& shape = layout.shapes[order[i]];
            if (pass == 0) {
                const Vector r = ResponsesAt(shape, PrototypeDb, hz, n, layout.rate);
                for (int m = 0; m < n; ++m)
                    slope[m][i] = r[m] / PrototypeDb;
                continue;
            }
            const Vector now = ResponsesAt(shape, current[i], hz, n, layout.rate);
            const Vector up = ResponsesAt(shape, current[i] + SlopeStepDb, hz, n, layout.rate);
            const Vector down = ResponsesAt(shape, current[i] - SlopeStepDb, hz, n, layout.rate);
            for (int m = 0; m < n; ++m) {
                slope[m][i] = (up[m] - down[m]) / (2 * SlopeStepDb);
                missing[m] -= now[m];
            }
        }
        if (!SolveLinear(slope, missing, n))
            break; // keeps the gains of the previous pass
        for (int i = 0; i < n; ++i)
            current[i] = std::clamp(current[i] + missing[i], -MaxFilterDb, MaxFilterDb);
    }
    for (int i = 0; i < n; ++i)
        gains[order[i]] = current[i];
    return gains;
}

std::array<Biquad, MaxEqBands> DesignCascade(const EqLayout& layout,
                                             const std::array<double, MaxEqBands>& filterDb)
{
    std::array<Biquad, MaxEqBands> sections{};
    for (int k = 0; k < layout.count; ++k)
        if (layout.active[k])
            sections[k] = DesignSection(layout.shapes[k], filterDb[k], layout.rate);
    return sections;
}

} // namespace quillet::audio
