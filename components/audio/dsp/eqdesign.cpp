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
// Section gains are kept within this range. Sliders reach ±16 dB; alternating extremes need
// up to about ±46 dB on the low sections, which double precision handles with ease.
constexpr double MaxSectionDb = 60.0;
constexpr int MaxSteps = 12;

// The outer bands' sections and extra control points, as fractions of the band edge that
// faces the range's end (chosen by a search over the player's presets and random settings,
// for the smallest miss at the control points and no bump between them).
constexpr double LowShelfCorner = 0.8125, LowShelfQ = 0.82;
constexpr double LowHelperShelf = 0.32, LowHelperShelfQ = 0.44;
constexpr double LowHelperPeak = 0.8, LowHelperPeakQ = 0.39;
constexpr double LowPoints[] = {0.3125, 0.5, 0.625}; // of the upper edge
constexpr double LowPointWeight = 0.5;
constexpr double HighShelfCorner = 0.959, HighShelfQ = 1.73;
constexpr double HighHelperShelf = 0.658, HighHelperShelfQ = 0.436;
constexpr double HighPoints[] = {2.169, 2.41}; // of the lower edge, beside the upper edge

using Matrix = std::array<std::array<double, MaxEqSections>, MaxEqSections>;
using Vector = std::array<double, MaxEqSections>;
using PointValues = std::array<double, MaxEqPoints>;

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

// The response (dB) of one section designed for `gainDb` at every control point.
PointValues ResponsesAt(const EqLayout& layout, int section, double gainDb)
{
    PointValues out{};
    const Biquad s = DesignSection(layout.sections[section], gainDb, layout.rate);
    for (int m = 0; m < layout.pointCount; ++m)
        out[m] = ResponseDb(s, layout.points[m].hz, layout.rate);
    return out;
}

// What the cascade with `gains` still misses at each control point, and the weighted sum of
// the squared misses.
double Misses(const EqLayout& layout, const std::array<double, MaxEqBands>& sliderDb,
              const Vector& gains, PointValues& miss)
{
    for (int m = 0; m < layout.pointCount; ++m)
        miss[m] = sliderDb[layout.points[m].band];
    for (int i = 0; i < layout.sectionCount; ++i) {
        const PointValues r = ResponsesAt(layout, i, gains[i]);
        for (int m = 0; m < layout.pointCount; ++m)
            miss[m] -= r[m];
    }
    double cost = 0;
    for (int m = 0; m < layout.pointCount; ++m)
        cost += layout.points[m].weight * miss[m] * miss[m];
    return cost;
}

class LayoutBuilder {
public:
    explicit LayoutBuilder(EqLayout& layout) : m_l(layout) {}
    void Section(SectionKind kind, double hz, double q, int band, bool helper = false)
    {
        if (hz > 0 && hz < 0.49 * m_l.rate && m_l.sectionCount < MaxEqSections)
            m_l.sections[m_l.sectionCount++] = {kind, hz, q, band, helper};
    }
    bool Point(double hz, int band, double weight = 1)
    {
        if (!(hz > 0 && hz < MaxPointFraction * m_l.rate) || m_l.pointCount >= MaxEqPoints)
            return false;
        m_l.points[m_l.pointCount++] = {hz, band, weight};
        return true;
    }

private:
    EqLayout& m_l;
};

} // namespace

EqLayout LayOutBands(int count, const double* lowEdge, const double* highEdge, double rate)
{
    EqLayout l;
    l.count = std::clamp(count, 0, MaxEqBands);
    l.rate = rate;
    LayoutBuilder add(l);
    for (int k = 0; k < l.count; ++k) {
        const bool lowest = lowEdge[k] <= 0;
        const bool highest = !lowest && l.count > 1 && k == l.count - 1;
        l.centreHz[k] =
            lowest ? highEdge[k] / std::numbers::sqrt2 : std::sqrt(lowEdge[k] * highEdge[k]);
        l.active[k] = l.centreHz[k] < MaxCentreFraction * rate;
        if (!l.active[k])
            continue;
        if (lowest) {
            add.Section(SectionKind::LowShelf, LowHelperShelf * highEdge[k], LowHelperShelfQ, k,
                        true);
            add.Section(SectionKind::LowShelf, LowShelfCorner * highEdge[k], LowShelfQ, k);
            add.Section(SectionKind::Peak, LowHelperPeak * highEdge[k], LowHelperPeakQ, k, true);
            for (double f : LowPoints)
                add.Point(f * highEdge[k], k, LowPointWeight);
            add.Point(l.centreHz[k], k);
        } else if (highest) {
            // The helper takes part only where the rate leaves a point above the centre.
            add.Point(l.centreHz[k], k);
            bool beyond = add.Point(highEdge[k], k);
            for (double f : HighPoints)
                beyond = add.Point(f * lowEdge[k], k) || beyond;
            if (beyond)
                add.Section(SectionKind::HighShelf, HighHelperShelf * lowEdge[k], HighHelperShelfQ,
                            k, true);
            add.Section(SectionKind::HighShelf, HighShelfCorner * lowEdge[k], HighShelfQ, k);
        } else {
            add.Section(SectionKind::Peak, l.centreHz[k], PeakQ, k);
            add.Point(l.centreHz[k], k);
        }
    }
    return l;
}

