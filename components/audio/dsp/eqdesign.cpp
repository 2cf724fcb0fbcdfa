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
// Weight of the points midway between two centres against the centres themselves: they keep
// the curve between the centres smooth while the centres stay nearly exact.
constexpr double MidpointWeight = 0.3;
// Filter gains are kept within this range (the sliders reach ±16 dB; the solution for
// alternating extremes needs somewhat more).
constexpr double MaxFilterDb = 40.0;
constexpr int MaxPoints = 2 * MaxEqBands - 1;

// Solves the n × n system a·x = b in place (Gaussian elimination with partial pivoting).
// Returns false for a singular system.
template <size_t N>
bool SolveLinear(std::array<std::array<double, N>, N>& a, std::array<double, N>& b, int n)
{
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        if (std::abs(a[pivot][col]) < 1e-12)
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

struct Points {
    int count = 0;
    std::array<double, MaxPoints> hz{};
    std::array<double, MaxPoints> weight{};
    std::array<double, MaxPoints> target{};
};

// The centres of the active bands (ascending) and the geometric means between neighbours,
// with the slider gains as targets (the mean of the two neighbours between centres).
Points EvaluationPoints(const EqLayout& layout, const std::array<double, MaxEqBands>& sliderDb,
                        std::array<int, MaxEqBands>& order, int& activeCount)
{
    activeCount = 0;
    for (int k = 0; k < layout.count; ++k)
        if (layout.active[k])
            order[activeCount++] = k;
    std::sort(order.begin(), order.begin() + activeCount, [&](int x, int y) {
        return layout.shapes[x].centreHz < layout.shapes[y].centreHz;
    });
    Points p;
    for (int i = 0; i < activeCount; ++i) {
        const int k = order[i];
        if (i > 0) {
            const int prev = order[i - 1];
            p.hz[p.count] = std::sqrt(layout.shapes[prev].centreHz * layout.shapes[k].centreHz);
            p.weight[p.count] = MidpointWeight;
            p.target[p.count] = 0.5 * (sliderDb[prev] + sliderDb[k]);
            ++p.count;
        }
        p.hz[p.count] = layout.shapes[k].centreHz;
        p.weight[p.count] = 1.0;
        p.target[p.count] = sliderDb[k];
        ++p.count;
    }
    return p;
}

}  // namespace

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
    return shape.centreHz > 0 && shape.centreHz < MaxCentreFraction * rate &&
           shape.designHz > 0 && shape.designHz < 0.49 * rate;
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
    std::array<double, MaxEqBands> gains{};
    std::array<int, MaxEqBands> order{};
    int n = 0;
    const Points pts = EvaluationPoints(layout, sliderDb, order, n);
    bool allFlat = true;
    for (int i = 0; i < n; ++i)
        allFlat = allFlat && sliderDb[order[i]] == 0;
    if (n == 0 || allFlat)
        return gains;

    // Column i of the interaction matrix: the response of section order[i] at every point,
    // per dB of its gain. First at the prototype gain, then at the gains found so far.
    std::array<double, MaxEqBands> current{};
    for (int pass = 0; pass < 3; ++pass) {
        std::array<std::array<double, MaxPoints>, MaxEqBands> column{};
        for (int i = 0; i < n; ++i) {
            const int k = order[i];
            double g = pass == 0 ? PrototypeDb : current[i];
            if (std::abs(g) < 0.5)
                g = g < 0 ? -0.5 : 0.5;  // keep the column's shape measurable
            const Biquad s = DesignSection(layout.shapes[k], g, layout.rate);
            for (int m = 0; m < pts.count; ++m)
                column[i][m] = ResponseDb(s, pts.hz[m], layout.rate) / g;
        }
        // Normal equations of the weighted problem: (Bᵀ W B) g = Bᵀ W t.
        std::array<std::array<double, MaxEqBands>, MaxEqBands> normal{};
        std::array<double, MaxEqBands> rhs{};
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                double s = 0;
                for (int m = 0; m < pts.count; ++m)
                    s += pts.weight[m] * column[i][m] * column[j][m];
                normal[i][j] = s;
            }
            double s = 0;
            for (int m = 0; m < pts.count; ++m)
                s += pts.weight[m] * column[i][m] * pts.target[m];
            rhs[i] = s;
        }
        if (!SolveLinear(normal, rhs, n))
            break;
        for (int i = 0; i < n; ++i)
            current[i] = std::clamp(rhs[i], -MaxFilterDb, MaxFilterDb);
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

}  // namespace quillet::audio