Biquad DesignSection(const SectionShape& shape, double gainDb, double rate)
{
    if (gainDb == 0)
        return {};
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w0 = 2 * std::numbers::pi * shape.hz / rate;
    const double cw = std::cos(w0);
    const double alpha = std::sin(w0) / (2 * shape.q);
    double b0, b1, b2, a0, a1, a2;
    if (shape.kind == SectionKind::Peak) {
        b0 = 1 + alpha * a;
        b1 = -2 * cw;
        b2 = 1 - alpha * a;
        a0 = 1 + alpha / a;
        a1 = -2 * cw;
        a2 = 1 - alpha / a;
    } else {
        const double sa = 2 * std::sqrt(a) * alpha;
        const double sign = shape.kind == SectionKind::LowShelf ? 1.0 : -1.0;
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

SectionGains SolveSectionGains(const EqLayout& layout,
                               const std::array<double, MaxEqBands>& sliderDb)
{
    SectionGains gains{};
    bool allFlat = true;
    for (int m = 0; m < layout.pointCount; ++m)
        allFlat = allFlat && sliderDb[layout.points[m].band] == 0;
    const int n = layout.sectionCount;
    if (n == 0 || allFlat)
        return gains;

    // Gauss–Newton on the weighted misses: the first step takes each section's response per
    // dB at a prototype gain (the sections' interaction, as if linear in their gains), later
    // ones the slope at the gains found so far. A step that does not lower the misses is
    // retried with more damping (Levenberg–Marquardt); the fit stops when a step changes no
    // gain by more than a thousandth of a dB.
    PointValues miss{};
    double cost = Misses(layout, sliderDb, gains, miss);
    double damping = 1e-3;
    for (int step = 0; step < MaxSteps; ++step) {
        const double h = step == 0 ? PrototypeDb : SlopeStepDb;
        std::array<PointValues, MaxEqSections> slope{};
        for (int i = 0; i < n; ++i) {
            const PointValues up = ResponsesAt(layout, i, gains[i] + h);
            const PointValues down = ResponsesAt(layout, i, gains[i] - h);
            for (int m = 0; m < layout.pointCount; ++m)
                slope[i][m] = (up[m] - down[m]) / (2 * h);
        }
        Matrix normal{};
        Vector rhs{};
        for (int i = 0; i < n; ++i) {
            for (int m = 0; m < layout.pointCount; ++m)
                rhs[i] += layout.points[m].weight * slope[i][m] * miss[m];
            for (int j = 0; j <= i; ++j) {
                double s = 0;
                for (int m = 0; m < layout.pointCount; ++m)
                    s += layout.points[m].weight * slope[i][m] * slope[j][m];
                normal[i][j] = normal[j][i] = s;
            }
        }
        bool improved = false;
        double largest = 0;
        for (int attempt = 0; attempt < 6 && !improved; ++attempt, damping *= 10) {
            Matrix a = normal;
            Vector x = rhs;
            for (int i = 0; i < n; ++i)
                a[i][i] *= 1 + damping;
            if (!SolveLinear(a, x, n))
                break;
            Vector tried = gains;
            for (int i = 0; i < n; ++i)
                tried[i] = std::clamp(gains[i] + x[i], -MaxSectionDb, MaxSectionDb);
            PointValues triedMiss{};
            const double triedCost = Misses(layout, sliderDb, tried, triedMiss);
            if (triedCost < cost) {
                largest = 0;
                for (int i = 0; i < n; ++i)
                    largest = std::max(largest, std::abs(tried[i] - gains[i]));
                gains = tried;
                miss = triedMiss;
                cost = triedCost;
                improved = true;
                damping *= 0.03; // the loop's increment makes it 0.3 of what worked
            }
        }
        if (!improved || largest < 1e-3)
            break;
    }
    return gains;
}

std::array<Biquad, MaxEqSections> DesignCascade(const EqLayout& layout, const SectionGains& gainDb)
{
    std::array<Biquad, MaxEqSections> sections{};
    for (int i = 0; i < layout.sectionCount; ++i)
        sections[i] = DesignSection(layout.sections[i], gainDb[i], layout.rate);
    return sections;
}

} // namespace quillet::audio
